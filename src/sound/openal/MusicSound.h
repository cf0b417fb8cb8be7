#pragma once

#include <memory>

#include "sound/ISound.h"

namespace wrappers {

class COpenALSndMgr;
namespace details {
class CMusicStream;
}

// A music voice over a cached stream. Sounds of one file share the stream:
// stopping one stops them all, and playing again resumes where it stopped.
// Position, velocity and distances do not apply.
class CMusicSound : public sds::ISound
{
public:
    CMusicSound(COpenALSndMgr& manager, const std::shared_ptr<details::CMusicStream>& stream);
    // Stops the stream and drops it from the manager's cache, so the next sound
    // of the file decodes it again.
    ~CMusicSound() override;

    void Play(bool loop) override;
    void Stop() override;
    // The stream's volume until the next change of the music volume.
    void SetGain(float gain) override;
    void SetReferenceDistance(float) override {}
    void SetRolloffFactor(float) override {}
    bool IsPlaying() const override;
    sds::CVector GetPosition() const override { return sds::CVector::ZERO; }
    void SetPosition(const sds::CVector&) override {}
    void SetVelocity(const sds::CVector&) override {}

private:
    COpenALSndMgr* m_Manager;
    std::weak_ptr<const bool> m_ManagerLife;
    std::shared_ptr<details::CMusicStream> m_Stream;
};

} // namespace wrappers
