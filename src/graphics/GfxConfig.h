#pragma once

#include <string>

#include "core/Node.h"
#include "core/Quaternion.h"

// Readers of the graphics configuration values that numbers alone do not check.
namespace sds {

// A colour text of up to four numbers red, green, blue, alpha separated by
// blanks; missing components are 1. An empty text throws the XML layer's
// "… has an empty value", anything else that is no such colour names the key.
CFourFloats ReadColour(const xml::CNodePtr& element, const std::string& key);

// The integer `key` of the element, which must lie in [low, high]: sizes and
// counts from files go straight into allocations. The first form requires the
// key, the second reads the default when it is missing.
int ReadIntInRange(const xml::CNodePtr& element, const std::string& key, int low, int high);
int ReadIntInRange(const xml::CNodePtr& element, const std::string& key, int defaultValue, int low, int high);

} // namespace sds
