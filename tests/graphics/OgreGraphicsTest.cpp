#include <malloc.h>

#include <gtest/gtest.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreSkeletonManager.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/Overlay/OgreOverlayContainer.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

#include "GeneratedObjectTests.h"
#include "GfxObjectModelTests.h"
#include "MemWorld.h"
#include "OgreWorld.h"
#include "SkeletonAnimationTests.h"
#include "TerrainRayTests.h"
#include "graphics/TrajectoryDisplay.h"
#include "graphics/ogre/InitProgressBar.h"
#include "graphics/ogre/LoadingProgressBar.h"
#include "graphics/ogre/OgreConsole.h"
#include "graphics/ogre/OgreFader.h"
#include "support/CapturingLogMgr.h"
#include "support/FakeEventMgr.h"

// The same behaviour from the rendering engine and from the in-memory stand-in.
typedef ::testing::Types<COgreWorld, CMemWorld> CWorlds;
INSTANTIATE_TYPED_TEST_SUITE_P(Both, SkeletonAnimationTest, CWorlds);
INSTANTIATE_TYPED_TEST_SUITE_P(Ogre, GfxObjectModelTest, COgreWorld);
INSTANTIATE_TYPED_TEST_SUITE_P(Ogre, TerrainRayTest, COgreWorld);
INSTANTIATE_TYPED_TEST_SUITE_P(Ogre, GeneratedObjectTest, COgreWorld);

namespace {

class OgreGfxTest : public ::testing::Test
{
protected:
    COgreTestEnvironment& Env() { return COgreTestEnvironment::Get(); }
    Ogre::Overlay* Overlay(const std::string& name) { return Ogre::OverlayManager::getSingleton().getByName(name); }

    COgreWorld m_World;
};

// A manager made from a "Scene" element, for the configuration cases.
class OgreGfxConfigTest : public ::testing::Test
{
protected:
    ~OgreGfxConfigTest() override
    {
        Ogre::SceneManager* level = COgreTestEnvironment::Get().m_Level;
        level->setShadowTechnique(Ogre::SHADOWTYPE_NONE);
        level->setAmbientLight(Ogre::ColourValue::Black);
        COgreTestEnvironment::Get().ResetLevelScene();
    }

    COgreTestEnvironment& Env() { return COgreTestEnvironment::Get(); }

    std::unique_ptr<wrappers::COgreGfxMgr> Make(const std::string& sceneXml)
    {
        m_App.m_Config = xml::CNodePtr(new xml::CNode("sds", false));
        if (!sceneXml.empty())
            m_App.m_Config->AddChild(xml::CNode::Clone(
                xml::LoadXmlFromMemory(sceneXml, "scene")->GetChild("Scene"), m_App.m_Config.get()));
        COgreTestEnvironment& env = COgreTestEnvironment::Get();
        return std::unique_ptr<wrappers::COgreGfxMgr>(new wrappers::COgreGfxMgr(env.m_Window, env.m_Level, &m_App));
    }

    CFakeApplication m_App;
};

} // namespace

