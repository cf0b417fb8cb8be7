#pragma once

#include <string>

#include "core/Node.h"

namespace sds {
namespace GuiStates {

// The display form of "Info" rows (presets, jump records, drop-zone
// descriptions): "<Name>: <value>" with values that carry "Units" converted
// to the user's unit system.

// The row's value as a number: false for an empty text or one that is not a
// single finite number.
bool TryReadInfoValue(const xml::CNode& info, float& value);
// The same, but such a text throws xml::CBadValueException.
float ReadInfoValue(const xml::CNode& info);
// The value in the unit of that category ("Speed", "Distance", ...) of the
// user's unit system, with its label; empty for a category the system lacks.
std::string FormatValueByCategory(float value, const std::string& category);
// One row and the suffix; nothing for a row with an empty value. A value that
// cannot be converted (no such unit, not a number) is shown as stored.
std::string FormatInfoLine(const xml::CNode& info, const std::string& suffix, bool showName = true);
// Every child `childName` of `element`, one line each, in file order.
std::string FormatInfoLines(const xml::CNode& element, const std::string& childName);

} // namespace GuiStates
} // namespace sds
