// Landings through the program's game mode over the rendering engine's
// graphics and the shipped drop zone: what the jumper comes down on is what
// the zone shows, a body on the ground stays there, and a jumper landed into
// the wind is seen beside his canopy, not under it.

#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#include <gtest/gtest.h>

#include "OgreJumpWorld.h"
#include "physics/IPhyJumper.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/ILandingState.h"
#include "scene/HomeFieldGround.h"
#include "support/OgreTestEnvironment.h"
#include "support/Pictures.h"

namespace {

class LandingsTest : public ::testing::Test
{
protected:
    LandingsTest() : m_World(COgreJumpWorld::CSoundFactory(), LoadDefaultConfig(), Env().m_Window, Env().m_Level) {}
    ~LandingsTest() override
    {
        if (m_World.m_Engine)
            m_World.LeaveToMainMenu();
    }

    static COgreTestEnvironment& Env() { return COgreTestEnvironment::Get(); }

    // The aircraft of the next jump starts there.
    void AircraftAt(const sds::CVector& start)
    {
        m_World.m_App.m_Config->GetChild("Airplane")->GetAttribute("Altitude")->SetValue(sds::VectorToString(start));
    }

    // The jumper's rag doll after the touch-down.
    const physics::CPhyRagDoll& Body()
    {
        return *m_World.Jumper()->GetPhyJumper()->GetLandingState()->GetJumperRagDoll();
    }

    // How far the lowest joint of the trunk (pelvis, chest, neck) is under the
    // ground (negative: above it). The thin limbs the joints drag may sink in.
    float TrunkUnderGround()
    {
        float depth = -1e9f;
        for (const char* bone : {"Pelvis", "Torso", "Head"}) {
            const sds::CVector at = Body().GetBonePos(bone);
            depth = std::max(depth, static_cast<float>(HomeFieldGroundAt(at.x, at.z)) - at.y);
        }
        return depth;
    }

    // The jumps start under the open canopy at the preset's jumper position.
    void StartUnderCanopy()
    {
        m_World.m_App.m_Config->GetChild("Jumper")->GetChild("JumperStates")->GetAttribute("StartState")->SetValue(
            "CanopyRide");
        m_World.Start();
    }
    void JumperAt(const sds::CVector& start)
    {
        sds::EngineStates::CGameModeState::GetSingleton()
            ->GetCurrentDropZone()
            ->GetWorkingTree()
            ->GetChild("scene")
            ->GetChild("Preset")
            ->GetChild("Jumper")
            ->GetAttribute("Position")
            ->SetValue(sds::VectorToString(start));
    }

    // Frames of no time: the jumper stays where it starts while the ground
    // under it is baked, as a jump from the aircraft has the time to.
    void BakeTheGroundBelow()
    {
        for (int frame = 0; frame < 10000 && (frame < 10 || !m_World.m_Gfx.GetObjectQueue().empty()); ++frame)
            m_World.Frame(0.0f);
        ASSERT_TRUE(m_World.m_Gfx.GetObjectQueue().empty());
    }

    COgreJumpWorld m_World;
};

} // namespace

// A jumper who never pulls hits the ground in free fall at over 40 m/s, most
// of a metre a physics step, and the touch is told only after the step that
// made it: a deadly crash. The body lies where it came down and stays there,
// on flat ground and on a hillside alike. The ground and the trees baked on
// the way down have their physical surfaces.
TEST_F(LandingsTest, ADeadlyCrashLeavesTheBodyOnTheGround)
{
    struct CCase
    {
        const char* m_Where;
        sds::CVector m_Aircraft; // flying west, it throws the jumper some 250 m ahead
    };
    const CCase cases[] = {{"beside the landing area", {300, 200, 200}},
                           {"on a field", {-200, 200, -75}},
                           {"on a hillside", {-550, 200, 300}}};
    m_World.Start();
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.m_Where);
        AircraftAt(c.m_Aircraft);
        if (&c == cases)
            m_World.Jump();
        else
            m_World.Restart();
        ASSERT_NE(nullptr, m_World.Jumper());
        m_World.Frames(10);
        m_World.Tap("Space"); // out of the door
        m_World.Tap("Space"); // let go, and no pull
        for (int frame = 0; frame < 60 * 30 && !m_World.TouchedDown(); ++frame)
            m_World.Frame();
        ASSERT_TRUE(m_World.TouchedDown());
        EXPECT_EQ("Death Crash", m_World.Jumper()->GetCollisionJudge()->GetLandingType());
        const sds::CVector down = m_World.Jumper()->GetPos();
        for (int second = 1; second <= 5; ++second) {
            m_World.Frames(60);
            EXPECT_LT(TrunkUnderGround(), 0.1f) << second << " s after the crash";
        }
        const sds::CVector lies = m_World.Jumper()->GetPos();
        // It may slide and roll on with the speed it came with along the ground.
        EXPECT_LT((lies - down).Length(), 20.0f) << "the body went away";
    }
    // What was baked on the way, trees among it, has a physical surface each.
    EXPECT_TRUE(m_World.m_Log.HasContaining("Collision with"));
    EXPECT_FALSE(m_World.m_Log.HasContaining("does not have corresponding physical material"));
}

