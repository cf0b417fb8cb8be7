#pragma once

#include <string>

#include "core/Node.h"

namespace sds {

// Prunes the configuration to the edition named by "Edition" of "Application":
// every element whose "Edition" (attribute, or child of that name) names another
// edition listed as "AvailableEdition" is removed with its subtree. Elements of
// editions that are not listed stay. Returns the chosen edition.
std::string SelectEdition(const xml::CNodePtr& configRoot);

} // namespace sds
