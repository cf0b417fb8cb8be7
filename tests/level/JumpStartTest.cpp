// How each edition's jump starts, on the shipped configuration, drop zone and
// presets: the jump's scene preset is built as the drop-zone menu's Jump
// builds it, from the edition's template and the first shipped preset.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "JumpWorld.h"
#include "core/XmlFile.h"
#include "jumper/ExitPlaneState.h"
#include "physics/PhyMgr.h"

namespace {

using sds::CVector;

const char* const kJumpRows[] = {"Drop zone name", "Wind direction",      "Altitude",
                                 "Canopy size",    "Exit weight",         "Input type",
                                 "Drop zone elevation", "Altimeter", "Distance to target at altitude"};

float Row(const xml::CNodePtr& preset, const char* name)
{
    return preset->GetChildById("Info", name, "Name,Id")->GetValue<float>();
}

// The first shipped preset ("On target, 8mph wind").
xml::CNodePtr DefaultPreset()
{
    return xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/presets.xml")->GetChild("Presets")->GetChild("Preset");
}

// The scene preset of a jump with the preset on the drop zone: the edition's
// template, the wind's speed and direction, the jumper the preset's distance
// short of the target at its altitude, and the rows the jump records.
xml::CNodePtr ScenePreset(const xml::CNode& config, const xml::CNodePtr& preset, const xml::CNodePtr& scene)
{
    const xml::CNodePtr configuration = config.GetChild("Configuration");
    const xml::CNodePtr built = xml::CNode::Clone(configuration->GetChild("Preset"));
    built->AddChild("Info", preset->GetAttribute("Name")->GetValue())->AddAttribute("Name", "Configuration");
    for (const char* row : kJumpRows)
        xml::CNode::Clone(preset->GetChildById("Info", row, "Name,Id"), built.get());
    const xml::CNodePtr direction = configuration->GetChildById(
        "WindDirection", preset->GetChildById("Info", "Wind direction", "Name,Id")->GetValue(), "Name,Id");
    sds::SetConfigString(built, direction->GetAttribute("Path")->GetValue(),
                         direction->GetAttribute("Value")->GetValue());
    built->GetChild("Wind")->GetChild("Region")->GetAttribute("Speed")->SetValue(
        sds::ToString(Row(preset, "Wind strength")));
    const CVector target = scene->GetChild("Target")->GetAttribute("Position")->GetValue<CVector>();
    built->GetChild("Jumper")->GetAttribute("Position")->SetValue(sds::VectorToString(
        CVector(target.x - Row(preset, "Distance to target at altitude"), Row(preset, "Altitude"), target.z)));
    return built;
}

CVector Level(const CVector& v)
{
    return CVector(v.x, 0.0f, v.z);
}

// Degrees between two level directions.
float DegreesBetween(const CVector& a, const CVector& b)
{
    const float cosine = Level(a).Dot(Level(b)) / (Level(a).Length() * Level(b).Length());
    return std::acos(std::max(-1.0f, std::min(1.0f, cosine))) * 180.0f / 3.14159265f;
}

// The Skorvel editions teach the canopy approach with one key for both
// hands: the jump starts under the open canopy where the preset says, flying
// toward the target into the preset's wind, and the key flares it.
// The jump started: under the canopy near `start`, in the wind, flying
// straight for the target; hands up to 4 m over the target's ground, then the
// keys flare (A alone where one key drives both hands, A and D where each
// drives its own): a landing, near the target.
void FlyStraightInAndFlare(CJumpWorld& world, const CVector& start, const CVector& target, float windSpeed,
                           bool oneKeyForBothHands)
{
    sds::CJumper* jumper = world.Jumper();
    ASSERT_NE(nullptr, jumper);
    ASSERT_EQ(jumper->GetCanopyRideState(), jumper->GetCurrentState()) << "not under the canopy";
    EXPECT_LT((jumper->GetPos() - start).Length(), 15.0f) << "starts far from the preset's position";

    // The wind blows at the start, toward the jumper: into the wind.
    const CVector wind = physics::CPhyMgr::GetSingleton()->GetWindMgr().GetWind(jumper->GetPos());
    EXPECT_NEAR(windSpeed, wind.Length(), 0.1f * windSpeed + 0.1f);
    EXPECT_GT(DegreesBetween(wind, target - start), 170.0f) << "the wind does not blow from the target";

    // Hands off, it flies straight for the target: five seconds after the
    // start it still heads for it and is nearer.
    const float before = Level(target - jumper->GetPos()).Length();
    world.Frames(300);
    EXPECT_LT(DegreesBetween(jumper->GetVelocity(), target - jumper->GetPos()), 10.0f);
    EXPECT_LT(Level(target - jumper->GetPos()).Length(), before - 5.0f);

    for (int i = 0; i < 60 * 60 && world.Jumper()->GetPos().y > target.y + 4.0f && !world.TouchedDown(); ++i)
        world.Frame();
    world.Key("A", true);
    if (!oneKeyForBothHands)
        world.Key("D", true);
    for (int i = 0; i < 60 * 10 && !world.TouchedDown(); ++i)
        world.Frame();
    ASSERT_TRUE(world.TouchedDown());
    EXPECT_TRUE(jumper->GetCurrentState() == jumper->GetLandingNormalState() ||
                jumper->GetCurrentState() == jumper->GetPLFLandingState())
        << "crashed";
    EXPECT_LT(Level(target - jumper->GetPos()).Length(), 50.0f);
}

void FlyTheLesson(const char* edition)
{
    CJumpWorld world(CJumpWorld::CSoundFactory(), LoadDefaultConfig(edition));
    const xml::CNodePtr preset = DefaultPreset();
    CVector start, target;
    world.Start([&](const xml::CNodePtr& scene) {
        const xml::CNodePtr built = ScenePreset(*world.m_App.m_Config, preset, scene);
        start = built->GetChild("Jumper")->GetAttribute("Position")->GetValue<CVector>();
        target = scene->GetChild("Target")->GetAttribute("Position")->GetValue<CVector>();
        return built;
    });
    world.Jump();
    EXPECT_TRUE(world.m_Log.HasContaining("Using Mod: EventCopy")) << "both hands are not driven by one key";
    FlyStraightInAndFlare(world, start, target, Row(preset, "Wind strength"), true);
}

TEST(JumpStart, TheSkorvelEditionsStartUnderTheCanopyHeadingForTheTargetAndTheFlareLands)
{
    for (const char* edition : {"SkorvelPersonal", "SkorvelInstructor"}) {
        SCOPED_TRACE(edition);
        FlyTheLesson(edition);
    }
}

// The Merrowick editions keep the whole jump: it starts in the aircraft, far
// above the preset's altitude.
TEST(JumpStart, TheMerrowickEditionsStartInTheAircraft)
{
    for (const char* edition : {"MerrowickPersonal", "MerrowickInstructor"}) {
        SCOPED_TRACE(edition);
        CJumpWorld world(CJumpWorld::CSoundFactory(), LoadDefaultConfig(edition));
        const xml::CNodePtr preset = DefaultPreset();
        world.Start([&](const xml::CNodePtr& scene) { return ScenePreset(*world.m_App.m_Config, preset, scene); });
        world.Jump();
        sds::CJumper* jumper = world.Jumper();
        ASSERT_NE(nullptr, jumper);
        EXPECT_EQ(jumper->GetExitPlaneState(), jumper->GetCurrentState());
        EXPECT_GT(jumper->GetPos().y, Row(preset, "Altitude") + 100.0f);
        EXPECT_FALSE(world.m_Log.HasContaining("Using Mod: EventCopy"));
    }
}

// The tutorials are straight approaches that every edition can fly: each
// starts under the canopy where its preset says, heading for the target into
// its wind, and a flare at the right height lands it, with one key for both
// hands as with two.
TEST(JumpStart, EveryTutorialIsAStraightApproachThatAFlareLands)
{
    for (const char* edition : {"SkorvelPersonal", "MerrowickPersonal"})
        for (const char* file : {"../data/Tutorials/Tutorial1.Tutorial", "../data/Tutorials/Tutorial2.Tutorial"}) {
            SCOPED_TRACE(std::string(edition) + " " + file);
            CJumpWorld world(CJumpWorld::CSoundFactory(), LoadDefaultConfig(edition));
            const xml::CNodePtr preset = xml::LoadXmlFile(file)->GetChild("scene")->GetChild("Preset");
            CVector target;
            world.Start([&](const xml::CNodePtr& scene) {
                target = scene->GetChild("Target")->GetAttribute("Position")->GetValue<CVector>();
                return xml::CNode::Clone(preset);
            });
            world.Jump();
            FlyStraightInAndFlare(world, preset->GetChild("Jumper")->GetAttribute("Position")->GetValue<CVector>(),
                                  target, Row(preset, "Wind strength"),
                                  world.m_Log.HasContaining("Using Mod: EventCopy"));
        }
}

} // namespace
