#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <tuple>

#include <AL/al.h>

#include "sound/DummySndMgr.h"
#include "sound/LoadSoundTemplate.h"
#include "sound/WavBuilder.h"
#include "sound/WaveOutput.h"
#include "sound/openal/OpenALSndMgr.h"
#include "sound/openal/OpenALSound.h"
#include "sound/openal/SndMgrFactory.h"
#include "support/OpenALSources.h"
#include "core/XmlFile.h"
#include "support/CapturingLogMgr.h"
#include "support/MessageCapture.h"
#include "support/TempDir.h"

using sds::CVector;
using sds::ISndMgr;
using wrappers::COpenALSndMgr;
using wrappers::COpenALSound;

namespace {

const std::string Tone = "../data/sounds/tone.wav";

xml::CNodePtr SoundSystem(const std::string& soundVolume = "1", const std::string& defaultGain = "1",
                          const std::string& referenceDistance = "1", const std::string& rolloffFactor = "1")
{
    xml::CNodePtr node(new xml::CNode("SoundSystem", false));
    node->AddAttribute("Enabled", "true");
    node->AddAttribute("SoundVolume", soundVolume);
    node->AddAttribute("MusicVolume", "1");
    node->AddAttribute("DefaultReferenceDistance", referenceDistance);
    node->AddAttribute("DefaultGain", defaultGain);
    node->AddAttribute("DefaultRolloffFactor", rolloffFactor);
    return node;
}

ALuint SourceOf(const std::shared_ptr<sds::ISound>& sound)
{
    const auto* openAL = dynamic_cast<const COpenALSound*>(sound.get());
    return openAL ? openAL->GetSource() : 0;
}

float SourceFloat(const std::shared_ptr<sds::ISound>& sound, ALenum what)
{
    ALfloat value = -1.0f;
    alGetSourcef(SourceOf(sound), what, &value);
    return value;
}

class OpenALSndMgrTest : public ::testing::Test
{
protected:
    std::string Write(const std::string& name, const wavbuilder::CBytes& bytes)
    {
        const std::string path = m_Dir.File(name);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    CCapturingLogMgr m_Log;
    CTempDir m_Dir;
};

} // namespace

TEST_F(OpenALSndMgrTest, OpensTheDefaultDeviceAndClosesIt)
{
    {
        COpenALSndMgr manager(SoundSystem("0.1"));
        EXPECT_EQ(&manager, ISndMgr::GetSingleton());
        EXPECT_TRUE(m_Log.HasContaining("Sound device:0 "));
        EXPECT_TRUE(m_Log.HasContaining("(DEFAULT)"));
        EXPECT_TRUE(m_Log.HasContaining("Opened Device: "));
        EXPECT_TRUE(m_Log.Has("Sound manager resources are initialized"));
        EXPECT_FALSE(manager.IsMuted());
        EXPECT_FLOAT_EQ(0.1f, manager.GetVolume());
        EXPECT_FLOAT_EQ(1.0f, manager.GetMusicVolume());
    }
    EXPECT_TRUE(m_Log.Has("Sound manager resources are destroyed"));
    EXPECT_EQ(nullptr, ISndMgr::GetSingleton());
}

TEST_F(OpenALSndMgrTest, TheDefaultConfigurationOpensIt)
{
    CMessageCapture quiet;
    const xml::CNodePtr config = xml::LoadXmlFile("../conf/conf.xml")->GetChild("sds")->GetChild("SoundSystem");
    EXPECT_TRUE(config->GetAttribute("Enabled")->GetValue<bool>());
    COpenALSndMgr manager(config);
    EXPECT_FLOAT_EQ(0.1f, manager.GetVolume());
    EXPECT_FLOAT_EQ(0.1f, manager.GetMusicVolume());
}

TEST_F(OpenALSndMgrTest, StartUpFallsBackToSilenceAndSaysWhy)
{
    for (const char* key : {"SoundVolume", "MusicVolume", "DefaultReferenceDistance", "DefaultGain", "DefaultRolloffFactor"}) {
        SCOPED_TRACE(key);
        xml::CNodePtr config = SoundSystem();
        for (auto it = config->GetAttributes().begin(); it != config->GetAttributes().end(); ++it)
            if (it->first == key)
                it->second->SetValue("");
        EXPECT_THROW(COpenALSndMgr manager(config), xml::CBadValueException);

        xml::CNodePtr missing(new xml::CNode("SoundSystem", false));
        EXPECT_THROW(COpenALSndMgr manager(missing), xml::CNoNodeException);
    }

    xml::CNodePtr config(new xml::CNode("SoundSystem", false));
    config->AddAttribute("Enabled", "true");
    std::shared_ptr<ISndMgr> manager = wrappers::CreateSndMgr(config);
    EXPECT_TRUE(dynamic_cast<sds::CDummySndMgr*>(manager.get()));
    EXPECT_TRUE(m_Log.Has("Error: Open AL could not be created: SoundSystem does not have an attribute 'SoundVolume'"));
    manager.reset();

    config = SoundSystem();
    config->GetAttribute("Enabled")->SetValue("false");
    manager = wrappers::CreateSndMgr(config);
    EXPECT_TRUE(dynamic_cast<sds::CDummySndMgr*>(manager.get()));
    EXPECT_TRUE(m_Log.Has("No sound system is used (disabled in config)"));
    manager.reset();

    manager = wrappers::CreateSndMgr(SoundSystem());
    EXPECT_TRUE(dynamic_cast<COpenALSndMgr*>(manager.get()));
}

TEST_F(OpenALSndMgrTest, MissingFiles)
{
    COpenALSndMgr manager(SoundSystem());
    try {
        manager.CreateSound("../data/sounds/missing.wav");
        FAIL();
    } catch (const ISndMgr::CException& e) {
        EXPECT_STREQ("File does not exist: ../data/sounds/missing.wav", e.what());
    }
    EXPECT_THROW(manager.CreateSoundTemplate("../data/sounds/missing.wav"), ISndMgr::CException);

    // Missing music leaves the program without music, not without a level.
    std::shared_ptr<sds::ISound> music = manager.CreateSound("../data/sounds/missing.ogg");
    ASSERT_TRUE(music);
    music->Play(true);
    EXPECT_FALSE(music->IsPlaying());
    EXPECT_TRUE(m_Log.Has("Error: File does not exist: ../data/sounds/missing.ogg"));
}

TEST_F(OpenALSndMgrTest, MalformedWavFilesAreLoggedWithTheReasonAndStaySilent)
{
    using namespace wavbuilder;
    CBytes truncated = Mono16(64);
    truncated.resize(truncated.size() - 10);
    const std::vector<std::tuple<const char*, CBytes, const char*>> cases = {
        {"truncated.wav", truncated, "its 'data' chunk of 64 bytes runs past the end of the file (the file is truncated or damaged)"},
        {"float.wav", Riff({Chunk("fmt ", Format(3, 1, 22050, 32)), Chunk("data", Samples(8))}),
         "its sample format (format tag 3) is not supported"},
        {"24bit.wav", Riff({Chunk("fmt ", Format(1, 1, 22050, 24)), Chunk("data", Samples(9))}),
         "its sample format (1 channels of 24 bits) cannot be played"},
        {"empty.wav", Riff({Chunk("fmt ", Format(1, 1, 22050, 16)), Chunk("data", CBytes())}),
         "its data chunk holds no samples"},
        {"huge-chunk.wav", Riff({Chunk("fmt ", Format(1, 1, 22050, 16)), Chunk("LIST", Samples(4), 0x10000000)}),
         "its 'LIST' chunk of 268435456 bytes runs past the end of the file (the file is truncated or damaged)"},
        {"music.ogg", CBytes(64, 'O'), "it is not a RIFF/WAVE file"},
    };

    COpenALSndMgr manager(SoundSystem());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::get<0>(c));
        const std::string path = Write(std::get<0>(c), std::get<1>(c));
        // The callers (aircraft, landing and collision sounds from user files)
        // go on with sounds that play nothing.
        std::shared_ptr<sds::ISoundTemplate> sample;
        ASSERT_NO_THROW(sample = manager.CreateSoundTemplate(path));
        std::shared_ptr<sds::ISound> sound = sample->CreateSound(CVector::ZERO, CVector::ZERO);
        sound->Play(false);
        EXPECT_FALSE(sound->IsPlaying());
        if (path.compare(path.size() - 4, 4, ".wav") == 0) {
            std::shared_ptr<sds::ISound> effect;
            ASSERT_NO_THROW(effect = manager.CreateSound(path));
            effect->Play(true);
            EXPECT_FALSE(effect->IsPlaying());
        }
        const std::string logged = "Error: Could not load WAV file " + path + ": " + std::get<2>(c);
        EXPECT_EQ(1, std::count(m_Log.m_Lines.begin(), m_Log.m_Lines.end(), logged)) << "once per file";
        EXPECT_FALSE(m_Log.Has(path + " is loaded"));
    }
    // Silence takes no OpenAL source.
    EXPECT_EQ(0u, manager.GetSourcesInUse());
}

