#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "FakeJumper.h"
#include "app/AppFixture.h"
#include "core/ConfigPath.h"
#include "core/UnitConverter.h"
#include "physics/IPhyForce.h"
#include "support/MessageCapture.h"
#include "graphics/TrajectoryDisplay.h"
#include "graphics/memory/MemGfxMgr.h"
#include "graphics/memory/MemOverlayElement.h"
#include "jumper/JumperMgr.h"
#include "mods/EventDistributionMod.h"
#include "mods/HUDMessageMod.h"
#include "mods/OverlaysMod.h"
#include "core/services/TriangleMesh.h"
#include "jumper/ObjGround.h"
#include "mods/PhyEnabledMod.h"
#include "mods/TrajectoryViewerMod.h"
#include "physics/PhyMgr.h"
#include "support/DefaultConfig.h"
#include "support/HudOverlays.h"
#include "support/FakeSndMgr.h"
#include "support/VectorNear.h"
#include "support/Frames.h"

using sds::test::Frame;

using namespace sds;

namespace {

CInternalEvent Named(std::int32_t code, bool on)
{
    CInternalEvent event;
    event.Code = code;
    event.On = on ? 1 : 0;
    return event;
}

// The level's services over the shipped configuration, the in-memory graphics
// with the head-up display's overlays, and a level of one jumper.
class ModsTest : public ::testing::Test
{
protected:
    ModsTest()
        : m_App(LoadDefaultConfig()), m_Events(std::make_unique<CTestEventMgr>()),
          m_Units(m_App.m_Config->GetChild("UnitConverter"))
    {
        DefineHudOverlays(m_Gfx);
        m_Jumpers = std::make_unique<CJumperMgr>();
        m_Jumper = std::make_shared<CFakeJumper>();
        m_Jumpers->AddToUpdateList(m_Jumper);
    }

    bool Shown(const std::string& overlay) const { return m_Gfx.IsOverlayVisible(overlay); }
    CMemOverlayElement& Element(const std::string& name) const { return *m_Gfx.FindOverlayElement(name); }
    void Fire(std::int32_t code, bool on) { m_Events->FireInternalEvent(Named(code, on)); }
    void FireCode(std::int32_t code, bool on) { m_Events->FireEvent(Named(code, on)); }

    CMessageCapture m_Quiet;
    CCapturingLogMgr m_Log;
    CFakeApplication m_App;
    std::unique_ptr<CTestEventMgr> m_Events;
    CMemGfxMgr m_Gfx;
    CFakeSndMgr m_Sound;
    CUnitConverter m_Units;
    std::unique_ptr<CJumperMgr> m_Jumpers;
    std::shared_ptr<CFakeJumper> m_Jumper;
};

} // namespace

TEST_F(ModsTest, CentreMessageLastsItsTimePlusAFrame)
{
    CHUDMessageMod hud;
    EXPECT_FALSE(Shown("CenterMessage"));
    hud.ShowMessage("Front Risers", -1.0f);
    EXPECT_EQ("Front Risers", Element("CenterMessage/Message").m_Caption);
    for (int frame = 0; frame < 3; ++frame)
        hud.Update(Frame(1.0f));
    EXPECT_TRUE(Shown("CenterMessage")) << "3 s have passed; it goes a frame later";
    hud.Update(Frame(0.01f));
    EXPECT_TRUE(Shown("CenterMessage"));
    hud.Update(Frame(0.01f));
    EXPECT_FALSE(Shown("CenterMessage"));
    EXPECT_EQ("", Element("CenterMessage/Message").m_Caption);

    // Paused, it hides; resumed, it comes back while it has text.
    hud.ShowMessage("Paused", 1.0f);
    hud.Pause();
    EXPECT_FALSE(Shown("CenterMessage"));
    hud.Resume();
    EXPECT_TRUE(Shown("CenterMessage"));
    // After a restart nothing is left to resume.
    hud.Restart();
    hud.Resume();
    EXPECT_FALSE(Shown("CenterMessage"));
    EXPECT_EQ(&hud, CHUDMessageMod::GetSingleton());
}

TEST_F(ModsTest, CentreMessageHasADarkBandBehindItsTextOnly)
{
    CHUDMessageMod hud;
    CMemOverlayElement& band = Element("CenterMessage/Panel");
    EXPECT_EQ("HUD/Backdrop", band.GetMaterialName()) << "the shipped overlay's";
    hud.ShowMessage("Stand-up landing", -1.0f);
    EXPECT_TRUE(band.IsVisible());
    // The game mode's empty message at the start of a jump shows no empty band.
    for (const auto& clear : {std::function<void()>([&] { hud.ShowMessage("", -1.0f); }),
                              std::function<void()>([&] { hud.Restart(); })}) {
        hud.ShowMessage("Stand-up landing", -1.0f);
        clear();
        EXPECT_FALSE(band.IsVisible());
    }
}