TEST_F(OgreGfxConfigTest, SceneSetsAmbientLightAndShadows)
{
    struct Case
    {
        const char* xml;
        Ogre::ShadowTechnique technique;
    };
    const Case cases[] = {
        {"<Scene AmbientColor='0.25, 0.5, 0.75'/>", Ogre::SHADOWTYPE_NONE},
        {"<Scene AmbientColor='0.25, 0.5, 0.75'><Shadows Type='None'/></Scene>", Ogre::SHADOWTYPE_NONE},
        {"<Scene AmbientColor='0.25, 0.5, 0.75'><Shadows Type='StencilModulative' ShadowColor='0.9, 0.9, 0.9' "
         "ShadowDistance='1000' Debug='false'/></Scene>",
         Ogre::SHADOWTYPE_STENCIL_MODULATIVE},
        {"<Scene AmbientColor='0.25, 0.5, 0.75'><Shadows Type='textureadditive' ShadowColor='0.9, 0.9, 0.9' "
         "ShadowDistance='500' Debug='true'/></Scene>",
         Ogre::SHADOWTYPE_NONE},
    };
    for (const Case& c : cases) {
        auto mgr = Make(c.xml);
        Ogre::SceneManager* level = Env().m_Level;
        EXPECT_EQ(c.technique, level->getShadowTechnique()) << c.xml;
        EXPECT_EQ(Ogre::ColourValue(0.25f, 0.5f, 0.75f, 1.0f), level->getAmbientLight()) << c.xml;
        mgr.reset();
        level->setShadowTechnique(Ogre::SHADOWTYPE_NONE);
    }
    // An unknown type still applies the other keys.
    auto mgr = Make("<Scene AmbientColor='1,1,1'><Shadows Type='Unknown' ShadowColor='0.1, 0.2, 0.3' "
                    "ShadowDistance='250' Debug='false'/></Scene>");
    EXPECT_EQ(Ogre::ColourValue(0.1f, 0.2f, 0.3f, 1.0f), Env().m_Level->getShadowColour());
    EXPECT_FLOAT_EQ(250.0f, Env().m_Level->getShadowFarDistance());
}

TEST_F(OgreGfxConfigTest, MissingKeysFailTheConstruction)
{
    EXPECT_THROW(Make(""), xml::CNoNodeException);
    EXPECT_THROW(Make("<Scene/>"), xml::CNoNodeException);
    EXPECT_THROW(Make("<Scene AmbientColor='1,1,1'><Shadows Type='StencilAdditive'/></Scene>"), xml::CNoNodeException);
    // The singleton is free again after a failed construction.
    EXPECT_EQ(nullptr, sds::IGfxMgr::GetSingleton());
}

TEST_F(OgreGfxConfigTest, DestructionLogsOneLine)
{
    CCapturingLogMgr log;
    Make("<Scene AmbientColor='1,1,1'/>").reset();
    EXPECT_EQ(std::vector<std::string>{"GfxMgr is destroyed"}, log.m_Lines);
}

TEST_F(OgreGfxTest, PartsNotYetBuiltSaySo)
{
    sds::IGfxMgr& mgr = m_World.Mgr();
    EXPECT_EQ(nullptr, mgr.GetCamera());
    mgr.UpdateCamera(sds::CTiming());
    mgr.GetSurfaceObjectsAround(sds::CVector(), 10.0f, 1.0f);
    EXPECT_TRUE(mgr.GetObjectQueue().empty());
    const xml::CNodePtr node(new xml::CNode("Zone", false));
    EXPECT_THROW(mgr.LoadZone(node, sds::LoadingProgressCallback()), sds::CException);
}

TEST_F(OgreGfxTest, TakenEntityNameGetsAUniqueOne)
{
    Env().m_Level->createEntity("Clash.Entity", "Cube.mesh");
    const sds::CGfxObjPtr object = m_World.Mgr().GetRootObject()->CreateChild("Clash", "Cube");
    EXPECT_EQ("Clash", object->GetName());
    EXPECT_NE("Clash.Entity", object->GetEntityName());
    // A mesh that does not exist is the rendering engine's error.
    EXPECT_THROW(m_World.Mgr().CreateObject("NoSuchMesh", nullptr), Ogre::Exception);
}

TEST_F(OgreGfxTest, EntityQueryFlagsAndMaterialCopies)
{
    const sds::CGfxObjPtr cube = m_World.Mgr().CreateObject("Cube", nullptr);
    Ogre::Entity* entity = Env().m_Level->getEntity(cube->GetEntityName());
    EXPECT_EQ(4u, entity->getQueryFlags());

    sds::CFourFloats red;
    red.ParseQuaternion("1,0,0,1");
    cube->SetMaterial("Dravonkel/Default", true);
    cube->SetSubEntityColour(0, red);
    const Ogre::MaterialPtr own = Ogre::MaterialManager::getSingleton().getByName(cube->GetSubEntityMaterialName(0));
    const Ogre::MaterialPtr shared = Ogre::MaterialManager::getSingleton().getByName("Dravonkel/Default");
    EXPECT_EQ(Ogre::ColourValue(1, 0, 0, 1), own->getTechnique(0)->getPass(0)->getDiffuse());
    EXPECT_NE(Ogre::ColourValue(1, 0, 0, 1), shared->getTechnique(0)->getPass(0)->getDiffuse());

    try {
        cube->SetSubEntityTexture("White.dds", 0);
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("Material must have a texture unit"));
    }
}

