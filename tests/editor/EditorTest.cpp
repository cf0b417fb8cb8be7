#include <gtest/gtest.h>

#include "app/EngineWorld.h"
#include "core/XmlFile.h"
#include "editor/Editor.h"
#include "forcefields/BoundaryMarker.h"
#include "forcefields/CursorMarker.h"
#include "forcefields/ForceFieldMarker.h"
#include "forcefields/ForceFieldScene.h"
#include "forcefields/RadiusMarker.h"
#include "forcefields/IEditorLevel.h"
#include "forcefields/IEditorSimObj.h"
#include "graphics/memory/MemCamera.h"
#include "graphics/memory/MemConsole.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "support/VectorNear.h"

using namespace sds;
using namespace sds::DovuvUvozeVozediza;

namespace {

xml::CNodePtr Load(const std::string& name)
{
    return xml::LoadXmlFile(std::string(SDS_SOURCE_DIR) + "/tests/physics/fixtures/" + name)
        ->GetChildren()
        .begin()
        ->second;
}

const char* const kRegion = "<Region><Shape Position='0,50,0' Orientation='1,0,0,0' Size='100,100,100'/>"
                            "<Radius Name='1' Position='10,50,0'>10</Radius>"
                            "<Radius Name='2' Position='0,60,0'>10</Radius>"
                            "<Radius Name='3' Position='-10,50,0'>10</Radius>"
                            "<Function>function CalculateForce() return CVector(1, 0, 0) end</Function>"
                            "<Description>Pushes. Right.</Description></Region>";

class CFakeSimObj : public IEditorSimObj
{
public:
    explicit CFakeSimObj(const CGfxObjPtr& gfx) : m_Gfx(gfx) {}
    CGfxObjPtr GetGfxObj() const override { return m_Gfx; }
    void SetGfxDriven(bool gfxDriven) override { m_GfxDriven = gfxDriven; }
    CGfxObjPtr m_Gfx;
    bool m_GfxDriven = false;
};

class CFakeLevel : public IEditorLevel
{
public:
    CFakeLevel(const std::string& regions)
        : m_World(physics::CPhyMgr::Create(Load("physics.xml"), Load("materials.conf"))),
          m_Tree(xml::LoadXmlFromMemory("<scene FullName='Test'><Preset><Jumper Position='-80,60,0' Create='1'/>"
                                        "<Camera Pos='0,40,200'/><Wind>" +
                                            regions +
                                            "</Wind></Preset>"
                                            "<Target Position='70,0,0'/><Target Position='500,0,0'/>"
                                            "<BoundingBox Name='Boundaries' MinCorner='-100,0,0' MaxCorner='100,80,0'>"
                                            "<Mesh Mesh='BoundaryWall'/></BoundingBox></scene>",
                                        "Test.ForceFields"))
    {
        xml::ForEachChild(*Scene()->GetChild("Preset")->GetChild("Wind"), "Region", [this](const xml::CNodePtr& r) {
            m_World->GetWindMgr().GetRegions().push_back(m_World->GetWindMgr().CreateRegion(r));
        });
    }

    xml::CNodePtr Scene() const { return m_Tree->GetChild("scene"); }
    xml::CNodePtr GetSceneTree() const override { return m_Tree; }
    void SetEditFlag(bool editing) override { m_Editing = editing; }
    physics::IWindMgr& GetWindMgr() override { return m_World->GetWindMgr(); }
    // Only the first target has an object in the level.
    std::shared_ptr<IEditorSimObj> GetNearestSimObj(const CVector& point) override
    {
        if (point.x > 100)
            return nullptr;
        m_Target = std::make_shared<CFakeSimObj>(IGfxMgr::GetSingleton()->CreateObject("Cube", CGfxObjPtr()));
        m_Target->GetGfxObj()->SetPos(point);
        return m_Target;
    }
    void OnUpdate(const CTiming&) override { ++m_Updates; }