TEST_F(ModsTest, EventsAreRoutedByTheirCode)
{
    bool menuMode = false;
    m_Gfx.CreateCamera();
    CEventDistributionMod mod([&menuMode] { return menuMode; });
    const auto cameraCodes = [this] {
        std::vector<std::int32_t> codes;
        for (const CInternalEvent& e : m_Gfx.GetMemCamera()->m_Events)
            codes.push_back(e.Code);
        return codes;
    };
    for (std::int32_t code : {1, 2, 41, 42, 43, 44, 77, 78})
        Fire(code, true);
    m_Events->FireAnalogInternalEvent(Named(3, true));
    EXPECT_EQ((std::vector<std::int32_t>{44, 77}), cameraCodes());
    ASSERT_EQ(2u, m_Jumper->m_Discrete.size());
    EXPECT_EQ(2, m_Jumper->m_Discrete[0].Code);
    EXPECT_EQ(41, m_Jumper->m_Discrete[1].Code);
    ASSERT_EQ(1u, m_Jumper->m_Analog.size());

    // A release takes the road of the press; a paused mod keeps the jumper's codes.
    mod.Pause();
    Fire(2, false);
    Fire(44, false);
    EXPECT_EQ(2u, m_Jumper->m_Discrete.size());
    EXPECT_EQ(3u, cameraCodes().size());
    mod.Resume();
    Fire(2, false);
    EXPECT_EQ(3u, m_Jumper->m_Discrete.size());

    // The menus take the camera's codes away; they go to nobody.
    menuMode = true;
    Fire(44, true);
    EXPECT_EQ(3u, cameraCodes().size());
    EXPECT_EQ(3u, m_Jumper->m_Discrete.size());
}

TEST_F(ModsTest, EngineWithoutStateIsAFaultOfEveryEvent)
{
    CEventDistributionMod mod([]() -> bool { throw std::runtime_error("!m_States.empty() && \"No states are added\""); });
    EXPECT_THROW(Fire(2, true), std::runtime_error);
}

TEST_F(ModsTest, HudModesCycleAndNeedAJumper)
{
    CHUDMessageMod hud;
    m_Jumper->m_Altimeter = "Altimeter/Neptune";
    COverlaysMod overlays;
    EXPECT_EQ("Altimeter/Neptune", Element("AltimeterOverlay/Panel").m_Material);
    EXPECT_EQ(2, overlays.GetHudMode());
    EXPECT_TRUE(Shown("AltimeterOverlay"));
    EXPECT_FALSE(Shown("SpeedIndicator"));

    std::vector<int> modes;
    for (int press = 0; press < 4; ++press) {
        FireCode(114, true);
        FireCode(114, false);
        modes.push_back(overlays.GetHudMode());
    }
    EXPECT_EQ((std::vector<int>{3, 0, 1, 2}), modes);
    overlays.SetHudMode(1);
    for (const char* overlay : {"AltimeterOverlay", "InputType", "InputPositionIndicator", "SpeedIndicator"})
        EXPECT_TRUE(Shown(overlay)) << overlay;

    // Paused, the display hides; resumed, the mode comes back.
    overlays.Pause();
    EXPECT_FALSE(Shown("InputType"));
    overlays.Resume();
    EXPECT_TRUE(Shown("InputType"));
    overlays.Restart();
    EXPECT_EQ(2, overlays.GetHudMode());

    // Without a jumper every mode hides all.
    m_Jumpers.reset(new CJumperMgr);
    overlays.SetHudMode(1);
    for (const char* overlay : {"AltimeterOverlay", "InputType", "InputPositionIndicator", "SpeedIndicator"})
        EXPECT_FALSE(Shown(overlay)) << overlay;
    Element("SpeedIndicator/Speed").m_Caption = "";
    overlays.Update(Frame(0.1f));
    EXPECT_EQ("", Element("SpeedIndicator/Speed").m_Caption);
}

TEST_F(ModsTest, AltimeterWithoutMaterialStaysHidden)
{
    COverlaysMod overlays;
    for (int mode : {1, 2}) {
        overlays.SetHudMode(mode);
        EXPECT_FALSE(Shown("AltimeterOverlay"));
        EXPECT_TRUE(Shown("InputType"));
    }
}