TEST_F(OgreGfxTest, ScenesResetLeaveOldObjectsHarmless)
{
    sds::CGfxObjPtr survivor = m_World.Mgr().CreateObject("Cube", nullptr);
    auto oldBatch = m_World.Mgr().CreateStaticGeometry("Batch");
    m_World.Ogre().ResetScene();
    // Only the window's camera hangs in the new scene, on a node of its own.
    ASSERT_EQ(1, m_World.Mgr().GetRootObject()->GetNumChildren());
    EXPECT_EQ(Env().m_Camera->getParentSceneNode(), Env().m_Level->getRootSceneNode()->getChildren().front());
    survivor.reset();
    EXPECT_TRUE(m_World.Mgr().CreateObject("Cube", nullptr));

    // The reset destroyed the old batch: letting it go leaves the new scene's own alone.
    EXPECT_FALSE(Env().m_Level->hasStaticGeometry("Batch"));
    auto newBatch = m_World.Mgr().CreateStaticGeometry("Batch");
    oldBatch.reset();
    EXPECT_TRUE(Env().m_Level->hasStaticGeometry("Batch"));
}

TEST_F(OgreGfxTest, ClearedNodesAreLetGoByTheirObjects)
{
    sds::IGfxMgr& mgr = m_World.Mgr();
    sds::CGfxObjPtr branch = mgr.GetRootObject()->CreateChild("Branch", ">novis");
    sds::CGfxObjPtr leaf = branch->CreateChild("Leaf", "Cube");
    const std::string leafEntity = leaf->GetEntityName();
    mgr.ClearScene("Branch");
    EXPECT_FALSE(Env().m_Level->hasSceneNode("Branch"));
    EXPECT_FALSE(Env().m_Level->hasSceneNode("Leaf"));
    EXPECT_FALSE(mgr.FindObject("Leaf"));
    // The objects live on without the destroyed nodes; the leaf's entity goes with it.
    EXPECT_EQ("", branch->GetName());
    EXPECT_EQ(leafEntity, leaf->GetName());
    leaf.reset();
    branch.reset();
    EXPECT_FALSE(Env().m_Level->hasEntity(leafEntity));
    EXPECT_TRUE(mgr.GetRootObject()->CreateChild("Branch", "Cube"));
    EXPECT_THROW(mgr.ClearScene("NoSuchNode"), Ogre::Exception);
}

TEST_F(OgreGfxTest, TrajectoryMeshIsBuilt)
{
    sds::CTrajectoryDisplay display;
    display.m_NamePrefix = "Trajectory";
    display.m_MeshName = "UnitArrow";
    display.m_Colour = "0.2,0.6,1";
    display.m_Points = {{0, 10, 0}, {1, 8, 0}, {2, 5, 0}, {2, 0, 0}};
    display.BuildTrajectoryMesh();
    ASSERT_TRUE(display.m_StaticGeometry);
    EXPECT_TRUE(display.m_StaticGeometry->IsVisible());
    EXPECT_EQ(sds::CVector(0, 5, 0), display.m_BoundingBox.m_Min);
    Env().RenderFrame();
}

