#pragma once

#include <memory>

#include "core/Quaternion.h"
#include "graphics/IGfxObj.h"

namespace sds {

// A fading ribbon drawn behind moving objects, one chain per object, with an
// optional billboard at the head of the first.
class IRibbonTrail
{
public:
    // Starts trailing the object; an object without a scene node throws.
    virtual void AddObject(const CGfxObjPtr& object) = 0;
    virtual void RemoveObject(const CGfxObjPtr& object) = 0;
    // Chain 0's colour at its head (r, g, b, a).
    virtual CFourFloats GetInitialColour() const = 0;
    // Dims the heads to their initial colours times the factor, clamped to [0, 1].
    virtual void SetIntensity(float factor) = 0;
    virtual ~IRibbonTrail() = default;
    virtual void SetInitialColour(unsigned chain, const CFourFloats& colour) = 0;
    // Colour change per second.
    virtual void SetColourChange(unsigned chain, const CFourFloats& change) = 0;
    virtual void SetInitialWidth(unsigned chain, float width) = 0;
    // Width change per second.
    virtual void SetWidthChange(unsigned chain, float change) = 0;
};

typedef std::shared_ptr<IRibbonTrail> CRibbonTrailPtr;

} // namespace sds