// Under the canopy a few metres over the pond and over the hangar: the jumper
// comes down on the water's surface with a splash, not on the pond's sandy
// bottom, and on the hangar's arched roof with a thud, not on the floor
// inside it.
TEST_F(LandingsTest, TheWaterAndTheBuildingsAreSolid)
{
    using dzgen::CHomeField;
    const std::string splash = "../data/Skorvel/sounds/Splash.wav", thud = "../data/Skorvel/sounds/BodyThud.wav";
    struct CCase
    {
        const char* m_What;
        sds::CVector m_Start;
        float m_Lowest, m_Highest; // where the body comes to rest
        const std::string& m_Sound;
        const std::string& m_Silent;
    };
    const float water = static_cast<float>(CHomeField::kWaterLevel);
    const float floor = static_cast<float>(CHomeField::Height(CHomeField::kHangar.x, CHomeField::kHangar.z));
    const CCase cases[] = {
        {"the pond", {static_cast<float>(CHomeField::kPond.x), 10, static_cast<float>(CHomeField::kPond.z)}, water - 0.1f,
         water + 0.6f, splash, thud},
        {"the hangar's roof", {static_cast<float>(CHomeField::kHangar.x), floor + 16, static_cast<float>(CHomeField::kHangar.z)},
         floor + 7, floor + 12.6f, thud, splash}};
    StartUnderCanopy();
    auto& sounds = dynamic_cast<CFakeSndMgr&>(*m_World.m_Sound);
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.m_What);
        JumperAt(c.m_Start);
        if (&c == cases)
            m_World.Jump();
        else
            m_World.Restart();
        BakeTheGroundBelow();
        const std::size_t heard = sounds.SoundsOf(c.m_Sound).size(), silent = sounds.SoundsOf(c.m_Silent).size();
        for (int frame = 0; frame < 60 * 30 && !m_World.TouchedDown(); ++frame)
            m_World.Frame();
        ASSERT_TRUE(m_World.TouchedDown());
        m_World.Frames(120);
        const sds::CVector rests = Body().GetBonePos("Pelvis");
        EXPECT_GT(rests.y, c.m_Lowest);
        EXPECT_LT(rests.y, c.m_Highest);
        EXPECT_GT(sounds.SoundsOf(c.m_Sound).size(), heard);
        EXPECT_EQ(silent, sounds.SoundsOf(c.m_Silent).size());
    }
}

// The default lesson's approach into the preset's 8 mph wind, flared where
// it lands on the feet. The collapsing canopy is carried downwind to the end
// of its lines, off the jumper (lines that pulled it towards him, or a drag
// the wind could not move it with, laid it over him), and the landing
// camera, when the verdict shows, has him in view beside it: his blue suit,
// as the end-to-end checks count it, in the picture kept as
// test-artifacts/landing/into-the-wind.png.
TEST_F(LandingsTest, ALandingIntoTheWindLeavesTheJumperInViewBesideHisCanopy)
{
    StartUnderCanopy();
    const sds::CVector target = sds::EngineStates::CGameModeState::GetSingleton()
                                    ->GetCurrentDropZone()
                                    ->GetWorkingTree()
                                    ->GetChild("scene")
                                    ->GetChild("Target")
                                    ->GetAttribute("Position")
                                    ->GetValue<sds::CVector>();
    // Downwind of the target, to fly into the wind to it, as the drop-zone menu places him.
    JumperAt({target.x - 180.0f, target.y + 61.0f, target.z});
    m_World.Jump();
    for (int frame = 0; frame < 60 * 60 && m_World.Jumper()->GetPos().y > target.y + 3.5f; ++frame)
        m_World.Frame();
    m_World.Key("A", true); // one key flares both hands
    for (int frame = 0; frame < 60 * 10 && !m_World.TouchedDown(); ++frame)
        m_World.Frame();
    ASSERT_EQ(m_World.Jumper()->GetLandingNormalState(), m_World.Jumper()->GetCurrentState())
        << m_World.Jumper()->GetCollisionJudge()->GetLandingType();
    const sds::CVector wind = physics::CPhyMgr::GetSingleton()->GetWindMgr().GetWind(m_World.Jumper()->GetPos());
    ASSERT_GT(wind.Length(), 3.0f);
    const sds::CVector downwind = sds::CVector(wind.x, 0.0f, wind.z) / wind.Length();

    // A second after the touch-down, while the verdict and the landing camera show.
    m_World.Frames(60);
    const physics::CPhyRagDoll& canopy = *m_World.Jumper()->GetPhyJumper()->GetLandingState()->GetCanopyRagDoll();
    const sds::CVector jumper = Body().GetBonePos("Pelvis");
    for (std::uint16_t i = 0; i < canopy.GetActorCount(); ++i) {
        const std::string& section = canopy.GetActorName(i);
        const sds::CVector off = canopy.GetBonePos(section) - jumper;
        EXPECT_GT(off.Dot(downwind), 1.5f) << section << " is not downwind of the jumper";
    }

    for (int frame = 0; frame < 3; ++frame)
        Env().RenderFrame();
    CWindowPicture picture = CWindowPicture::Capture(*Env().m_Window);
    const std::string folder = std::string(SDS_TEST_ARTIFACT_DIR) + "/landing";
    boost::filesystem::create_directories(folder);
    picture.Keep(folder + "/into-the-wind.png");
    // The head-up display's panels (bottom, right) are left out.
    int suit = 0;
    for (unsigned y = 0; y < picture.Height * 680 / 768; ++y)
        for (unsigned x = 0; x < picture.Width * 945 / 1024; ++x) {
            const Ogre::ColourValue c = picture.At(x, y);
            suit += c.b > 0.25f && c.r < 0.2f * c.b && c.g < 0.5f * c.b;
        }
    EXPECT_GE(suit, 120) << "the jumper is not in view";
}