TEST_F(OgreGfxTest, OverlaysShowWhileTheirObjectLives)
{
    sds::IGfxMgr& mgr = m_World.Mgr();
    try {
        mgr.CreateOverlayed("NoSuchOverlay");
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ("Overlay 'NoSuchOverlay' was not found", e.what());
    }

    Overlay("FPSOverlay")->show();
    {
        const sds::COverlayedPtr fps = mgr.CreateOverlayed("FPSOverlay");
        EXPECT_TRUE(fps->IsVisible());
        sds::IOverlayElement* text = fps->GetElement("FPSOverlay/Text");
        EXPECT_EQ(text, fps->GetElement("FPSOverlay/Text"));
        text->SetCaption("FPS: 60");
        EXPECT_EQ("FPS: 60", text->GetCaption());
        EXPECT_FLOAT_EQ(200.0f, text->GetWidth());
        EXPECT_ANY_THROW(fps->GetElement("FPSOverlay/NoSuchElement"));
    }
    EXPECT_FALSE(Overlay("FPSOverlay")->isVisible());

    mgr.ShowOverlay(true);
    EXPECT_TRUE(Overlay("FPSOverlay")->isVisible());
    mgr.ShowOverlay(false);
    EXPECT_FALSE(Overlay("FPSOverlay")->isVisible());
}

TEST_F(OgreGfxTest, LoadingBarFillsItsStagesAndShowsOnlyOverlays)
{
    Ogre::SceneManager* level = Env().m_Level;
    {
        auto bar = m_World.Mgr().CreateLoadingProgressBar("LevelLoadingProgressBar");
        auto& drawn = dynamic_cast<wrappers::CLoadingProgressBar&>(*bar);
        EXPECT_EQ(Ogre::SceneManager::SCRQM_INCLUDE, level->getSpecialCaseRenderQueueMode());
        EXPECT_TRUE(level->isRenderQueueToBeProcessed(Ogre::RENDER_QUEUE_OVERLAY));
        EXPECT_FALSE(level->isRenderQueueToBeProcessed(Ogre::RENDER_QUEUE_MAIN));
        const float full = drawn.GetFullWidth();
        ASSERT_GT(full, 0.0f);
        bar->SetProgress("Creating graphical scene", 0.5f);
        EXPECT_FLOAT_EQ(0.0f, drawn.GetFilledWidth());
        bar->SetStepProgress("Terrain", 0.5f);
        EXPECT_FLOAT_EQ(full * 0.25f, drawn.GetFilledWidth());
        bar->SetProgress("Creating physical scene", 0.5f);
        EXPECT_FLOAT_EQ(full * 0.5f, drawn.GetFilledWidth());
        EXPECT_EQ("Creating physical scene",
                  Ogre::OverlayManager::getSingleton()
                      .getOverlayElement("LevelLoadingProgressBar/LoadPanel/Description")
                      ->getCaption()
                      .asUTF8());
    }
    EXPECT_TRUE(level->isRenderQueueToBeProcessed(Ogre::RENDER_QUEUE_MAIN));
    EXPECT_FALSE(Overlay("LevelLoadingProgressBar")->isVisible());

    try {
        m_World.Mgr().CreateLoadingProgressBar("NoSuchOverlay");
        FAIL() << "no exception";
    } catch (const Ogre::Exception& e) {
        EXPECT_EQ("Cannot find loading overlay", e.getDescription());
    }
}

TEST_F(OgreGfxTest, ConsoleDrawsItsLinesIntoTheElement)
{
    CCapturingLogMgr log;
    xml::CNodePtr config =
        xml::LoadXmlFile("../conf/conf.xml")->GetChild("sds")->GetChild("Application")->GetChild("Console");
    {
        wrappers::COgreConsole console(config);
        EXPECT_EQ(31u, console.GetMaxLines());
        EXPECT_EQ(5u, console.GetFixedLines());
        EXPECT_TRUE(Overlay("ConsoleWnd")->isVisible());
        console.Clear();
        console.SetFixedLine(0, "Altitude 1000 m");
        console.Print("Canopy open");
        const std::string caption =
            Ogre::OverlayManager::getSingleton().getOverlayElement("ConsoleWnd/Console")->getCaption().asUTF8();
        EXPECT_EQ(console.GetText(), caption);
        EXPECT_EQ(0u, caption.find("Altitude 1000 m\n"));
        EXPECT_EQ(&console, sds::IConsole::GetSingleton());
    }
    EXPECT_FALSE(Overlay("ConsoleWnd")->isVisible());
    EXPECT_TRUE(log.Has("Console is created"));
    EXPECT_TRUE(log.Has("Console is destroyed"));
    EXPECT_EQ(nullptr, sds::IConsole::GetSingleton());

    try {
        wrappers::COgreConsole missing("NoSuchOverlay", "ConsoleWnd/Console", 31, 5);
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ("m_pConsoleWnd && \"Overlay names must exist\"", e.what());
    }
    try {
        wrappers::COgreConsole missing("ConsoleWnd", "NoSuchElement", 31, 5);
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ("m_pConsole && \"Overlay names must exist\"", e.what());
    }
}

