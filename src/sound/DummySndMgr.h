#pragma once

#include <memory>

#include "sound/ISndMgr.h"

namespace sds {

// The silent sound service: every call is accepted and nothing is heard. One
// template and one sound serve every request for the whole run.
class CDummySndMgr : public ISndMgr
{
public:
    class CDummySound : public ISound
    {
    public:
        void Play(bool) override {}
        void Stop() override {}
        void SetGain(float) override {}
        void SetReferenceDistance(float) override {}
        void SetRolloffFactor(float) override {}
        bool IsPlaying() const override { return false; }
        CVector GetPosition() const override { return CVector::ZERO; }
        void SetPosition(const CVector&) override {}
        void SetVelocity(const CVector&) override {}
    };

    class CDummySoundTemplate : public ISoundTemplate
    {
    public:
        CDummySoundTemplate();
        std::shared_ptr<ISound> CreateSound(const CVector&, const CVector&) override { return m_Sound; }
        void SetGain(float) override {}
        void SetReferenceDistance(float) override {}
        void SetRolloffFactor(float) override {}
        float GetGain() const override { return 0.0f; }
        float GetReferenceDistance() const override { return 0.0f; }
        float GetRolloffFactor() const override { return 0.0f; }
        std::string GetFileName() const override { return std::string(); }

    private:
        std::shared_ptr<CDummySound> m_Sound;
    };

    CDummySndMgr();
    ~CDummySndMgr() override;

    std::shared_ptr<ISoundTemplate> CreateSoundTemplate(const std::string&) override { return m_Template; }
    std::shared_ptr<ISound> CreateSound(const std::string&) override;
    void SetMute(bool) override {}
    bool IsMuted() const override { return true; }
    void SetVolume(float) override {}
    void SetMusicVolume(float) override {}
    float GetVolume() const override { return 0.0f; }
    float GetMusicVolume() const override { return 0.0f; }
    void SetListener(const CVector&, const CVector&, const CVector&, const CVector&) override {}

private:
    std::shared_ptr<CDummySoundTemplate> m_Template;
};

} // namespace sds