    std::shared_ptr<physics::CPhyMgr> m_World;
    xml::CNodePtr m_Tree;
    std::shared_ptr<CFakeSimObj> m_Target;
    bool m_Editing = false;
    int m_Updates = 0;
};

class CFakeScreens : public IEditorScreens
{
public:
    bool GoToEditorMenu() override
    {
        m_Calls.push_back("EditorMenu");
        return true;
    }
    bool GoToCreateForceField(const xml::CNodePtr&) override
    {
        m_Calls.push_back("Create");
        return true;
    }
    bool GoToEditForceField(const xml::CNodePtr& field) override
    {
        m_Calls.push_back("Edit");
        if (m_DeleteOnEdit)
            field->GetParent()->RemoveChild(field);
        return true;
    }
    std::shared_ptr<IOnScreenMenu> CreateEditMenuOnScreen() override { return nullptr; }

    std::vector<std::string> m_Calls;
    bool m_DeleteOnEdit = false;
};

class EditorTest : public ::testing::Test
{
protected:
    explicit EditorTest(const std::string& regions = kRegion) : m_Level(regions)
    {
        m_World.m_Gfx.SetAllowUnknownMeshes(true);
        m_World.m_Gfx.DefineOverlay("ConsoleBackDrop", {});
        m_World.m_Gfx.CreateCamera();
        m_Engine = m_World.MakeEngine("MainMenu");
        m_Editor = std::make_unique<CEditor>(m_Engine.get(), m_Screens);
        m_Editor->SetLevel(&m_Level);
        // The side view: the viewport maps onto the plane z = 0, 200 m across.
        Camera().m_ViewportToPlane = [](float x, float y) { return CVector(200 * x - 100, 100 - 200 * y, 0); };
    }

    CMemCamera& Camera() { return dynamic_cast<CMemCamera&>(*m_World.m_Gfx.GetCamera()); }

    void Mouse(float x, float y)
    {
        CAnalogEvent event;
        event.Pos[0] = x;
        event.Pos[1] = y;
        m_World.m_Events->FireAnalogEvent(event);
    }
    // Moves the mouse onto the world point of the plane.
    void MouseAt(const CVector& point) { Mouse((point.x + 100) / 200, (100 - point.y) / 200); }
    void Button(std::int32_t type, std::int32_t key) { m_World.Key(type, key); }
    void Click(std::int32_t key)
    {
        Button(EVENT_KEY_PRESSED, key);
        Button(EVENT_KEY_RELEASED, key);
    }
    // The next pick hits the marker's graphic object; as the rendering engine's
    // ray query does, the hit names the entity, not the object's node.
    void Aim(const CMarkerPtr& marker)
    {
        ICamera::CPickResult hit;
        hit.m_Name = marker->GetGfxObj()->GetEntityName();
        Camera().m_Hits = {hit};
        MouseAt(marker->GetGfxObj()->GetPos());
    }
    template <class Marker>
    std::shared_ptr<Marker> Find() const
    {
        for (const CMarkerPtr& marker : m_Editor->GetMarkers())
            if (auto found = std::dynamic_pointer_cast<Marker>(marker))
                return found;
        return nullptr;
    }
    void Frame(float cameraZ)
    {
        Camera().m_Pos.z = cameraZ;
        m_Editor->OnUpdate(CTiming());
    }

    static const std::int32_t kLeft = MOUSE_BUTTON_KEY_BASE;
    static const std::int32_t kRight = MOUSE_BUTTON_KEY_BASE + 1;
    static const std::int32_t kMiddle = MOUSE_BUTTON_KEY_BASE + 2;

    CEngineWorld m_World;
    CMemConsole m_Console;
    CFakeLevel m_Level;
    CFakeScreens m_Screens;
    std::unique_ptr<CEngine> m_Engine;
    std::unique_ptr<CEditor> m_Editor;
};

} // namespace

TEST_F(EditorTest, EnteringShowsEveryEditableThingWithNothingSelected)
{
    m_Editor->Enter();
    // Cursor; four handles and the field; one target (the other has no object); start; four sides.
    EXPECT_EQ(1u + 5 + 1 + 1 + 4, m_Editor->GetMarkers().size());
    EXPECT_TRUE(m_World.m_Log.HasContaining("Warning: The target at 500,0,0 has no object in the level"));
    EXPECT_FALSE(m_Editor->GetSelected());
    EXPECT_TRUE(m_Level.m_Editing);
    EXPECT_EQ(65, Camera().m_Mode);
    EXPECT_VECTOR_NEAR(CVector(0, 40, 200), Camera().m_Pos, 1e-5f);
    EXPECT_TRUE(m_World.m_Gui->m_CursorVisible);
    // The size handle writes the area's depth at once.
    EXPECT_EQ("100,100,20", m_Level.Scene()->GetChild("Preset")->GetChild("Wind")->GetChild("Region")
                                ->GetChild("Shape")->GetAttribute("Size")->GetValue());

    m_Editor->Exit();
    EXPECT_TRUE(m_Editor->GetMarkers().empty());
    EXPECT_FALSE(m_Level.m_Editing);
    EXPECT_FALSE(m_World.m_Gui->m_CursorVisible);
}