TEST_F(OgreGfxTest, FaderCoversTheWindowInBlackByItsAlpha)
{
    CFakeEventMgr events;
    // An overlay script without the panel is a clear error, not a crash.
    Ogre::OverlayContainer* panel = Overlay("Fader")->getChild("Fader/Panel");
    Overlay("Fader")->remove2D(panel);
    try {
        wrappers::COgreFader broken;
        ADD_FAILURE() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ("panel && \"The fader overlay must have the panel Fader/Panel\"", e.what());
    }
    Overlay("Fader")->add2D(panel);

    wrappers::COgreFader fader;
    EXPECT_FALSE(fader.IsVisible());
    Ogre::Viewport* viewport = Env().m_Window->getViewport(0);
    const Ogre::ColourValue background = viewport->getBackgroundColour();
    viewport->setBackgroundColour(Ogre::ColourValue::White);
    fader.SetVisible(true);
    EXPECT_TRUE(Overlay("Fader")->isVisible());
    // A white window under the cover: what shows is white times (1 - alpha).
    for (float alpha : {0.0f, 0.25f, 0.75f, 1.0f}) {
        fader.SetAlpha(alpha);
        Env().RenderFrame();
        std::uint8_t pixel[4] = {};
        const unsigned x = COgreTestEnvironment::kWidth / 2, y = 10;
        Env().m_Window->copyContentsToMemory(Ogre::Box(x, y, x + 1, y + 1),
                                             Ogre::PixelBox(1, 1, 1, Ogre::PF_BYTE_RGBA, pixel));
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(255.0f * (1.0f - alpha), pixel[channel], 3.0f) << "alpha " << alpha;
    }
    fader.SetVisible(false);
    viewport->setBackgroundColour(background);
}

TEST_F(OgreGfxTest, StartupBarAdvancesWithinEachStep)
{
    Env();
    wrappers::CInitProgressBar bar(Env().m_Level, Env().m_Window, "InitialLoadOverlay", 3, 1, 0.6f, 0.1f);
    const float full = bar.GetFullWidth();
    float last = -1.0f;
    auto grows = [&](float low, float high) {
        const float filled = bar.GetFilledWidth() / full;
        EXPECT_GE(filled, last - 1e-6f);
        EXPECT_GE(filled, low - 1e-6f);
        EXPECT_LE(filled, high + 1e-6f);
        last = filled;
    };
    bool skip = false;
    for (int group = 0; group < 3; ++group) {
        bar.resourceGroupScriptingStarted("Group", 4);
        const float start = 0.2f * group;
        for (int script = 0; script < 4; ++script) {
            bar.scriptParseStarted("Script.material", skip);
            grows(start, start + 0.2f);
            bar.scriptParseEnded("Script.material", false);
            grows(start, start + 0.2f);
        }
        EXPECT_NEAR(start + 0.2f, bar.GetFilledWidth() / full, 1e-5f);
    }
    bar.resourceGroupLoadStarted("General", 2);
    for (int resource = 0; resource < 2; ++resource) {
        bar.resourceLoadStarted(Ogre::ResourcePtr());
        bar.resourceLoadEnded();
        grows(0.6f, 0.7f);
    }
    EXPECT_NEAR(0.7f, bar.GetFilledWidth() / full, 1e-5f);
}

