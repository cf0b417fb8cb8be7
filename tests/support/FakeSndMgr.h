#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "sound/ISndMgr.h"

// A sound that counts what is done to it and stays "playing" until stopped.
class CFakeSound : public sds::ISound
{
public:
    void Play(bool loop) override
    {
        ++m_Plays;
        m_Playing = true;
        m_Looping = loop;
    }
    void Stop() override
    {
        ++m_Stops;
        m_Playing = false;
    }
    void SetGain(float) override {}
    void SetReferenceDistance(float) override {}
    void SetRolloffFactor(float) override {}
    bool IsPlaying() const override { return m_Playing; }
    sds::CVector GetPosition() const override { return m_Position; }
    void SetPosition(const sds::CVector& position) override { m_Position = position; }
    void SetVelocity(const sds::CVector&) override {}

    int m_Plays = 0;
    int m_Stops = 0;
    bool m_Playing = false;
    bool m_Looping = false;
    sds::CVector m_Position;
};

// A template whose sounds are kept for the test to look at.
class CFakeSoundTemplate : public sds::ISoundTemplate
{
public:
    explicit CFakeSoundTemplate(const std::string& file) : m_File(file) {}
    std::shared_ptr<sds::ISound> CreateSound(const sds::CVector& position, const sds::CVector&) override
    {
        auto sound = std::make_shared<CFakeSound>();
        sound->m_Position = position;
        m_Sounds.push_back(sound);
        return sound;
    }
    void SetGain(float gain) override { m_Gain = gain; }
    void SetReferenceDistance(float distance) override { m_ReferenceDistance = distance; }
    void SetRolloffFactor(float) override {}
    float GetGain() const override { return m_Gain; }
    float GetReferenceDistance() const override { return m_ReferenceDistance; }
    float GetRolloffFactor() const override { return 1.0f; }
    std::string GetFileName() const override { return m_File; }

    std::string m_File;
    float m_Gain = 1.0f;
    float m_ReferenceDistance = 1.0f;
    std::vector<std::shared_ptr<CFakeSound>> m_Sounds;
};

// A sound service that hands out counting sounds and templates, keeps the
// volumes it is given, or fails on request.
class CFakeSndMgr : public sds::ISndMgr
{
public:
    std::shared_ptr<sds::ISoundTemplate> CreateSoundTemplate(const std::string& file) override
    {
        if (m_Fail)
            throw sds::CException("Cannot decode " + file);
        m_Templates.push_back(std::make_shared<CFakeSoundTemplate>(file));
        return m_Templates.back();
    }
    std::shared_ptr<sds::ISound> CreateSound(const std::string& file) override
    {
        if (m_Fail)
            throw sds::CException("Cannot decode " + file);
        m_Files.push_back(file);
        m_Sounds.push_back(std::make_shared<CFakeSound>());
        return m_Sounds.back();
    }
    void SetMute(bool) override {}
    bool IsMuted() const override { return false; }
    void SetVolume(float volume) override { m_Volume = volume; }
    void SetMusicVolume(float volume) override { m_MusicVolume = volume; }
    float GetVolume() const override { return m_Volume; }
    float GetMusicVolume() const override { return m_MusicVolume; }
    void SetListener(const sds::CVector&, const sds::CVector&, const sds::CVector&, const sds::CVector&) override {}

    // The sounds started from templates of that file.
    std::vector<std::shared_ptr<CFakeSound>> SoundsOf(const std::string& file) const
    {
        std::vector<std::shared_ptr<CFakeSound>> sounds;
        for (const auto& t : m_Templates)
            if (t->m_File == file)
                sounds.insert(sounds.end(), t->m_Sounds.begin(), t->m_Sounds.end());
        return sounds;
    }

    bool m_Fail = false;
    float m_Volume = 1.0f;
    float m_MusicVolume = 1.0f;
    std::vector<std::string> m_Files;
    std::vector<std::shared_ptr<CFakeSound>> m_Sounds;
    std::vector<std::shared_ptr<CFakeSoundTemplate>> m_Templates;
};