// Each hand's element names the control the hand holds; a new one is named in the middle.
TEST_F(ModsTest, ControlTypeFollowsWhatTheHandsHold)
{
    CHUDMessageMod hud;
    COverlaysMod overlays;
    const auto shown = [this](const std::string& hand) {
        std::string names;
        for (const char* control : {"Brake", "FrontRiser", "RearRiser"})
            if (Element("InputType/" + hand + control).m_Visible)
                names += (names.empty() ? "" : "+") + std::string(control);
        return names;
    };
    const struct
    {
        int left, right;
        const char *leftShown, *rightShown, *message;
    } steps[] = {
        {0, 0, "", "", ""},                                 // free fall: the hands hold nothing
        {6, 7, "RearRiser", "RearRiser", "Rear Risers"},    // the canopy open: the rear risers
        {4, 7, "Brake", "RearRiser", "Brakes"},             // the left hand takes its toggle
        {4, 9, "Brake", "FrontRiser", "Front Risers"},      // the right its front riser
        {4, 9, "Brake", "FrontRiser", ""},                  // nothing new, nothing said
        {0, 0, "", "", ""},                                 // landed
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::to_string(step.left) + ", " + std::to_string(step.right));
        Element("CenterMessage/Message").m_Caption = "";
        m_Jumper->m_LeftControl = step.left;
        m_Jumper->m_RightControl = step.right;
        overlays.Update(Frame(0.02f));
        EXPECT_EQ(step.leftShown, shown("Left"));
        EXPECT_EQ(step.rightShown, shown("Right"));
        EXPECT_EQ(step.message, Element("CenterMessage/Message").m_Caption);
    }

    // The control events themselves move nothing: the hands do.
    FireCode(14, true);
    EXPECT_EQ("", shown("Left"));
    // A restart shows none until the new jumper's hands hold one.
    m_Jumper->m_LeftControl = 4;
    overlays.Update(Frame(0.02f));
    overlays.Restart();
    EXPECT_EQ("", shown("Left"));
    overlays.Update(Frame(0.02f));
    EXPECT_EQ("Brake", shown("Left"));
}

TEST_F(ModsTest, SpeedsAndPullsOfTheJumper)
{
    COverlaysMod overlays;
    m_Jumper->m_Velocity = CVector(3.0f, -5.0f, 4.0f);
    m_Jumper->m_Left = 0.5f;
    m_Jumper->m_Right = 1.0f;
    overlays.Update(Frame(0.1f));
    const CUnitConverter::CUnit& speed = m_Units.GetUnit("Speed");
    const std::string caption = Element("SpeedIndicator/Speed").m_Caption;
    EXPECT_NE(std::string::npos, caption.find("Vertical Speed: " + m_Units.FormatValue(speed, 5.0f) + "\n"))
        << caption;
    EXPECT_NE(std::string::npos, caption.find("Horizontal Speed: " + m_Units.FormatValue(speed, 5.0f) + "\n"));
    EXPECT_NE(std::string::npos, caption.find("Wind Speed: " + m_Units.FormatValue(speed, 0.0f) + "\n"));
    EXPECT_EQ(0, caption.find("Speed: " + m_Units.FormatValue(speed, std::sqrt(50.0f)) + "\n"));
    // The bars travel the frame less their own height.
    const float travel = Element("InputPositionIndicator/Border").m_Height - Element("InputPositionIndicator/Right").m_Height;
    ASSERT_GT(travel, 0.0f);
    EXPECT_FLOAT_EQ(travel * 0.5f, Element("InputPositionIndicator/Left").m_Top);
    EXPECT_FLOAT_EQ(travel, Element("InputPositionIndicator/Right").m_Top);
}

TEST_F(ModsTest, TrajectoriesTakeTheColoursInTurnInOneBox)
{
    CTrajectoryViewerMod viewer;
    EXPECT_TRUE(viewer.IsEmpty());
    viewer.AddTrajectory({CVector(0, 100, 0), CVector(10, 50, 5), CVector(20, 0, 10)});
    viewer.AddTrajectory({CVector(-5, 80, 2), CVector(30, 0, -3)});
    EXPECT_EQ(CVector(-5, 0, -3), viewer.GetBoundingBox().m_Min);
    EXPECT_EQ(CVector(30, 100, 10), viewer.GetBoundingBox().m_Max);
    // The camera scripts see the box through the graphics manager.
    const auto positions = m_Gfx.GetLevelPositions();
    ASSERT_EQ(1u, positions.size());
    ASSERT_TRUE(positions[0]->GetTrajectory());
    EXPECT_EQ(CVector(30, 100, 10), positions[0]->GetTrajectory()->second);

    // After a clear the first box replaces the one at the origin.
    viewer.Clear();
    EXPECT_FALSE(positions[0]->GetTrajectory());
    viewer.AddTrajectory({CVector(5, 5, 5), CVector(6, 6, 6)});
    EXPECT_EQ(CVector(5, 5, 5), viewer.GetBoundingBox().m_Min);
    for (int i = 1; i < 8; ++i)
        viewer.AddTrajectory({CVector(5, 5, 5), CVector(6, 6, 6)});
    EXPECT_EQ("1,0,0,1", viewer.GetShown()[7]->m_Colour) << "the eighth after the clear";
    EXPECT_EQ("0,0.5,0,1", viewer.GetShown()[1]->m_Colour);
}

