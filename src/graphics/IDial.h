#pragma once

#include <memory>
#include <string>

namespace sds {

// An instrument face drawn into a texture, whose material a model shows (the
// altimeters). The analog kind turns a needle, the digital kind shows a text.
class IDial
{
public:
    // The material that shows the dial's texture; every dial has its own.
    virtual std::string GetMaterialName() const = 0;
    // Turns the needle to the angle (degrees, absolute, positive about the
    // face's up axis); the digital dial ignores it.
    virtual void SetValue(float degrees) = 0;
    // Shows the text in the read-out; the analog dial only keeps it.
    virtual void SetText(const std::string& text) = 0;
    virtual ~IDial() = default;
};

typedef std::shared_ptr<IDial> CDialPtr;

} // namespace sds