TEST_F(EditorTest, MarkersRescaleWhenTheCameraHasMovedFarEnoughSinceTheLastRescale)
{
    m_Editor->Enter();
    const auto cursor = Find<CCursorMarker>();
    Frame(200);
    EXPECT_VECTOR_NEAR(CVector(8, 8, 1), cursor->GetGfxObj()->GetScale(), 1e-5f);
    // Slow zooms add up.
    for (int i = 1; i <= 4; ++i)
        Frame(200 + 0.04f * i);
    EXPECT_NEAR(8.0f * 200.12f / 200, cursor->GetGfxObj()->GetScale().x, 1e-4f);
    Frame(0.5f);
    EXPECT_VECTOR_NEAR(CVector(4, 4, 0.5f), cursor->GetGfxObj()->GetScale(), 1e-5f);
    EXPECT_EQ(6, m_Level.m_Updates);
}

TEST_F(EditorTest, DragMovesOnlyWhatWasPickedAndSavesOnRelease)
{
    m_Editor->Enter();
    const auto minX = Find<CMinXBoundaryMarker>();
    const xml::CNodePtr box = GetBoundaries(m_Level.Scene());

    // Press and release without moving: nothing is written.
    Aim(minX);
    Click(kLeft);
    EXPECT_EQ(minX, m_Editor->GetSelected());
    EXPECT_EQ("-100,0,0", box->GetAttribute("MinCorner")->GetValue());

    Button(EVENT_KEY_PRESSED, kLeft);
    MouseAt(CVector(-90, 30, 0));
    EXPECT_EQ("New Pos=-90,30,0; Offset=10,-10,0; Distance=14.1421", m_Console.GetLine(1));
    Button(EVENT_KEY_RELEASED, kLeft);
    EXPECT_EQ("-90,0,0", box->GetAttribute("MinCorner")->GetValue());
    EXPECT_EQ("100,80,0", box->GetAttribute("MaxCorner")->GetValue());
    EXPECT_EQ("", m_Console.GetLine(1));

    // A press on nothing, released, leaves no drag for the next right-click pick.
    Camera().m_Hits.clear();
    Click(kLeft);
    const auto field = Find<CForceFieldMarker>();
    Aim(field);
    Click(kRight);
    EXPECT_EQ(field, m_Editor->GetSelected());
    MouseAt(CVector(30, 30, 0));
    EXPECT_VECTOR_NEAR(CVector(0, 50, 0), field->GetGfxObj()->GetPos(), 1e-5f);
}

TEST_F(EditorTest, PickingEmptySpaceMovesTheCursorThere)
{
    m_Editor->Enter();
    const auto field = Find<CForceFieldMarker>();
    const auto handle = field->GetHandles().front(); // hidden until its field is selected
    Aim(handle);
    MouseAt(CVector(20, 10, 0));
    Button(EVENT_KEY_PRESSED, kRight);
    const auto cursor = Find<CCursorMarker>();
    EXPECT_EQ(CMarkerPtr(cursor), m_Editor->GetSelected());
    EXPECT_VECTOR_NEAR(CVector(20, 10, 0), cursor->GetGfxObj()->GetPos(), 1e-5f);
    EXPECT_EQ("Right click to show Create dialog.", m_Console.GetLine(0));
    Button(EVENT_KEY_RELEASED, kRight);
    EXPECT_EQ(std::vector<std::string>{"Create"}, m_Screens.m_Calls);
}

