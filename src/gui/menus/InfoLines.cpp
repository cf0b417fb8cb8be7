#include "gui/menus/InfoLines.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "core/UnitConverter.h"

namespace sds {
namespace GuiStates {

bool TryReadInfoValue(const xml::CNode& info, float& value)
{
    const std::string text = info.GetValue();
    char* end = nullptr;
    const float read = std::strtof(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(read))
        return false;
    while (std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (*end != '\0')
        return false;
    value = read;
    return true;
}

float ReadInfoValue(const xml::CNode& info)
{
    float value = 0.0f;
    if (!TryReadInfoValue(info, value))
        throw xml::CBadValueException(info.GetPath() + " = '" + info.GetValue() + "' is not a number");
    return value;
}

std::string FormatValueByCategory(float value, const std::string& category)
{
    for (const char* known : CUnitConverter::kCategories)
        if (category == known) {
            const CUnitConverter& units = *CUnitConverter::GetSingleton();
            return units.FormatValue(units.GetUnit(category), value);
        }
    return std::string();
}

std::string FormatInfoLine(const xml::CNode& info, const std::string& suffix, bool showName)
{
    const std::string stored = info.GetValue();
    if (stored.empty())
        return std::string();
    std::string line;
    if (showName && info.HasAttribute("Name"))
        line = info.GetAttribute("Name")->GetValue() + ": ";
    // A value that is not a number is shown as it stands: the reader sees what is wrong.
    std::string value;
    float number = 0.0f;
    if (info.HasAttribute("Units") && TryReadInfoValue(info, number))
        value = FormatValueByCategory(number, info.GetAttribute("Units")->GetValue());
    return line + (value.empty() ? stored : value) + suffix;
}

std::string FormatInfoLines(const xml::CNode& element, const std::string& childName)
{
    std::string lines;
    xml::ForEachChild(element, childName,
                      [&](const xml::CNodePtr& info) { lines += FormatInfoLine(*info, "\n"); });
    return lines;
}

} // namespace GuiStates
} // namespace sds
