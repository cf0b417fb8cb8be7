// The editor's markers of the shipped new-scene template drawn by the rendering
// engine with the shipped materials, seen as the editor sees them (from the
// scene's camera along -z, scaled for its distance), over a sky-blue view: the
// field's centre, its see-through area, the start; once the field is selected,
// its handles, its stronger area and the console's lines over their dark band.
// The picture of the selected field is kept as
// test-artifacts/forcefields/editor-markers.png.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/filesystem.hpp>

#include "core/XmlFile.h"
#include "forcefields/BoundaryMarker.h"
#include "forcefields/CursorMarker.h"
#include "forcefields/ForceFieldMarker.h"
#include "forcefields/ForceFieldScene.h"
#include "forcefields/RadiusMarker.h"
#include "forcefields/IEditorDialogs.h"
#include "forcefields/StartingPosMarker.h"
#include "graphics/OgreWorld.h"
#include "graphics/ogre/OgreConsole.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "physics/WindMgr.h"
#include "support/CapturingLogMgr.h"
#include "support/Pictures.h"

using namespace sds;
using namespace sds::DovuvUvozeVozediza;

namespace {

const Ogre::ColourValue kSky(0.55f, 0.72f, 0.92f);
const Ogre::ColourValue kArea(1.0f, 0.8f, 0.2f);

xml::CNodePtr Load(const std::string& path)
{
    return xml::LoadXmlFile(path)->GetChildren().begin()->second;
}

class CNoDialogs : public IEditorDialogs
{
public:
    bool ShowCreateDialog(const xml::CNodePtr&) override { return false; }
    bool ShowEditDialog(const xml::CNodePtr&) override { return false; }
};

::testing::AssertionResult Near(const Ogre::ColourValue& expected, const Ogre::ColourValue& actual, float tolerance)
{
    if (std::fabs(expected.r - actual.r) <= tolerance && std::fabs(expected.g - actual.g) <= tolerance &&
        std::fabs(expected.b - actual.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.r << ", " << actual.g << ", " << actual.b << ") is not ("
                                         << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

class OgreMarkersPictureTest : public ::testing::Test
{
protected:
    OgreMarkersPictureTest()
        : m_Physics(physics::CPhyMgr::Create(Load("../data/physics/physics.xml"), Load("../conf/materials.conf"))),
          m_Scene(Load("../data/DovuvUvozeVozediza/default")),
          m_Console("ConsoleWnd", "ConsoleWnd/Console", 31, 5),
          m_Backdrop(m_World.Mgr().CreateOverlayed("ConsoleBackDrop"))
    {
        COgreTestEnvironment& env = COgreTestEnvironment::Get();
        env.m_Window->getViewport(0)->setBackgroundColour(kSky);
        // The editor's camera: at the scene's camera position, looking along -z.
        const CVector eye =
            m_Scene->GetChild("Preset")->GetChild("Camera")->GetAttribute("Pos")->GetValue<CVector>();
        Ogre::SceneNode* node = env.m_Camera->getParentSceneNode();
        node->setPosition(eye.x, eye.y, eye.z);
        node->setOrientation(Ogre::Quaternion::IDENTITY);
        m_CameraDistance = eye.z;
    }
    ~OgreMarkersPictureTest() override
    {
        m_Markers.clear();
        COgreTestEnvironment::Get().m_Window->getViewport(0)->setBackgroundColour(Ogre::ColourValue::Black);
    }

    // The editor's markers of the scene, scaled as in the editor's first frame.
    void CreateMarkers()
    {
        const xml::CNodePtr preset = m_Scene->GetChild("Preset");
        WindMgr().LoadRegions(preset->GetChild("Wind"));
        m_Cursor = std::make_shared<CCursorMarker>(preset->GetChild("Wind"), &m_Markers, &m_Selected, WindMgr(),
                                                   m_Dialogs);
        m_Markers.push_back(m_Cursor);
        ASSERT_EQ(1u, WindMgr().GetRegions().size());
        m_Field = std::make_shared<CForceFieldMarker>(WindMgr().GetRegions().front(), &m_Markers, &m_Selected,
                                                      WindMgr(), m_Dialogs);
        m_Markers.push_back(m_Field);
        m_Markers.push_back(std::make_shared<CStartingPosMarker>(preset->GetChild("Jumper")));
        m_Markers.push_back(std::make_shared<CMinYBoundaryMarker>(GetBoundaries(m_Scene)));
        for (const CMarkerPtr& marker : m_Markers)
            marker->SetScale(m_CameraDistance);
        m_Backdrop->SetVisible(true);
    }

    // As a left click on the field's centre selects it.
    void SelectField()
    {
        m_Selected = m_Field;
        m_Cursor->SetPos(m_Field->GetGfxObj()->GetPos());
        m_Cursor->Select();
        m_Field->Select();
    }

    physics::CWindMgr& WindMgr() { return static_cast<physics::CWindMgr&>(m_Physics->GetWindMgr()); }

    // Where a point of the scene shows in the window.
    std::pair<unsigned, unsigned> Pixel(const CVector& point, const CWindowPicture& picture) const
    {
        const Ogre::Camera& camera = *COgreTestEnvironment::Get().m_Camera;
        const Ogre::Vector3 ndc =
            camera.getProjectionMatrix() * (camera.getViewMatrix() * Ogre::Vector3(point.x, point.y, point.z));
        return {static_cast<unsigned>((ndc.x + 1.0f) * 0.5f * picture.Width),
                static_cast<unsigned>((1.0f - ndc.y) * 0.5f * picture.Height)};
    }
    Ogre::ColourValue ColourAt(const CVector& point, const CWindowPicture& picture) const
    {
        const auto pixel = Pixel(point, picture);
        return picture.At(pixel.first, pixel.second);
    }

    // Two frames: a text drawn for the first time shows from the second.
    CWindowPicture Draw()
    {
        COgreTestEnvironment& env = COgreTestEnvironment::Get();
        env.RenderFrame();
        env.RenderFrame();
        return CWindowPicture::Capture(*env.m_Window);
    }

    CCapturingLogMgr m_Log;
    COgreWorld m_World;
    std::shared_ptr<physics::CPhyMgr> m_Physics;
    xml::CNodePtr m_Scene;
    wrappers::COgreConsole m_Console;
    COverlayedPtr m_Backdrop;
    CNoDialogs m_Dialogs;
    float m_CameraDistance = 0.0f;
    CMarkers m_Markers;
    CMarkerPtr m_Selected;
    std::shared_ptr<CCursorMarker> m_Cursor;
    std::shared_ptr<CForceFieldMarker> m_Field;
};

bool IsYellow(const Ogre::ColourValue& c) { return c.r > 0.8f && c.g > 0.6f && c.b < 0.4f; }

} // namespace

TEST_F(OgreMarkersPictureTest, FieldShowsItsCentreAreaAndOnSelectionItsHandlesAndConsoleLines)
{
    ASSERT_NO_FATAL_FAILURE(CreateMarkers());
    const xml::CNodePtr field = m_Scene->GetChild("Preset")->GetChild("Wind")->GetChild("Region");
    const CVector centre = field->GetChild("Shape")->GetAttribute("Position")->GetValue<CVector>();
    const CVector radius1 = field->GetChildById("Radius", "1", ID_NAMES)->GetAttribute("Position")->GetValue<CVector>();
    // Inside the area, clear of the centre and the handles.
    const CVector inArea = centre + CVector(-15, -35, 0);
    const CVector start =
        m_Scene->GetChild("Preset")->GetChild("Jumper")->GetAttribute("Position")->GetValue<CVector>();

    const CWindowPicture unselected = Draw();
    EXPECT_TRUE(IsYellow(ColourAt(centre, unselected))) << "the field's centre";
    const Ogre::ColourValue lightTint = kSky * 0.85f + kArea * 0.15f;
    EXPECT_TRUE(Near(lightTint, ColourAt(inArea, unselected), 0.04f)) << "the area is a light see-through tint";
    EXPECT_TRUE(Near(lightTint, ColourAt(radius1, unselected), 0.04f)) << "handles are hidden until selection";
    EXPECT_TRUE(Near(kSky, ColourAt(centre + CVector(0, 60, 0), unselected), 0.02f)) << "the sky above the area";
    const Ogre::ColourValue startColour = ColourAt(start, unselected);
    EXPECT_TRUE(startColour.b > 0.8f && startColour.r < 0.4f) << "the start marker is blue";

    SelectField();
    CWindowPicture selected = Draw();
    const std::string folder = std::string(SDS_TEST_ARTIFACT_DIR) + "/forcefields";
    boost::filesystem::create_directories(folder);
    selected.Keep(folder + "/editor-markers.png");

    EXPECT_TRUE(IsYellow(ColourAt(centre, selected))) << "the field's centre in front of the cursor";
    const Ogre::ColourValue handle1 = ColourAt(radius1, selected);
    EXPECT_TRUE(handle1.r > 0.8f && handle1.g < 0.4f) << "handle 1 is red";
    EXPECT_TRUE(Near(lightTint, ColourAt(inArea, selected), 0.04f)) << "the area keeps its tint";

    // The console's three lines over its dark band at the top of the view.
    const unsigned band = static_cast<unsigned>(0.12f * selected.Height);
    EXPECT_TRUE(Near(kSky * 0.45f, selected.At(selected.Width - 20, band / 2), 0.04f)) << "the band darkens the view";
    std::vector<unsigned> inkRows;
    for (unsigned y = 0; y < selected.Height / 3; ++y) {
        unsigned ink = 0;
        for (unsigned x = 0; x < selected.Width; ++x) {
            const Ogre::ColourValue c = selected.At(x, y);
            ink += c.r > 0.75f && c.g > 0.75f && c.b > 0.75f;
        }
        if (ink > 2)
            inkRows.push_back(y);
    }
    ASSERT_FALSE(inkRows.empty()) << "no console text";
    EXPECT_LT(inkRows.back(), band) << "every line lies over the band";
    unsigned lines = 1;
    for (std::size_t i = 1; i < inkRows.size(); ++i)
        lines += inkRows[i] > inkRows[i - 1] + 2;
    EXPECT_EQ(3u, lines) << "lines 0 to 2, apart";

    // The size handle selected: its area stands out more, still seen through.
    m_Field->Deselect();
    m_Field->GetHandles().back()->Select();
    EXPECT_TRUE(Near(kSky * 0.65f + kArea * 0.35f, ColourAt(inArea, Draw()), 0.04f)) << "a stronger tint";
}