TEST_F(OgreGfxTest, ReleasedObjectTakesItsEntityAlong)
{
    Ogre::SceneManager* level = Env().m_Level;
    sds::CGfxObjPtr cube = m_World.Mgr().CreateObject("Cube", nullptr);
    const std::string entity = cube->GetEntityName();
    ASSERT_TRUE(level->hasEntity(entity));
    cube.reset();
    EXPECT_FALSE(level->hasEntity(entity));

    // Moved into a static batch, the object lets go of its node, which the batch destroyed.
    sds::CGfxObjPtr moved = m_World.Mgr().CreateObject("Cube", nullptr);
    const std::string node = moved->GetName();
    auto batch = m_World.Mgr().CreateStaticGeometry("Batch");
    EXPECT_THROW(m_World.Mgr().CreateStaticGeometry("Batch"), sds::CException);
    batch->AddObjectAndDetach(moved, sds::CVector(), sds::CQuaternion(), sds::CVector(1, 1, 1));
    batch->Build();
    EXPECT_FALSE(level->hasSceneNode(node));
    EXPECT_FALSE(m_World.Mgr().FindObject(node));
    moved.reset();
    Env().RenderFrame();
}

namespace {

// How many resources, entities and scene nodes exist: what objects made and
// released again must leave as they found it.
struct CEngineCounts
{
    explicit CEngineCounts(Ogre::SceneManager* scene)
    {
        m_Materials = CountResources(Ogre::MaterialManager::getSingleton());
        m_Meshes = CountResources(Ogre::MeshManager::getSingleton());
        m_Skeletons = CountResources(Ogre::SkeletonManager::getSingleton());
        m_Entities = scene->getMovableObjects("Entity").size();
        m_Nodes = CountNodes(scene->getRootSceneNode());
    }
    static std::size_t CountResources(Ogre::ResourceManager& manager)
    {
        std::size_t count = 0;
        for (auto it = manager.getResourceIterator(); it.hasMoreElements(); it.moveNext())
            ++count;
        return count;
    }
    static std::size_t CountNodes(const Ogre::Node* node)
    {
        std::size_t count = 1;
        for (const Ogre::Node* child : node->getChildren())
            count += CountNodes(child);
        return count;
    }
    bool operator==(const CEngineCounts& other) const
    {
        return m_Materials == other.m_Materials && m_Meshes == other.m_Meshes && m_Skeletons == other.m_Skeletons &&
               m_Entities == other.m_Entities && m_Nodes == other.m_Nodes;
    }

    std::size_t m_Materials, m_Meshes, m_Skeletons, m_Entities, m_Nodes;
};

std::ostream& operator<<(std::ostream& out, const CEngineCounts& c)
{
    return out << c.m_Materials << " materials, " << c.m_Meshes << " meshes, " << c.m_Skeletons << " skeletons, "
               << c.m_Entities << " entities, " << c.m_Nodes << " nodes";
}

} // namespace

TEST_F(OgreGfxTest, ThousandObjectsReleasedLeaveTheEngineAsTheyFoundIt)
{
    sds::IGfxMgr& mgr = m_World.Mgr();
    // The mesh files stay loaded once used.
    mgr.CreateObject("SkeletonTest", nullptr);
    mgr.CreateObject("Cube", nullptr);
    const CEngineCounts before(Env().m_Level);
    for (int i = 0; i < 1000; ++i) {
        sds::CGfxObjPtr cube = mgr.CreateObject("Cube", nullptr);
        cube->SetMaterial("Dravonkel/Default", true);
        cube->SetSubEntityMaterial(0, "Dravonkel/Default", true);
        sds::CGfxObjPtr plane = mgr.CreatePlane(2, 2, 1.0f, 1.0f);
        sds::CGfxObjPtr quad = mgr.CreateMeshObject(">plane");
        sds::CGfxObjPtr marker = cube->CreateChild("Marker", ">plane");
        auto batch = mgr.CreateStaticGeometry("Batch");
        batch->AddMesh("Cube", sds::CVector(), sds::CQuaternion(), sds::CVector(1, 1, 1));
        batch->Build();
        mgr.CreateRope(1.0f, 0.02f, 3, cube);
        mgr.CreateTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, sds::CFourFloats());
        sds::CGfxObjPtr tool = mgr.CreateObject("Cube", nullptr);
        sds::CGfxObjPtr rig = mgr.CreateObject("SkeletonTest", nullptr);
        rig->AttachToBone(tool, 1, sds::CVector(), sds::CQuaternion(), false, false);
    }
    EXPECT_EQ(before, CEngineCounts(Env().m_Level));
}