TEST_F(OpenALSndMgrTest, OneBufferPerFileAndOneSourcePerLivingSound)
{
    COpenALSndMgr manager(SoundSystem());
    auto first = manager.CreateSound(Tone);
    auto second = manager.CreateSound(Tone);
    EXPECT_EQ(1u, manager.GetBufferCount());
    EXPECT_EQ(2u, manager.GetBufferUseCount(Tone));
    EXPECT_NE(SourceOf(first), SourceOf(second));

    auto soundTemplate = manager.CreateSoundTemplate(Tone);
    auto third = soundTemplate->CreateSound(CVector::ZERO, CVector::ZERO);
    EXPECT_EQ(1u, manager.GetBufferCount());
    EXPECT_EQ(4u, manager.GetBufferUseCount(Tone));
    EXPECT_EQ(3u, manager.GetSourcesInUse());

    first.reset();
    second.reset();
    third.reset();
    soundTemplate.reset();
    EXPECT_EQ(0u, manager.GetBufferUseCount(Tone));
    EXPECT_EQ(0u, manager.GetSourcesInUse());
    // The samples stay loaded for the next sound of the file.
    EXPECT_EQ(1u, manager.GetBufferCount());
    EXPECT_EQ(1, std::count(m_Log.m_Lines.begin(), m_Log.m_Lines.end(), Tone + " is loaded"));
}

