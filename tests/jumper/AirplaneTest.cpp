#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "jumper/Airplane.h"
#include "sound/DummySndMgr.h"
#include "sound/openal/NullAudio.h"
#include "sound/openal/OpenALSndMgr.h"
#include "RigWorld.h"

using sds::CVector;

namespace {

// A sound that remembers where it was put and whether it was stopped.
class CRecordingSound : public sds::CDummySndMgr::CDummySound
{
public:
    void Stop() override { ++m_Stops; }
    CVector GetPosition() const override { return m_Position; }
    void SetPosition(const CVector& position) override { m_Position = position; }

    CVector m_Position;
    int m_Stops = 0;
};

class CRecordingTemplate : public sds::CDummySndMgr::CDummySoundTemplate
{
public:
    explicit CRecordingTemplate(std::vector<std::shared_ptr<CRecordingSound>>& made) : m_Made(made) {}
    std::shared_ptr<sds::ISound> CreateSound(const CVector&, const CVector&) override
    {
        m_Made.push_back(std::make_shared<CRecordingSound>());
        return m_Made.back();
    }

private:
    std::vector<std::shared_ptr<CRecordingSound>>& m_Made;
};

class CRecordingSndMgr : public sds::CDummySndMgr
{
public:
    std::shared_ptr<sds::ISoundTemplate> CreateSoundTemplate(const std::string&) override
    {
        return std::make_shared<CRecordingTemplate>(m_Made);
    }

    std::vector<std::shared_ptr<CRecordingSound>> m_Made;
};

} // namespace

// The shipped "Airplane" with a sound manager that records its sounds.
class AirplaneTest : public RigTest
{
protected:
    AirplaneTest() : m_Config(LoadShipped("../conf/conf.xml", "sds")->GetChild("Airplane")) {}

    xml::CNodePtr m_Config;
    CRecordingSndMgr m_Sound;
};

TEST_F(AirplaneTest, FliesStraightOnAtItsDirectionTimesItsSpeed)
{
    m_Config->GetChild("Movement")->GetAttribute("Direction")->SetValue("-2,0,0");
    sds::CAirplane airplane(m_Config);
    ASSERT_EQ(1u, m_Sound.m_Made.size());
    const CVector start = m_Config->GetAttribute("Altitude")->GetValue<CVector>();
    EXPECT_EQ(start, airplane.GetGfxObj()->GetPos());

    airplane.Update({0.0f, 0.0f});
    EXPECT_EQ(start, airplane.GetGfxObj()->GetPos());
    // Speed 50 along a direction of length 2: 100 m/s.
    for (int i = 0; i < 10; ++i)
        airplane.Update({0.1f, 0.0f});
    EXPECT_VECTOR_NEAR(start + CVector(-100, 0, 0), airplane.GetGfxObj()->GetPos(), 1e-2f);
    // The engine is heard where the aircraft is.
    EXPECT_VECTOR_NEAR(airplane.GetGfxObj()->GetPos(), m_Sound.m_Made.front()->m_Position, 1e-4f);
}

// The count-down shows the view from the door: where the shipped aircraft
// starts and flies for half a minute, the default zone's terrain lies under
// it and well around it, so that its edge is not in sight.
TEST_F(AirplaneTest, TheShippedCourseStaysOverTheDefaultZone)
{
    const xml::CNodePtr tiles = LoadShipped("../data/Skorvel/HomeField/HomeField.tiles", "Tiles");
    const CVector low = tiles->GetAttribute("MinCorner")->GetValue<CVector>();
    const CVector high = tiles->GetAttribute("MaxCorner")->GetValue<CVector>();
    const float margin = 100.0f;
    sds::CAirplane airplane(m_Config);
    for (int second = 0; second <= 30; ++second) {
        const CVector at = airplane.GetGfxObj()->GetPos();
        EXPECT_TRUE(at.x > low.x + margin && at.x < high.x - margin && at.z > low.z + margin &&
                    at.z < high.z - margin)
            << "at " << at.x << ", " << at.z << " after " << second << " s";
        airplane.Update({1.0f, 0.0f});
    }
}

TEST_F(AirplaneTest, ReleasingTheAircraftStopsItsEngine)
{
    {
        sds::CAirplane airplane(m_Config);
    }
    EXPECT_EQ(1, m_Sound.m_Made.front()->m_Stops);
    EXPECT_EQ(1, m_Sound.m_Made.front().use_count());

    m_Config->RemoveChild(m_Config->GetChild("SndEngine"));
    EXPECT_THROW(sds::CAirplane{m_Config}, xml::CNoNodeException);
}

// The shipped aircraft with the real sound manager: each aircraft's engine
// holds a source while it lives, and gives it back stopped.
class AirplaneSoundTest : public RigTest
{
protected:
    static xml::CNodePtr SoundSystem()
    {
        // No sound card here: OpenAL's null output, as the program chooses.
        wrappers::UseNullAudioWithoutSoundCard();
        return Xml("<SoundSystem Enabled='true' SoundVolume='1' MusicVolume='1' DefaultReferenceDistance='1' "
                   "DefaultGain='1' DefaultRolloffFactor='1'/>");
    }

    xml::CNodePtr m_Config = LoadShipped("../conf/conf.xml", "sds")->GetChild("Airplane");
    wrappers::COpenALSndMgr m_Sound{SoundSystem()};
};

TEST_F(AirplaneSoundTest, AHundredAircraftMadeAndReleasedGiveEverySourceBack)
{
    const std::size_t before = m_Sound.GetSourcesInUse();
    std::shared_ptr<sds::ISound> engine;
    for (int i = 0; i < 100; ++i) {
        sds::CAirplane airplane(m_Config);
        airplane.GetEngineSound()->Play(true);
        // Its own source, and the first engine's that the test keeps.
        EXPECT_EQ(before + (i == 0 ? 1 : 2), m_Sound.GetSourcesInUse());
        if (i == 0)
            engine = airplane.GetEngineSound();
    }
    // Even a sound someone else still holds no longer plays once its aircraft is gone.
    EXPECT_FALSE(engine->IsPlaying());
    engine.reset();
    EXPECT_EQ(before, m_Sound.GetSourcesInUse());
}
