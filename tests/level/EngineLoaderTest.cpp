#include <gtest/gtest.h>

#include <limits>

#include "LevelWorld.h"
#include "forcefields/ForceVisualization.h"
#include "forcefields/IEditorSimObj.h"
#include "app/EventNames.h"
#include "core/ConfigPath.h"
#include "graphics/script/ScriptCameraMotionController.h"
#include "jumper/Airplane.h"
#include "jumper/DigitalAltimeter.h"
#include "jumper/Jumper.h"
#include "jumper/ObjGround.h"
#include "jumper/RagDollObj.h"
#include "jumper/SimObj.h"
#include "physics/IPhyObj.h"
#include "physics/PhyMgr.h"
#include "support/VectorNear.h"

using namespace sds;

namespace {

void RemoveAll(const xml::CNodePtr& parent, const std::string& name)
{
    while (parent->HasChild(name))
        parent->RemoveChild(parent->GetChild(name));
}

} // namespace

class EngineLoaderTest : public LevelTest
{
public:
    EngineLoaderTest() { SetScene(TestField); }

    CVector TargetBody() const { return Loader().GetTarget()->GetSimObj()->GetPos(); }
    std::shared_ptr<CJumper> Jumper() const { return std::dynamic_pointer_cast<CJumper>(Jumpers().at(0)); }
};

TEST_F(EngineLoaderTest, SceneObjectsBecomeLevelObjects)
{
    LoadLevel();
    const CEngineLoader& loader = Loader();
    // The target and three simulated objects, each a file of one model.
    ASSERT_EQ(4u, loader.GetSimObjs().size());
    EXPECT_EQ(loader.GetSimObjs().front(), loader.GetTarget());
    for (const std::shared_ptr<CSimObj>& simObj : loader.GetSimObjs())
        EXPECT_EQ(simObj->GetSimObj()->GetPos(), simObj->GetGfxObj()->GetPos());
    // Each windsock's sock is a rag doll shown here; the world keeps the windsocks.
    EXPECT_EQ(2u, loader.GetRagDollObjs().size());
    EXPECT_EQ(2u, physics::CPhyMgr::GetSingleton()->GetWindSocks().size());

    ASSERT_EQ(2u, loader.GetTrees().size());
    const CGfxObjPtr tree = loader.GetTrees().back();
    EXPECT_EQ(CVector(380, 2, 40), tree->GetPos());
    EXPECT_EQ(CVector(2, 2, 2), tree->GetScale());
    EXPECT_EQ(2u, CObjGround::GetRegistry().size());

    EXPECT_EQ("Test Field", loader.GetFullName());
    EXPECT_EQ("Test Field", Jumper()->GetTrajectory().GetName());
    // The ground's collision is asked for around the target.
    ASSERT_EQ(1u, m_Gfx.m_SurfaceQueries.size());
    EXPECT_EQ(loader.GetTargetPos(), m_Gfx.m_SurfaceQueries[0].first);
    EXPECT_EQ(300.0f, m_Gfx.m_SurfaceQueries[0].second);
}

TEST_F(EngineLoaderTest, AFileOfAModelAndARagDollAddsOneOfEach)
{
    SetScene(TestField, [](const xml::CNodePtr& scene) {
        RemoveAll(scene, "SimObj");
        RemoveAll(scene, "WindSock");
    });
    LoadLevel();
    const std::size_t simObjs = Loader().GetSimObjs().size();
    const std::size_t ragDolls = Loader().GetRagDollObjs().size();
    // The target's file and the windsock's: one model, one skeleton.
    Loader().CreateObjects(Xml(R"(<SimObj File="../data/physics/Barrel.phs" Position="5, 0, 5"/>)"));
    Loader().CreateObjects(Xml(R"(<SimObj File="../data/physics/WindSock.phs" Position="9, 0, 9"/>)"));
    EXPECT_EQ(simObjs + 1, Loader().GetSimObjs().size());
    EXPECT_EQ(ragDolls + 1, Loader().GetRagDollObjs().size());
}