TEST_F(OpenALSndMgrTest, TenThousandSoundsLeaveTheSourcesWhereTheyStarted)
{
    COpenALSndMgr manager(SoundSystem());
    auto soundTemplate = manager.CreateSoundTemplate(Tone);
    const int freeBefore = FreeOpenALSources();
    ASSERT_GT(freeBefore, 0);
    for (int i = 0; i < 10000; ++i) {
        auto sound = i % 2 == 0 ? manager.CreateSound(Tone) : soundTemplate->CreateSound(CVector::ZERO, CVector::ZERO);
        ASSERT_NE(0u, SourceOf(sound)) << "at sound " << i;
    }
    EXPECT_EQ(freeBefore, FreeOpenALSources());
    EXPECT_EQ(0u, manager.GetSourcesInUse());
}

TEST_F(OpenALSndMgrTest, RunningOutOfSourcesGivesASilentSoundAndSaysSo)
{
    COpenALSndMgr manager(SoundSystem());
    std::vector<std::shared_ptr<sds::ISound>> held;
    for (int i = 0; i < 1000; ++i) {
        held.push_back(manager.CreateSound(Tone));
        if (SourceOf(held.back()) == 0)
            break;
    }
    ASSERT_EQ(0u, SourceOf(held.back())) << "OpenAL never ran out of sources";
    EXPECT_TRUE(m_Log.HasContaining("Error: alGenSources :"));
    EXPECT_TRUE(m_Log.Has("Error: No sound source is free: " + Tone + " stays silent"));
    held.back()->Play(false);
    EXPECT_FALSE(held.back()->IsPlaying());

    // No source was handed out twice.
    std::set<ALuint> sources;
    for (std::size_t i = 0; i + 1 < held.size(); ++i)
        EXPECT_TRUE(sources.insert(SourceOf(held[i])).second);

    held.erase(held.begin());
    EXPECT_NE(0u, SourceOf(manager.CreateSound(Tone)));
}

