#pragma once

#include <string>

#include "core/Quaternion.h"

namespace sds {

// One element of a screen overlay. Positions and sizes are in the units of the
// element's metrics mode.
class IOverlayElement
{
public:
    virtual ~IOverlayElement() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string GetCaption() const = 0;
    virtual void SetMaterialName(const std::string& name) = 0;
    virtual std::string GetMaterialName() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetPosition(float left, float top) = 0;
    virtual float GetLeft() const = 0;
    virtual float GetTop() const = 0;
    virtual float GetHeight() const = 0;
    virtual float GetWidth() const = 0;
    // Red, green, blue, alpha.
    virtual void SetColour(const CFourFloats& colour) = 0;
    virtual CFourFloats GetColour() const = 0;
};

} // namespace sds
