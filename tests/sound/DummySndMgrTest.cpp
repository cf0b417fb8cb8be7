#include <gtest/gtest.h>

#include "sound/DummySndMgr.h"
#include "sound/LoadSoundTemplate.h"
#include "support/CapturingLogMgr.h"

using sds::CDummySndMgr;
using sds::CVector;

TEST(DummySndMgr, AcceptsEveryCallAndStaysSilent)
{
    CCapturingLogMgr log;
    {
        CDummySndMgr manager;
        EXPECT_EQ(&manager, sds::ISndMgr::GetSingleton());
        EXPECT_TRUE(log.Has("Dummy SndMgr is created"));

        // Files are never looked at: a missing one gives the one shared sound.
        const auto sound = manager.CreateSound("../data/sounds/missing.ogg");
        EXPECT_EQ(sound, manager.CreateSound("other.wav"));
        const auto soundTemplate = manager.CreateSoundTemplate("missing.wav");
        EXPECT_EQ(soundTemplate, manager.CreateSoundTemplate("other.wav"));
        EXPECT_EQ(sound, soundTemplate->CreateSound(CVector(1, 2, 3), CVector::ZERO));

        sound->SetPosition(CVector(1, 2, 3));
        sound->Play(true);
        EXPECT_FALSE(sound->IsPlaying());
        EXPECT_EQ(CVector::ZERO, sound->GetPosition());

        soundTemplate->SetGain(0.5f);
        EXPECT_EQ(0.0f, soundTemplate->GetGain());
        EXPECT_EQ(0.0f, soundTemplate->GetReferenceDistance());
        EXPECT_EQ(0.0f, soundTemplate->GetRolloffFactor());
        EXPECT_EQ("", soundTemplate->GetFileName());

        manager.SetVolume(1.0f);
        manager.SetMusicVolume(1.0f);
        manager.SetMute(false);
        EXPECT_TRUE(manager.IsMuted());
        EXPECT_EQ(0.0f, manager.GetVolume());
        EXPECT_EQ(0.0f, manager.GetMusicVolume());
    }
    EXPECT_TRUE(log.Has("Dummy SndMgr is destroyed"));
    EXPECT_EQ(nullptr, sds::ISndMgr::GetSingleton());
}

TEST(LoadSoundTemplate, WorksWithTheSilentManagerEvenForAMissingFile)
{
    CCapturingLogMgr log;
    CDummySndMgr manager;
    xml::CNodePtr descriptor(new xml::CNode("Hover", false));
    descriptor->AddAttribute("File", "../data/sounds/missing.wav");
    descriptor->AddAttribute("Gain", "0.5");
    EXPECT_TRUE(sds::LoadSoundTemplate(descriptor));
}

TEST(LoadSoundTemplate, RefusesAMissingDescriptorOrFile)
{
    CCapturingLogMgr log;
    CDummySndMgr manager;
    try {
        sds::LoadSoundTemplate(nullptr);
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_STREQ("Conf && \"xml tag should exist\"", e.what());
    }
    xml::CNodePtr descriptor(new xml::CNode("Click", false));
    EXPECT_THROW(sds::LoadSoundTemplate(descriptor), xml::CNoNodeException);
}