TEST_F(OpenALSndMgrTest, DefaultsTemplatesAndVolumeReachTheSource)
{
    COpenALSndMgr manager(SoundSystem("0.5", "0.8", "2", "3"));
    auto plain = manager.CreateSound(Tone);
    EXPECT_FLOAT_EQ(0.8f * 0.5f, SourceFloat(plain, AL_GAIN));
    EXPECT_FLOAT_EQ(2.0f, SourceFloat(plain, AL_REFERENCE_DISTANCE));
    EXPECT_FLOAT_EQ(3.0f, SourceFloat(plain, AL_ROLLOFF_FACTOR));

    // A descriptor with a gain and a distance; the rolloff stays the manager's.
    xml::CNodePtr descriptor(new xml::CNode("SndEngine", false));
    descriptor->AddAttribute("File", Tone);
    descriptor->AddAttribute("Gain", "0.5");
    descriptor->AddAttribute("ReferenceDistance", "20");
    auto soundTemplate = sds::LoadSoundTemplate(descriptor);
    EXPECT_EQ(Tone, soundTemplate->GetFileName());
    EXPECT_FLOAT_EQ(0.5f, soundTemplate->GetGain());
    EXPECT_FLOAT_EQ(20.0f, soundTemplate->GetReferenceDistance());
    EXPECT_FLOAT_EQ(3.0f, soundTemplate->GetRolloffFactor());
    auto engine = soundTemplate->CreateSound(CVector(1, 2, 3), CVector::ZERO);
    EXPECT_FLOAT_EQ(0.5f * 0.5f, SourceFloat(engine, AL_GAIN));
    EXPECT_FLOAT_EQ(20.0f, SourceFloat(engine, AL_REFERENCE_DISTANCE));
    EXPECT_FLOAT_EQ(3.0f, SourceFloat(engine, AL_ROLLOFF_FACTOR));
    EXPECT_EQ(CVector(1, 2, 3), engine->GetPosition());

    // The effect volume scales every living sound; its own gain stays its own.
    manager.SetVolume(1.0f);
    EXPECT_FLOAT_EQ(0.8f, SourceFloat(plain, AL_GAIN));
    EXPECT_FLOAT_EQ(0.5f, SourceFloat(engine, AL_GAIN));
    engine->SetGain(0.25f);
    manager.SetVolume(0.5f);
    EXPECT_FLOAT_EQ(0.125f, SourceFloat(engine, AL_GAIN));

    engine->SetPosition(CVector(4, 5, 6));
    EXPECT_EQ(CVector(4, 5, 6), engine->GetPosition());
    EXPECT_EQ(CVector::ZERO, plain->GetPosition());
}

TEST_F(OpenALSndMgrTest, MuteSilencesTheListenerAndKeepsTheVolumes)
{
    COpenALSndMgr manager(SoundSystem("0.3"));
    ALfloat gain = -1.0f;
    manager.SetMute(true);
    EXPECT_TRUE(manager.IsMuted());
    alGetListenerf(AL_GAIN, &gain);
    EXPECT_EQ(0.0f, gain);
    EXPECT_FLOAT_EQ(0.3f, manager.GetVolume());

    manager.SetMute(false);
    EXPECT_FALSE(manager.IsMuted());
    alGetListenerf(AL_GAIN, &gain);
    EXPECT_EQ(1.0f, gain);
    EXPECT_FLOAT_EQ(0.3f, manager.GetVolume());
}

