#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "sound/ISndMgr.h"

// A sound that counts what is done to it.
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
    sds::CVector GetPosition() const override { return sds::CVector::ZERO; }
    void SetPosition(const sds::CVector&) override {}
    void SetVelocity(const sds::CVector&) override {}

    int m_Plays = 0;
    int m_Stops = 0;
    bool m_Playing = false;
    bool m_Looping = false;
};

// A sound service that hands out counting sounds, or fails on request.
class CFakeSndMgr : public sds::ISndMgr
{
public:
    std::shared_ptr<sds::ISoundTemplate> CreateSoundTemplate(const std::string& file) override
    {
        throw sds::CException("No templates here: " + file);
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

    bool m_Fail = false;
    float m_Volume = 1.0f;
    float m_MusicVolume = 1.0f;
    std::vector<std::string> m_Files;
    std::vector<std::shared_ptr<CFakeSound>> m_Sounds;
};
