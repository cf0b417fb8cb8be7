#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "sound/ISound.h"

namespace wrappers {

class COpenALSndMgr;

// A positional effect playing one OpenAL source of the manager's pool. Its
// source goes back to the pool when the sound is released; once the manager is
// gone every call does nothing.
class COpenALSound : public sds::ISound
{
public:
    COpenALSound(COpenALSndMgr& manager, std::size_t sourceIndex);
    ~COpenALSound() override;

    void Play(bool loop) override;
    void Stop() override;
    void SetGain(float gain) override;
    void SetReferenceDistance(float distance) override;
    void SetRolloffFactor(float factor) override;
    bool IsPlaying() const override;
    // The last position set, even when OpenAL refused it.
    sds::CVector GetPosition() const override { return m_Position; }
    void SetPosition(const sds::CVector& position) override;
    void SetVelocity(const sds::CVector& velocity) override;

    // The OpenAL source, or 0 once the manager is gone.
    std::uint32_t GetSource() const;

private:
    COpenALSndMgr* m_Manager;
    std::weak_ptr<const bool> m_ManagerLife;
    std::size_t m_SourceIndex;
    std::uint32_t m_Source;
    sds::CVector m_Position;
};

} // namespace wrappers
