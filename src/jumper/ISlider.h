#pragma once

#include <memory>

#include "core/Node.h"
#include "jumper/VisObj.h"

namespace sds {

// The slider: the square of fabric that rides down the lines as the canopy opens.
class ISlider : public CVisObj
{
public:
    ~ISlider() override = default;
    virtual void SlideDown() = 0;
    virtual void Unwrap() = 0;
    // Flying as on an open canopy, at "ContainerOffset" in its parent's space.
    virtual void ResetToContainer() = 0;
    // The "Slider" element it was built from.
    virtual xml::CNodePtr GetConfig() const = 0;
};

typedef std::shared_ptr<ISlider> CSliderPtr;

} // namespace sds
