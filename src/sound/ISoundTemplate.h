#pragma once

#include <string>

#include <memory>

#include "core/Vector.h"
#include "sound/ISound.h"

namespace sds {

// A loaded sound with default parameters from which positioned sounds are made.
// Changing a default affects only the sounds made afterwards.
class ISoundTemplate
{
public:
    virtual std::shared_ptr<ISound> CreateSound(const CVector& position, const CVector& velocity) = 0;
    virtual void SetGain(float gain) = 0;
    virtual void SetReferenceDistance(float distance) = 0;
    virtual void SetRolloffFactor(float factor) = 0;
    virtual float GetGain() const = 0;
    virtual float GetReferenceDistance() const = 0;
    virtual float GetRolloffFactor() const = 0;
    virtual std::string GetFileName() const = 0;
    virtual ~ISoundTemplate() = default;
};

} // namespace sds