TEST_F(EngineLoaderTest, TheTargetBoundsTheCameraAndAnswersTargetPos)
{
    struct CCase
    {
        const char* limits;
        CVector min, max;
    };
    const float big = std::numeric_limits<float>::max();
    const std::vector<CCase> cases = {
        {R"(<Limits PaddingX="3000"/>)", {-3000, std::numeric_limits<float>::min(), -3000}, {3000, big, 3000}},
        {R"(<Limits PaddingX="100" PaddingZ="50" MinY="2" MaxY="900"/>)", {-100, 2, -50}, {100, 900, 50}},
        {nullptr, {-big / 2, std::numeric_limits<float>::min(), -big / 2}, {big / 2, big, big / 2}},
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.limits ? test.limits : "no limits");
        const xml::CNodePtr camera = m_App.m_Config->GetChild("Camera");
        RemoveAll(camera, "Limits");
        if (test.limits)
            xml::CNode::Clone(Xml(test.limits), camera.get());
        LoadLevel();
        const CVector target = TargetBody();
        EXPECT_VECTOR_NEAR(test.min + CVector(target.x, 0, target.z), Camera().m_BoundsMin, 1e-3f);
        EXPECT_VECTOR_NEAR(test.max + CVector(target.x, 0, target.z), Camera().m_BoundsMax, 1e-3f);
        EXPECT_EQ(target + CVector(10, 10, 10), Camera().m_Offsets[CMemCamera::OFFSET_FIXED]);
        EXPECT_EQ(target + CVector(10, 10, 10), Camera().m_Offsets[CMemCamera::OFFSET_FREE]);
        EXPECT_EQ(Loader().GetTarget()->GetGfxObj()->GetPos(), Loader().GetTargetPos());
        EXPECT_EQ(Loader().GetTargetPos().y, Loader().GetTargetHeight());
        // The script cameras' "TargetPos".
        const std::vector<CLevelPositionsPtr> positions = m_Gfx.GetLevelPositions();
        ASSERT_EQ(1u, positions.size());
        EXPECT_EQ(Loader().GetTargetPos(), positions[0]->GetTargetPos());
        m_Level.reset();
        m_Gfx.DestroyCamera();
    }
    EXPECT_TRUE(m_Gfx.GetLevelPositions().empty());
}

// Force-field scenes and the editor's template place the target by its position alone.
// The orbiting cameras follow the jumper, and the free camera flies, only
// inside the shipped limits: their floor lies below the default zone's lowest
// ground, where a jumper may come down.
TEST_F(EngineLoaderTest, TheShippedLimitsHoldTheDefaultZonesGround)
{
    const float floor =
        Load("../conf/conf.xml", "sds")->GetChild("Camera")->GetChild("Limits")->GetAttribute("MinY")->GetValue<float>();
    const CVector lowest =
        Load("../data/Skorvel/HomeField/HomeField.tiles", "Tiles")->GetAttribute("MinCorner")->GetValue<CVector>();
    EXPECT_LT(floor, lowest.y - 5.0f);
}

TEST_F(EngineLoaderTest, ATargetGivenByItsPositionAloneIsTheStandardTarget)
{
    SetScene(TestField, [](const xml::CNodePtr& scene) {
        RemoveAll(scene, "Target");
        xml::CNode::Clone(Xml(R"(<Target Position="150,0,0"/>)"), scene.get());
    });
    LoadLevel();
    ASSERT_NE(nullptr, Loader().GetTarget());
    EXPECT_EQ(CVector(150, 0, 0), TargetBody());
    EXPECT_EQ(CVector(150, 0, 0), Loader().GetTargetPos());
}

TEST_F(EngineLoaderTest, WithoutATargetNothingIsBoundedAndTheTargetIsTheOrigin)
{
    SetScene(TestField, [](const xml::CNodePtr& scene) { RemoveAll(scene, "Target"); });
    LoadLevel();
    EXPECT_EQ(nullptr, Loader().GetTarget());
    EXPECT_EQ(CVector::MAX_NEGATIVE, Camera().m_BoundsMin);
    EXPECT_EQ(CVector::MAX_POSITIVE, Camera().m_BoundsMax);
    EXPECT_EQ(CVector::ZERO, Loader().GetTargetPos());
    EXPECT_EQ(0.0f, Loader().GetTargetHeight());
    EXPECT_EQ(CVector::ZERO, m_Gfx.m_SurfaceQueries.at(0).first);
    ASSERT_EQ(1u, m_Gfx.GetLevelPositions().size());
    EXPECT_FALSE(m_Gfx.GetLevelPositions()[0]->GetTargetPos());
}