TEST_F(ModsTest, ViewerNeedsItsColours)
{
    xml::CNodePtr trajectory = m_App.m_Config->GetChild("Trajectory");
    while (trajectory->HasChild("Color"))
        trajectory->RemoveChild(trajectory->GetChild("Color"));
    EXPECT_THROW(CTrajectoryViewerMod(), xml::CNoNodeException);
}

namespace {

// The physics mod over the shipped physics file and materials of the test.
class PhysicsModTest : public ModsTest
{
protected:
    // `materials` are the file's rows after its default material.
    std::unique_ptr<CPhyEnabledMod> MakeMod(const std::string& rows, const std::string& rootAttributes = "")
    {
        CMessageCapture quiet;
        const xml::CNodePtr physics = xml::LoadXmlFile("../data/physics/physics.xml")->GetChild("Physics");
        return std::make_unique<CPhyEnabledMod>(
            physics, ParseElement("<Materials " + rootAttributes + "><DefaultMaterial Restitution=\"0.1\" "
                                  "StaticFriction=\"0.6\" DynamicFriction=\"0.5\"/><Surface Type=\"Grass\" "
                                  "Materials=\"Terrain\"/>" + rows + "</Materials>"));
    }

    // A touch of the two materials at the point.
    static void Touch(CPhyEnabledMod& mod, const std::string& a, const std::string& b, const CVector& point)
    {
        physics::IPhyCollisionEvent event;
        event.m_FirstMaterial = mod.GetPhyMgr().GetMaterialIndex(a);
        event.m_SecondMaterial = mod.GetPhyMgr().GetMaterialIndex(b);
        event.m_Point = point;
        mod.OnCollision(event);
    }
};

std::string Material(const std::string& name)
{
    return "<Material Name=\"" + name + "\" Restitution=\"0\" StaticFriction=\"0.5\" DynamicFriction=\"0.5\"/>";
}

const std::string Materials = Material("A") + Material("B") + Material("C") +
                              "<Collision MaterialOne=\"A\" MaterialTwo=\"B\"><Sound File=\"ab.wav\"/></Collision>"
                              "<Collision MaterialOne=\"C\" MaterialTwo=\"B,Typo\"><Sound File=\"cb.wav\"/></Collision>"
                              "<Collision MaterialOne=\"B\" MaterialTwo=\"C\"><Sound File=\"bc.wav\"/></Collision>";

} // namespace

TEST_F(PhysicsModTest, ContactSoundsByMaterialPairAndDistance)
{
    auto mod = MakeMod(Materials, "MinSoundDistance=\"5\"");
    EXPECT_TRUE(m_Log.Has("Warning: Duplicated collision to sound mapping: B C bc.wav"));
    // A name the world does not know would be the default material: that pair is skipped.
    EXPECT_TRUE(m_Log.HasContaining("unknown material 'Typo'"));
    EXPECT_EQ(2u, mod->GetCollisionSounds().size());

    Touch(*mod, "B", "A", CVector(0, 0, 0));
    Touch(*mod, "A", "B", CVector(1, 0, 0));
    EXPECT_EQ(1u, m_Sound.SoundsOf("ab.wav").size()) << "B against A finds A/B; 1 m from a playing sound";
    Touch(*mod, "A", "B", CVector(6, 0, 0));
    Touch(*mod, "A", "B", CVector(0, 0, 5));
    EXPECT_EQ(3u, m_Sound.SoundsOf("ab.wav").size()) << "6 m away, and exactly 5 m away";
    // A finished sound no longer holds the place.
    for (const auto& sound : m_Sound.SoundsOf("ab.wav"))
        sound->Stop();
    Touch(*mod, "A", "B", CVector(0, 0, 0));
    EXPECT_EQ(4u, m_Sound.SoundsOf("ab.wav").size());
    // The later row wins the pair.
    Touch(*mod, "C", "B", CVector(0, 0, 0));
    EXPECT_EQ(1u, m_Sound.SoundsOf("bc.wav").size());
    EXPECT_TRUE(m_Sound.SoundsOf("cb.wav").empty());
    Touch(*mod, "", "", CVector(0, 0, 0));
}