// A joint moved by hand gives the animation states of its object blend
// masks; a released object takes them along (the rendering engine leaves them
// behind when it destroys the states), or a jumper's body leaks a few
// kilobytes every jump.
TEST_F(OgreGfxTest, ReleasedObjectsTakeTheirBlendMasksAlong)
{
    sds::IGfxMgr& mgr = m_World.Mgr();
    auto cycle = [&mgr] {
        sds::CGfxObjPtr rig = mgr.CreateObject("SkeletonTest", nullptr);
        rig->GetSkeleton()->GetJoint("Arm")->SetManuallyControlled(true);
    };
    for (int i = 0; i < 50; ++i)
        cycle();
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 1000; ++i)
        cycle();
    const long grown = static_cast<long>(mallinfo2().uordblks) - static_cast<long>(before);
    EXPECT_LT(grown, 10000) << "bytes the heap grew by over a thousand objects";
}

TEST_F(OgreGfxTest, ReleasedObjectUnhooksOnlyWhatItHung)
{
    Ogre::SceneManager* level = Env().m_Level;
    sds::CGfxObjPtr body = m_World.Mgr().CreateObject("Cube", nullptr);
    const sds::CGfxObjPtr kid = body->CreateChild("Kid", ">novis");
    const std::string name = body->GetName();
    // Other code hangs a camera chain and a light on the object's node.
    Ogre::SceneNode* node = level->getSceneNode(name);
    Ogre::SceneNode* chain = node->createChildSceneNode("ChaseCameraNode");
    Ogre::Light* light = level->createLight("BodyLight");
    node->attachObject(light);
    body.reset();

    // Those stay where they were, and so does the node that carries them.
    ASSERT_TRUE(level->hasSceneNode(name));
    EXPECT_EQ(node, chain->getParent());
    EXPECT_EQ(node, light->getParentSceneNode());
    EXPECT_EQ(2u, node->getAttachedObjects().size() + node->getChildren().size());
    EXPECT_FALSE(kid->GetParent());
    EXPECT_FALSE(m_World.Mgr().FindObject(name));
}

TEST_F(OgreGfxTest, OverlayTextsTakeBytesThatAreNotUtf8)
{
    const sds::COverlayedPtr fps = m_World.Mgr().CreateOverlayed("FPSOverlay");
    sds::IOverlayElement* text = fps->GetElement("FPSOverlay/Text");
    text->SetCaption("Ren\xE9 \xE2\x82");
    EXPECT_EQ("Ren\xC3\xA9 \xC3\xA2\xC2\x82", text->GetCaption());

    wrappers::COgreConsole console("ConsoleWnd", "ConsoleWnd/Console", 31, 5);
    console.Print("Sprung von M\xFCnchen");
    console.SetFixedLine(0, "\xB0", true);
    EXPECT_EQ(0u, Ogre::OverlayManager::getSingleton().getOverlayElement("ConsoleWnd/Console")->getCaption().asUTF8().find(
                      "\xC2\xB0\n"));

    auto bar = m_World.Mgr().CreateLoadingProgressBar("LevelLoadingProgressBar");
    bar->SetProgress("Z\xFCrich", 0.5f);
    bar->SetStepProgress("\xFF", 0.5f);
    EXPECT_EQ("Z\xC3\xBCrich", Ogre::OverlayManager::getSingleton()
                                   .getOverlayElement("LevelLoadingProgressBar/LoadPanel/Description")
                                   ->getCaption()
                                   .asUTF8());
    Env().RenderFrame();
}
