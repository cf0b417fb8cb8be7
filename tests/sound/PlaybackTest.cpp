#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "sound/WaveOutput.h"
#include "sound/openal/OpenALSndMgr.h"
#include "support/CapturingLogMgr.h"
#include "support/TempDir.h"

using namespace waveoutput;

namespace {

const std::string Tone = "../data/sounds/tone.wav";
// The test tone's RMS at full volume: a sine at half scale.
const double ToneLevel = 0.5 / std::sqrt(2.0);

struct CVolumes
{
    float Sound;
    float Music;
};

// One device session: plays the file for 0.15 s of mixed sound, stops it, lets
// 0.15 s of silence follow, closes the device and returns what it wrote. The
// waits follow the device's own clock, so a busy machine does not upset them.
std::vector<float> PlayAndStop(const std::string& file, CVolumes volumes,
                               const std::function<void(wrappers::COpenALSndMgr&)>& before = nullptr)
{
    xml::CNodePtr config(new xml::CNode("SoundSystem", false));
    config->AddAttribute("SoundVolume", std::to_string(volumes.Sound));
    config->AddAttribute("MusicVolume", std::to_string(volumes.Music));
    config->AddAttribute("DefaultReferenceDistance", "1");
    config->AddAttribute("DefaultGain", "1");
    config->AddAttribute("DefaultRolloffFactor", "1");
    {
        wrappers::COpenALSndMgr manager(config);
        auto sound = manager.CreateSound(file);
        if (before)
            before(manager);
        WaitForMixed(0.05);
        sound->Play(false);
        EXPECT_TRUE(sound->IsPlaying());
        WaitForMixed(0.15);
        sound->Stop();
        EXPECT_FALSE(sound->IsPlaying());
        WaitForMixed(0.15);
    }
    return Read();
}

class PlaybackTest : public ::testing::Test
{
protected:
    CCapturingLogMgr m_Log;
    CTempDir m_Dir;
};

} // namespace

TEST_F(PlaybackTest, TheToneIsHeardUntilItIsStopped)
{
    const std::vector<float> out = PlayAndStop(Tone, {1.0f, 1.0f});
    EXPECT_NEAR(ToneLevel, PlayedLevel(out), 0.05 * ToneLevel);
    // The 1 s tone would still sound: stopping ended it.
    const double end = Duration(out);
    EXPECT_LT(Rms(out, end - 0.1, end), 1e-4);
    // And before it was played there was silence.
    EXPECT_LT(Rms(out, 0.0, 0.03), 1e-4);
}

TEST_F(PlaybackTest, EffectVolumeAndMuteChangeTheLevel)
{
    const double full = PlayedLevel(PlayAndStop(Tone, {1.0f, 1.0f}, [](wrappers::COpenALSndMgr& m) {
        m.SetMute(true);
        m.SetMute(false);
    }));
    EXPECT_NEAR(ToneLevel, full, 0.05 * ToneLevel);

    const double quarter = PlayedLevel(PlayAndStop(Tone, {0.25f, 1.0f}));
    EXPECT_NEAR(0.25, quarter / full, 0.02);

    const double muted = PlayedLevel(PlayAndStop(Tone, {1.0f, 1.0f}, [](wrappers::COpenALSndMgr& m) { m.SetMute(true); }));
    EXPECT_LT(muted, 1e-4);
}

TEST_F(PlaybackTest, MusicVolumeIsSeparateFromTheEffects)
{
    const std::string music = m_Dir.File("tone.ogg");
    WriteTone(music, 1.0);

    // Effects turned down leave the music as loud as the music volume says.
    const double full = PlayedLevel(PlayAndStop(music, {0.1f, 1.0f}));
    EXPECT_NEAR(ToneLevel, full, 0.1 * ToneLevel);

    // The music volume reaches a stream made before it changed, and only music.
    const double quarter =
        PlayedLevel(PlayAndStop(music, {1.0f, 1.0f}, [](wrappers::COpenALSndMgr& m) { m.SetMusicVolume(0.25f); }));
    EXPECT_NEAR(0.25, quarter / full, 0.03);
    const double effect = PlayedLevel(PlayAndStop(Tone, {1.0f, 0.1f}));
    EXPECT_NEAR(ToneLevel, effect, 0.05 * ToneLevel);
}

TEST_F(PlaybackTest, StoppedMusicResumesWhereItStood)
{
    // The menus stop their music whenever a jump runs over them: coming back
    // must not start it from the beginning.
    const std::string music = m_Dir.File("tune.ogg");
    WriteTone(music, 0.4);
    xml::CNodePtr config(new xml::CNode("SoundSystem", false));
    for (const char* volume : {"SoundVolume", "MusicVolume", "DefaultReferenceDistance", "DefaultGain", "DefaultRolloffFactor"})
        config->AddAttribute(volume, "1");
    {
        wrappers::COpenALSndMgr manager(config);
        auto sound = manager.CreateSound(music);
        sound->Play(false);
        WaitForMixed(0.15);
        sound->Stop();
        EXPECT_FALSE(sound->IsPlaying());
        WaitForMixed(0.2);
        sound->Play(false);
        sound->Play(false); // playing music goes on, it does not restart
        WaitForMixed(0.6);
        EXPECT_FALSE(sound->IsPlaying()) << "it ended";
    }
    // The tune sounded for its own length in all, not once and a half.
    const std::vector<float> out = Read();
    const double window = 0.01;
    double sounding = 0.0;
    for (double t = 0.0; t + window <= Duration(out); t += window)
        sounding += Rms(out, t, t + window) > 0.05 ? window : 0.0;
    EXPECT_NEAR(0.4, sounding, 0.05);
}