TEST_F(EngineLoaderTest, OnlyTheBgMusicStreamPlaysAndStopsWithTheLevel)
{
    LoadLevel();
    ASSERT_EQ(std::vector<std::string>{"../data/sounds/wind.ogg"}, m_Sound.m_Files);
    const std::shared_ptr<CFakeSound> music = m_Sound.m_Sounds.at(0);
    EXPECT_TRUE(music->m_Playing);
    EXPECT_TRUE(music->m_Looping);
    m_Level.reset();
    EXPECT_EQ(1, music->m_Stops);

    SetScene(TestField, [](const xml::CNodePtr& scene) {
        scene->GetChildById("Stream", "BgMusic", "Name,Id")->GetAttribute("Name")->SetValue("Birds");
    });
    m_Sound.m_Files.clear();
    LoadLevel();
    m_Level.reset();
    EXPECT_TRUE(m_Sound.m_Files.empty());
    EXPECT_EQ(1, music->m_Stops);
}

TEST_F(EngineLoaderTest, RestartRecordsTheJumpBeforeTheNextJumperAndRenewsTheCameras)
{
    LoadLevel();
    const std::shared_ptr<IJumper> first = Jumpers().at(0);
    const std::vector<std::shared_ptr<CScriptCameraMotionController>> firstCameras =
        Loader().GetCameraControllers();
    ASSERT_EQ(4u, firstCameras.size());
    EXPECT_EQ(first->GetHelperObj(), Camera().m_Attached);

    m_Level->Restart();
    ASSERT_EQ(1u, m_Host.m_Recorded.size());
    EXPECT_EQ(first.get(), m_Host.m_Recorded[0]);
    // Recorded while the finished jumper was still the level's only one.
    EXPECT_EQ(std::vector<const IJumper*>{first.get()}, m_Host.m_JumpersAtRecord[0]);
    ASSERT_EQ(1u, Jumpers().size());
    EXPECT_NE(first, Jumpers()[0]);
    EXPECT_EQ(Jumpers()[0]->GetHelperObj(), Camera().m_Attached);
    // The script cameras follow the new jumper.
    EXPECT_EQ(Jumpers()[0]->GetPos(), m_Gfx.GetLevelPositions().at(0)->GetJumperPos());

    const auto& cameras = Loader().GetCameraControllers();
    ASSERT_EQ(4u, cameras.size());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cameras[i].get(), Camera().GetController(62 + i));
        EXPECT_NE(firstCameras[i], cameras[i]);
    }
    EXPECT_EQ(4u, Camera().m_Controllers.size());
}

TEST_F(EngineLoaderTest, EditingRecordsNoJump)
{
    m_Host.m_Editing = true;
    SetScene(TestField, [](const xml::CNodePtr& scene) {
        SetConfigBool(scene, "Preset->Jumper->>Create", false);
    });
    LoadLevel();
    m_Level->Restart();
    m_Level->Reset();
    EXPECT_TRUE(m_Host.m_Recorded.empty());
}

TEST_F(EngineLoaderTest, AJumperNotToBeCreatedLeavesTheCameraAlone)
{
    SetScene(TestField, [](const xml::CNodePtr& scene) {
        SetConfigBool(scene, "Preset->Jumper->>Create", false);
    });
    LoadLevel();
    EXPECT_TRUE(Jumpers().empty());
    EXPECT_EQ(nullptr, Camera().m_Attached);
    EXPECT_EQ(0.0f, Loader().GetJumperHeight());
    EXPECT_FALSE(m_Gfx.GetLevelPositions().at(0)->GetJumperPos());
}

