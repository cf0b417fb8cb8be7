#include "graphics/GfxConfig.h"

#include <cmath>
#include <sstream>

#include "core/Exception.h"
#include "core/Helpers.h"

namespace sds {

CFourFloats ReadColour(const xml::CNodePtr& element, const std::string& key)
{
    const xml::CNodePtr attribute = element->GetAttribute(key);
    const std::string text = attribute->GetValue();
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw xml::CBadValueException(attribute->GetPath() + " has an empty value");
    CFourFloats colour;
    colour.v[0] = colour.v[1] = colour.v[2] = colour.v[3] = 1.0f;
    std::istringstream in(text);
    int count = 0;
    float value = 0.0f;
    while (count < 4 && in >> value && std::isfinite(value))
        colour.v[count++] = value;
    in >> std::ws;
    if (count == 0 || !in.eof())
        throw xml::CBadValueException(attribute->GetPath() + " is no colour of up to four numbers: '" + text + "'");
    return colour;
}

int ReadIntInRange(const xml::CNodePtr& element, const std::string& key, int low, int high)
{
    const xml::CNodePtr attribute = element->GetAttribute(key);
    const int value = attribute->GetValue<int>();
    if (value < low || value > high)
        throw CException(attribute->GetPath() + " must be from " + ToString(low) + " to " + ToString(high) + ", not " +
                         ToString(value));
    return value;
}

int ReadIntInRange(const xml::CNodePtr& element, const std::string& key, int defaultValue, int low, int high)
{
    return element->HasAttribute(key) ? ReadIntInRange(element, key, low, high) : defaultValue;
}

} // namespace sds