TEST_F(PhysicsModTest, WithoutCollisionRowsNoDistanceIsNeededAndNothingIsDrawn)
{
    auto mod = MakeMod(Material("A"));
    EXPECT_TRUE(mod->GetCollisionSounds().empty());
    EXPECT_TRUE(m_Log.Has("Using Mod: Physics"));
    mod->GetPhyMgr().CreateGroundPlane();
    mod->GetPhyMgr().CreateBox(CVector(0, 5, 0), CVector(1, 1, 1), 1.0f, "A");
    for (int frame = 0; frame < 10; ++frame)
        mod->Update(Frame(0.05f));
    EXPECT_EQ(0u, mod->GetDebugObjectCount()) << "\"Objects\" is false";
    mod.reset();
    EXPECT_TRUE(m_Log.Has("Done using Mod: Physics"));
    EXPECT_EQ(nullptr, CPhyEnabledMod::GetSingleton());
}

TEST_F(PhysicsModTest, DebugDrawingShowsShapesAndForces)
{
    SetConfigBool(m_App.m_Config, "PhyVisualization->>Objects", true);
    m_Gfx.DefineMaterial("PhyObjVisualization", mem::CMaterial());
    auto mod = MakeMod("");
    mod->GetPhyMgr().CreateGroundPlane();
    mod->GetPhyMgr().CreateBox(CVector(0, 5, 0), CVector(1, 2, 3), 1.0f, "");
    mod->Update(Frame(0.05f));
    EXPECT_GT(mod->GetDebugObjectCount(), 0u);
    mod->Restart();
    EXPECT_EQ(0u, mod->GetDebugObjectCount());
}

TEST_F(PhysicsModTest, TheGroundQueuedByTheGraphicsIsBakedAndARestartEmptiesTheGroundRegistry)
{
    auto mod = MakeMod("");
    auto tile = std::make_shared<CTriangleMesh>();
    tile->m_Vertices = {CVector(0, 0, 0), CVector(10, 0, 0), CVector(0, 0, 10)};
    tile->m_Indices = {0, 1, 2};
    m_Gfx.GetObjectQueue().push_back(tile);
    CObjGround::Register(m_Gfx.CreateObject(">novis", nullptr));
    mod->Update(Frame(0.05f));
    EXPECT_TRUE(m_Gfx.GetObjectQueue().empty()) << "the tile is the ground's now";
    mod->Restart();
    EXPECT_TRUE(CObjGround::GetRegistry().empty());
    CObjGround::Register(m_Gfx.CreateObject(">novis", nullptr));
    mod.reset();
    EXPECT_TRUE(CObjGround::GetRegistry().empty()) << "the level's objects go with it";
}

namespace {

class CNoForce : public physics::IPhyForce
{
public:
    void Apply(physics::sdk::IActor&, float) override {}
    void Draw(physics::sdk::IActor&) const override {}
};

} // namespace

TEST_F(PhysicsModTest, ForceArrowsPointAlongTheForce)
{
    SetConfigBool(m_App.m_Config, "PhyVisualization->>Objects", true);
    auto mod = MakeMod("");
    const auto& draw = physics::CPhyMgr::GetForceDrawCallback();
    CNoForce down, none;
    draw(down, CVector(1, 2, 3), CVector(1, -2, 3), CFourFloats(), true);
    draw(none, CVector(1, 2, 3), CVector(1, 2, 3), CFourFloats(), true);
    const CGfxObjPtr arrow = mod->FindDebugArrow(down);
    ASSERT_TRUE(arrow);
    EXPECT_EQ(CVector(1, 2, 3), arrow->GetPos());
    EXPECT_EQ(CVector(1, 4, 1), arrow->GetScale());
    // Straight down is a half turn about x: the arrow's +Y onto -Y, its +Z onto -Z.
    EXPECT_VECTOR_NEAR(CVector(0, -1, 0), arrow->GetOrientation() * CVector::UNIT_Y, 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(1, 0, 0), arrow->GetOrientation() * CVector::UNIT_X, 1e-5f);
    EXPECT_TRUE(arrow->IsVisible());
    EXPECT_FALSE(mod->FindDebugArrow(none)->IsVisible()) << "a force of nothing has no direction";
    // Forces the world does not draw again in a frame are hidden.
    mod->Update(Frame(0.05f));
    EXPECT_FALSE(arrow->IsVisible());
    mod.reset();
    EXPECT_FALSE(physics::CPhyMgr::GetForceDrawCallback()) << "no drawing reaches a mod that has gone";
}