// The shipped jumper wears one altimeter on the chest: the model the preset chooses.
TEST_F(EngineLoaderTest, TheJumperWearsTheAltimeterThePresetChooses)
{
    const xml::CNodePtr shipped = m_App.m_Config->GetChild("Jumper");
    for (const char* model : {"Neptune", "AltimasterIII (feet)"}) {
        SCOPED_TRACE(model);
        SetScene(TestField, [model](const xml::CNodePtr& scene) {
            scene->GetChild("Preset")->GetChildById("Info", "Altimeter", "Name,Id")->SetValue(model);
        });
        LoadLevel();
        std::vector<std::string> worn;
        xml::ForEachChild(*Loader().GetJumperConfig(), "Altimeter", [&worn](const xml::CNodePtr& altimeter) {
            worn.push_back(altimeter->GetAttribute("Model")->GetValue() + " on " +
                           altimeter->GetAttribute("Attachment")->GetValue());
        });
        EXPECT_EQ(std::vector<std::string>{std::string(model) + " on Chest"}, worn);
        ASSERT_EQ(1u, Jumper()->GetAltimeters().size());
        const IAltimeter& altimeter = *Jumper()->GetAltimeters()[0];
        EXPECT_EQ(std::string(model) == "Neptune", dynamic_cast<const CDigitalAltimeter*>(&altimeter) != nullptr);
        // The head-up display shows the dial the altimeter renders.
        EXPECT_FALSE(Jumper()->GetAltimeterCaption().empty());
        EXPECT_EQ(altimeter.GetCaption(), Jumper()->GetAltimeterCaption());
        m_Level.reset();
    }

    // A preset without a choice: no altimeter; the configuration keeps its own for the next jump.
    SetScene(TestField, [](const xml::CNodePtr& scene) {
        const xml::CNodePtr preset = scene->GetChild("Preset");
        preset->RemoveChild(preset->GetChildById("Info", "Altimeter", "Name,Id"));
    });
    LoadLevel();
    EXPECT_FALSE(Loader().GetJumperConfig()->HasChild("Altimeter"));
    EXPECT_TRUE(Jumper()->GetAltimeters().empty());
    EXPECT_EQ("", Jumper()->GetAltimeterCaption());
    EXPECT_EQ(1, std::distance(shipped->GetChildrenBegin("Altimeter"), shipped->GetChildrenEnd("Altimeter")));
    EXPECT_EQ("AltimasterIII (feet)", shipped->GetChild("Altimeter")->GetAttribute("Model")->GetValue());
}

TEST_F(EngineLoaderTest, EachJumpHasAFreshAircraftWithItsEngineAndTheJumperUnderIt)
{
    LoadLevel();
    const xml::CNodePtr config = m_App.m_Config->GetChild("Airplane");
    const CVector start = config->GetAttribute("Altitude")->GetValue<CVector>();
    for (int jump = 0; jump < 2; ++jump) {
        SCOPED_TRACE(jump);
        const std::shared_ptr<CAirplane> airplane = Loader().GetAirplane();
        ASSERT_NE(nullptr, airplane);
        EXPECT_EQ(start, airplane->GetGfxObj()->GetPos());
        const std::shared_ptr<ISound> engine = airplane->GetEngineSound();
        EXPECT_TRUE(engine->IsPlaying());
        EXPECT_TRUE(std::static_pointer_cast<CFakeSound>(engine)->m_Looping);
        EXPECT_EQ(airplane->GetGfxObj()->GetName(), Jumper()->GetBodyObj()->GetParent()->GetName());

        m_Level->Update({0.5f, 0.0f});
        EXPECT_NE(start, airplane->GetGfxObj()->GetPos());

        m_Level->Restart();
        EXPECT_NE(airplane, Loader().GetAirplane());
        EXPECT_FALSE(engine->IsPlaying());
    }

    SetScene(TestField, [](const xml::CNodePtr& scene) { RemoveAll(scene, "Airplane"); });
    LoadLevel();
    EXPECT_EQ(nullptr, Loader().GetAirplane());
    // Without an aircraft the jumper leaves from the preset's start point, not the scene's origin.
    const CGfxObjPtr door = Jumper()->GetBodyObj()->GetParent();
    ASSERT_NE(nullptr, door->GetParent());
    EXPECT_EQ(m_Gfx.GetRootObject()->GetName(), door->GetParent()->GetName());
    EXPECT_VECTOR_NEAR(CVector(180, 80, 0), door->GetPos(), 1e-4f);
    EXPECT_GT(Jumper()->GetBodyObj()->GetWorldPos().y, 80.0f);
}

TEST_F(EngineLoaderTest, NearestSimObjIsFoundAndNoneIsEmpty)
{
    LoadLevel();
    const std::shared_ptr<CSimObj> cone = Loader().GetSimObjs().at(1);
    EXPECT_EQ(cone, Loader().GetNearestSimObj(cone->GetGfxObj()->GetPos() + CVector(0.5f, 0, 0)));
    EXPECT_EQ(cone, Loader().GetSimObjs().front());

    // The editor reaches the same object through the level mod and drags it.
    const CVector grabbed = cone->GetGfxObj()->GetPos() + CVector(0, 0, 0.5f);
    const std::shared_ptr<DovuvUvozeVozediza::IEditorSimObj> dragged = m_Level->GetNearestSimObj(grabbed);
    ASSERT_NE(nullptr, dragged);
    EXPECT_EQ(cone->GetGfxObj(), dragged->GetGfxObj());
    dragged->SetGfxDriven(true);
    dragged->GetGfxObj()->SetPos(grabbed);
    cone->Update(CTiming());
    EXPECT_VECTOR_NEAR(grabbed, cone->GetSimObj()->GetPos(), 1e-4f);
    m_Level.reset();

    SetScene(TestField, [](const xml::CNodePtr& scene) {
        RemoveAll(scene, "Target");
        RemoveAll(scene, "SimObj");
    });
    LoadLevel();
    EXPECT_EQ(nullptr, Loader().GetNearestSimObj(CVector::ZERO));
    EXPECT_EQ(nullptr, m_Level->GetNearestSimObj(CVector::ZERO));
}