TEST_F(EditorTest, EscapeAndTheMiddleButtonOpenTheMenuOnRelease)
{
    m_Editor->Enter();
    for (std::int32_t key : {1, int(kMiddle)}) {
        const std::size_t before = m_Screens.m_Calls.size();
        Button(EVENT_KEY_PRESSED, key);
        EXPECT_EQ(before, m_Screens.m_Calls.size());
        Button(EVENT_KEY_RELEASED, key);
    }
    EXPECT_EQ((std::vector<std::string>{"EditorMenu", "EditorMenu"}), m_Screens.m_Calls);

    // Paused under a screen the editor hears nothing.
    m_Editor->Pause();
    Click(1);
    EXPECT_EQ(2u, m_Screens.m_Calls.size());
    m_Editor->Resume();
    Click(1);
    EXPECT_EQ(3u, m_Screens.m_Calls.size());
}

TEST_F(EditorTest, AButtonReleasedWhileTheEditorIsCoveredEndsItsDrag)
{
    // The on-screen menu button: its press reaches the editor (nothing there is
    // picked, the cursor comes), its release is the button's click, which
    // covers the editor with its menu before the editor hears the release.
    m_Editor->Enter();
    Aim(Find<CForceFieldMarker>()->GetHandles().front()); // hidden: no marker is hit
    MouseAt(CVector(80, 90, 0));
    Button(EVENT_KEY_PRESSED, kLeft);
    const auto cursor = Find<CCursorMarker>();
    ASSERT_EQ(CMarkerPtr(cursor), m_Editor->GetSelected());
    m_Editor->Pause();
    Button(EVENT_KEY_RELEASED, kLeft);
    m_Editor->Resume(); // "Continue editing"
    // No button is held: the cursor stays.
    MouseAt(CVector(-20, 40, 0));
    EXPECT_VECTOR_NEAR(CVector(80, 90, 0), cursor->GetGfxObj()->GetPos(), 1e-5f);
    EXPECT_EQ("", m_Console.GetLine(1));

    // A drag under way when the editor is covered keeps where it was moved to.
    const auto minX = Find<CMinXBoundaryMarker>();
    Aim(minX);
    Button(EVENT_KEY_PRESSED, kLeft);
    MouseAt(CVector(-90, 30, 0));
    m_Editor->Pause();
    Button(EVENT_KEY_RELEASED, kLeft);
    m_Editor->Resume();
    EXPECT_EQ("-90,0,0", GetBoundaries(m_Level.Scene())->GetAttribute("MinCorner")->GetValue());
    MouseAt(CVector(-50, 30, 0));
    EXPECT_FLOAT_EQ(-90.0f, minX->GetGfxObj()->GetPos().x);
}

TEST_F(EditorTest, FieldDeletedInItsDialogLeavesTheEditor)
{
    m_Editor->Enter();
    m_Screens.m_DeleteOnEdit = true;
    const std::size_t before = m_Editor->GetMarkers().size();
    Aim(Find<CForceFieldMarker>());
    Click(kRight);
    // The dialog pauses the editor; back from it the field is gone.
    m_Editor->Pause();
    m_Editor->Resume();
    EXPECT_EQ(before - 5, m_Editor->GetMarkers().size());
    EXPECT_FALSE(m_Editor->GetSelected());
    EXPECT_FALSE(Find<CForceFieldMarker>());
    EXPECT_TRUE(m_Level.GetWindMgr().GetRegions().empty());
    // The next visit back selects the cursor.
    m_Editor->Pause();
    m_Editor->Resume();
    EXPECT_EQ(CMarkerPtr(Find<CCursorMarker>()), m_Editor->GetSelected());
}

class EditorBadSceneTest : public EditorTest
{
protected:
    EditorBadSceneTest() : EditorTest("<Region><Shape Position='0,0,0' Size='1,1,1'/></Region>" + std::string(kRegion)) {}
};

TEST_F(EditorBadSceneTest, MalformedFieldGetsNoMarkerAndTheEditorStillOpens)
{
    m_Editor->Enter();
    EXPECT_TRUE(m_World.m_Log.HasContaining("Error: A force field the editor cannot show gets no marker"));
    EXPECT_EQ(1u + 5 + 1 + 1 + 4, m_Editor->GetMarkers().size());

    // A scene without what the editor needs fails before anything changes.
    m_Editor->Exit();
    const xml::CNodePtr scene = m_Level.Scene();
    scene->RemoveChild(GetBoundaries(scene));
    EXPECT_THROW(m_Editor->Enter(), xml::CNoNodeException);
    EXPECT_FALSE(m_Level.m_Editing);
    EXPECT_TRUE(m_Editor->GetMarkers().empty());
}