TEST_F(OpenALSndMgrTest, SoundsThatOutliveTheManagerGoQuiet)
{
    const std::string musicFile = m_Dir.File("music.ogg");
    waveoutput::WriteTone(musicFile, 0.2);
    std::shared_ptr<sds::ISound> effect;
    std::shared_ptr<sds::ISound> music;
    std::shared_ptr<sds::ISoundTemplate> soundTemplate;
    {
        COpenALSndMgr manager(SoundSystem());
        effect = manager.CreateSound(Tone);
        music = manager.CreateSound(musicFile);
        soundTemplate = manager.CreateSoundTemplate(Tone);
    }
    // The next manager's sources must not be reached through the old sounds.
    COpenALSndMgr manager(SoundSystem());
    auto fresh = manager.CreateSound(Tone);
    fresh->Play(true);
    effect->Stop();
    music->Stop();
    effect->SetGain(0.0f);
    EXPECT_TRUE(fresh->IsPlaying());
    EXPECT_FLOAT_EQ(1.0f, SourceFloat(fresh, AL_GAIN));
    EXPECT_FALSE(effect->IsPlaying());
    EXPECT_FALSE(soundTemplate->CreateSound(CVector::ZERO, CVector::ZERO)->IsPlaying());
    effect.reset();
    music.reset();
    soundTemplate.reset();
    EXPECT_TRUE(fresh->IsPlaying());
    EXPECT_EQ(1u, manager.GetSourcesInUse());
}

TEST_F(OpenALSndMgrTest, MusicStreamsAreSharedPerFile)
{
    const std::string file = m_Dir.File("menu.ogg");
    waveoutput::WriteTone(file, 1.0);
    COpenALSndMgr manager(SoundSystem());

    auto first = manager.CreateSound(file);
    auto second = manager.CreateSound(file);
    EXPECT_EQ(1u, manager.GetStreamCount());
    EXPECT_EQ(0u, manager.GetBufferCount());
    first->Play(true);
    EXPECT_TRUE(second->IsPlaying());
    second->Stop();
    EXPECT_FALSE(first->IsPlaying());

    // Music has no place.
    first->SetPosition(CVector(1, 2, 3));
    first->SetVelocity(CVector(1, 2, 3));
    first->SetReferenceDistance(5.0f);
    first->SetRolloffFactor(5.0f);
    EXPECT_EQ(CVector::ZERO, first->GetPosition());

    // Releasing the first sound stops the music and drops the cache entry; the
    // second still holds the stream.
    second->Play(true);
    first.reset();
    EXPECT_FALSE(second->IsPlaying());
    EXPECT_EQ(0u, manager.GetStreamCount());
    second->Play(false);
    EXPECT_TRUE(second->IsPlaying());

    auto third = manager.CreateSound(file);
    EXPECT_EQ(1u, manager.GetStreamCount());
    EXPECT_EQ(2, std::count(m_Log.m_Lines.begin(), m_Log.m_Lines.end(), file + " is loaded"));
}

TEST_F(OpenALSndMgrTest, OnlyLowerCaseWavIsAnEffect)
{
    const std::string upper = m_Dir.File("TONE.WAV");
    waveoutput::WriteTone(upper, 0.1);
    COpenALSndMgr manager(SoundSystem());
    auto sound = manager.CreateSound(upper);
    EXPECT_EQ(1u, manager.GetStreamCount());
    EXPECT_EQ(0u, manager.GetBufferCount());
    EXPECT_EQ(0u, SourceOf(sound));
}

TEST_F(OpenALSndMgrTest, UndecodableMusicIsLoggedAndSilent)
{
    const std::string file = Write("broken.ogg", wavbuilder::CBytes(100, 'x'));
    COpenALSndMgr manager(SoundSystem());
    auto sound = manager.CreateSound(file);
    ASSERT_TRUE(sound);
    sound->Play(true);
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_TRUE(m_Log.HasContaining("Error: Could not load: " + file + " ("));
    EXPECT_EQ(0u, manager.GetStreamCount());
}

TEST_F(OpenALSndMgrTest, TheDefaultSoundsLoad)
{
    COpenALSndMgr manager(SoundSystem());
    for (const char* name : {"tone.wav", "click.wav", "over.wav", "airplane.wav"}) {
        const std::string file = std::string("../data/sounds/") + name;
        EXPECT_NO_THROW(manager.CreateSoundTemplate(file)) << file;
    }
    auto music = manager.CreateSound("../data/sounds/menu.ogg");
    music->Play(true);
    EXPECT_TRUE(music->IsPlaying());
    EXPECT_FALSE(m_Log.HasContaining("Error:"));
}
