#include "jumper/DigitalAltimeter.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "core/ILogMgr.h"
#include "core/UnitConverter.h"

namespace sds {

const char* const CDigitalAltimeter::kDefaultFormat = "%4.0f";

namespace {

// Reads up to three digits at `i`; false when the number exceeds the bound.
bool ReadBoundedNumber(const std::string& text, std::size_t& i, int bound)
{
    int value = 0;
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + (text[i] - '0');
        ++i;
        if (++digits > 3)
            return false;
    }
    return value <= bound;
}

} // namespace

bool CDigitalAltimeter::IsSafeFormat(const std::string& format)
{
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        ++i;
        if (i < format.size() && format[i] == '%')
            continue;
        while (i < format.size() && std::string("-+ #0").find(format[i]) != std::string::npos)
            ++i;
        if (!ReadBoundedNumber(format, i, kMaxFieldWidth))
            return false;
        if (i < format.size() && format[i] == '.') {
            ++i;
            if (!ReadBoundedNumber(format, i, kMaxFieldWidth))
                return false;
        }
        if (i >= format.size() || std::string("feg").find(format[i]) == std::string::npos)
            return false;
        ++conversions;
    }
    return conversions == 1;
}

CDigitalAltimeter::CDigitalAltimeter(const xml::CNodePtr& model, const xml::CNodePtr& place,
                                     const CGfxObjPtr& body, float referenceHeight)
    : CAltimeter(model, place, body, referenceHeight),
      m_Format(Parameters(model)->GetAttribute("Format")->GetValue())
{
    // The format comes from a file and goes to printf: anything but one float
    // conversion could read past the argument or write through it.
    if (!IsSafeFormat(m_Format)) {
        ILogMgr::GetSingleton()->LogWarning("Altimeter format '" + m_Format + "' is not a single float conversion; " +
                                            "using '" + kDefaultFormat + "'");
        m_Format = kDefaultFormat;
    }
}

void CDigitalAltimeter::Update(const CTiming&)
{
    Dial().SetText(GetReadout());
}

std::string CDigitalAltimeter::GetReadout() const
{
    float value = GetAltitude();
    if (const CUnitConverter* units = CUnitConverter::GetSingleton())
        value = units->ConvertToDisplay(value, "Distance");
    // Rounded up to tens, so that the read-out never shows less than the height.
    value = std::ceil(value / 10.0f) * 10.0f;
    // Just below the reference the ceiling is -0, which printf shows as "-0".
    if (value == 0.0f)
        value = 0.0f;
    char text[128];
    std::snprintf(text, sizeof text, m_Format.c_str(), static_cast<double>(value));
    return text;
}

} // namespace sds
