#pragma once

#include "core/Vector.h"

namespace sds {

// One playable voice. Made by the sound manager or a sound template and held by
// std::shared_ptr for as long as the voice is wanted; releasing it stops it.
class ISound
{
public:
    virtual void Play(bool loop) = 0;
    virtual void Stop() = 0;
    virtual void SetGain(float gain) = 0;
    virtual void SetReferenceDistance(float distance) = 0;
    virtual void SetRolloffFactor(float factor) = 0;
    virtual bool IsPlaying() const = 0;
    virtual CVector GetPosition() const = 0;
    virtual void SetPosition(const CVector& position) = 0;
    virtual void SetVelocity(const CVector& velocity) = 0;
    virtual ~ISound() = default;
};

} // namespace sds