TEST_F(EngineLoaderTest, TheJumperMaterialFollowsTheShaderSettingAndIsNoReasonToStop)
{
    struct CCase
    {
        const char* settings;
        const char* source;
    };
    for (const CCase& test : std::vector<CCase>{{R"(<Settings><Graphics UseShaders="0"/></Settings>)", "Jumper_Simple"},
                                                {"<Settings/>", "Jumper_Shaders"}}) {
        SCOPED_TRACE(test.settings);
        m_App.m_Settings = Xml(test.settings);
        m_Gfx.DefineMaterial("Jumper_Simple", mem::CMaterial());
        m_Gfx.DefineMaterial("Jumper_Shaders", mem::CMaterial());
        m_Gfx.RemoveMaterial(test.source == std::string("Jumper_Simple") ? "Jumper_Shaders" : "Jumper_Simple");
        LoadLevel();
        EXPECT_NE(nullptr, m_Gfx.GetMaterial("Jumper"));
        m_Level.reset();
    }
    m_Gfx.RemoveMaterial("Jumper_Simple");
    m_Gfx.RemoveMaterial("Jumper_Shaders");
    LoadLevel();
    EXPECT_EQ(nullptr, m_Gfx.GetMaterial("Jumper"));
    EXPECT_TRUE(m_Log.HasContaining("The jumper material is not set"));
}

TEST_F(EngineLoaderTest, ThePresetCameraIsTheLandingCamera)
{
    LoadLevel();
    EXPECT_EQ(GetEventCode("camera_script1"), Camera().m_Mode);
    EXPECT_EQ(CVector(300, 60, 170), Camera().m_Pos);
}

TEST_F(EngineLoaderTest, APresetCameraWithoutATypeOnlyMovesTheCamera)
{
    SetScene(TestField, [](const xml::CNodePtr& scene) {
        const xml::CNodePtr preset = scene->GetChild("Preset");
        RemoveAll(preset, "Camera");
        xml::CNode::Clone(Xml(R"(<Camera Pos="300, 60, 170"/>)"), preset.get());
    });
    LoadLevel();
    EXPECT_EQ(CameraEvents::camera_free, Camera().m_Mode);
    EXPECT_EQ(CVector(300, 60, 170), Camera().m_Pos);
}

TEST_F(EngineLoaderTest, AForceFieldSceneShowsItsShareOfParticlesEachJump)
{
    SetConfigFloat(m_App.m_Config, "Scene->ForceFieldVisualization->>MaxParticles", 10.0f);
    m_Gfx.DefineMesh("BoundaryWall", mem::CMeshDesc());
    SetScene(TestField, [](const xml::CNodePtr& scene) {
        xml::CNode::Clone(Xml(R"(<BoundingBox Name="Boundaries" MinCorner="-200,-2,0" MaxCorner="200,260,0">
            <Mesh Mesh="BoundaryWall" Scale="1,2,2"/></BoundingBox>)"),
                          scene.get());
        xml::CNode::Clone(Xml(R"(<ForceFieldVisualization><Trail>
            <Chain Index="0" InitialColor="1 1 1 1" ColorChange="0 0 0 1" InitialWidth="1" WidthChange="0"/>
            </Trail></ForceFieldVisualization>)"),
                          scene.get());
    });
    struct CCase
    {
        const char* settings;
        std::size_t particles;
    };
    // A user who never opened the settings screen sees the whole cloud.
    for (const CCase& test : std::vector<CCase>{{"<Settings/>", 10},
                                                {R"(<Settings><ForceFields ForceVisualization="0.45"/></Settings>)", 4}}) {
        SCOPED_TRACE(test.settings);
        m_App.m_Settings = Xml(test.settings);
        LoadLevel();
        const std::shared_ptr<CForceVisualization> first = Loader().GetForceVisualization();
        ASSERT_NE(nullptr, first);
        EXPECT_EQ(test.particles, first->GetParticles().size());
        m_Level->Restart();
        EXPECT_NE(first, Loader().GetForceVisualization());
        m_Level.reset();
    }
}

TEST_F(EngineLoaderTest, EveryShippedForceFieldSceneLoadsWithItsTargetAndJumper)
{
    m_Gfx.DefineMesh("BoundaryWall", mem::CMeshDesc());
    const std::string folder = SDS_SOURCE_DIR "/data/DovuvUvozeVozediza/";
    std::vector<std::pair<std::string, xml::CNodePtr>> scenes;
    for (const char* file : {"Crosswind.ForceFields", "Rotor.ForceFields", "Thermals.ForceFields", "default"})
        scenes.push_back({file, xml::LoadXmlFile(folder + file)});
    // The editor's template with its only force field deleted, as the editor saves it.
    const xml::CNodePtr noField = xml::LoadXmlFile(folder + "default");
    const xml::CNodePtr wind = noField->GetChild("scene")->GetChild("Preset")->GetChild("Wind");
    wind->RemoveChild(wind->GetChild("Region"));
    scenes.push_back({"default without its force field", noField});

    for (const auto& [file, tree] : scenes) {
        SCOPED_TRACE(file);
        // The scene's own preset with the rows the force-fields screen adds for a jump.
        const xml::CNodePtr preset = tree->GetChild("scene")->GetChild("Preset");
        xml::ForEachChild(*Preset(), "Info", [&preset](const xml::CNodePtr& row) { xml::CNode::Clone(row, preset.get()); });
        m_Host.m_DZ = std::make_shared<CDropZoneLevel>(tree, file);
        const CVector camera = preset->GetChild("Camera")->GetAttribute("Pos")->GetValue<CVector>();

        ASSERT_NO_THROW(LoadLevel());
        ASSERT_NE(nullptr, Loader().GetTarget());
        const CVector target = Scene()->GetChild("Target")->GetAttribute("Position")->GetValue<CVector>();
        EXPECT_VECTOR_NEAR(target, TargetBody(), 1e-3f);
        EXPECT_EQ(1u, Jumpers().size());
        EXPECT_EQ(camera, Camera().m_Pos) << "the scene's camera";
        // The editor's side view stays in the editor: the flight is watched from beside the jumper.
        EXPECT_EQ(GetEventCode("camera_script3"), Camera().m_Mode);
        m_Level.reset();
    }
}

namespace {

// The engine's state machine alone.
class CBareEngine : public CEngine
{
};

// A count-down that remembers what it was made from and whether it was entered.
class CFakeCountDown : public IEngineState
{
public:
    explicit CFakeCountDown(const xml::CNodePtr& config) : IEngineState(CEngine::GetSingleton()), m_Config(config) {}
    void OnUpdate(const CTiming&) override {}
    void Enter() override { ++m_Entered; }
    void Exit() override {}
    void Pause() override {}
    void Resume() override {}

    xml::CNodePtr m_Config;
    int m_Entered = 0;
};

} // namespace

TEST_F(EngineLoaderTest, TheCountDownIsMadeOnceAndPushedOnTheEngineEachJump)
{
    xml::CNode::Clone(Xml(R"(<CountDown><SplashScreen Overlay="CountDown/Ready"/></CountDown>)"),
                      m_App.m_Config.get());
    CBareEngine engine;
    int made = 0;
    m_Context.Engine = &engine;
    m_Context.MakeCountDown = [&made](const xml::CNodePtr& config) {
        ++made;
        return std::make_shared<CFakeCountDown>(config);
    };
    LoadLevel();
    auto* countDown = dynamic_cast<CFakeCountDown*>(Loader().GetCountDown().get());
    ASSERT_NE(nullptr, countDown);
    EXPECT_EQ("CountDown", countDown->m_Config->GetName());

    m_Level->StartCountDown();
    EXPECT_EQ(countDown, engine.GetCurrentState());
    EXPECT_EQ(1, countDown->m_Entered);
    engine.PopState();
    m_Level->Restart();
    m_Level->StartCountDown();
    EXPECT_EQ(2, countDown->m_Entered);
    EXPECT_EQ(1, made);
    engine.PopState();
}
