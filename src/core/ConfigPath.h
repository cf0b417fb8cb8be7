#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/Node.h"

namespace sds {

// A path such as "Switches->>ReloadDZs" is split at "->"; a step that begins with
// ">" names an attribute, any other step a child. Getters give the default when a
// step is missing; setters create the missing steps.
float GetConfigFloat(const xml::CNodePtr& root, const std::string& path, float defaultValue);
std::string GetConfigString(const xml::CNodePtr& root, const std::string& path, const std::string& defaultValue);
bool GetConfigBool(const xml::CNodePtr& root, const std::string& path, bool defaultValue);
void SetConfigBool(const xml::CNodePtr& root, const std::string& path, bool value);
void SetConfigFloat(const xml::CNodePtr& root, const std::string& path, float value);
void SetConfigCount(const xml::CNodePtr& root, const std::string& path, unsigned int count);
void SetConfigString(const xml::CNodePtr& root, const std::string& path, const std::string& value);

// Walks the steps from `node`; with `create` the missing steps are added with
// empty values. True when `action` ran on the node at the end.
bool WalkConfigPath(xml::CNode& node, const std::vector<std::string>& steps, bool create,
                    const std::function<void(xml::CNode&)>& action);

} // namespace sds

namespace xml {

// Trims space, tab and line feed from both ends of the value of the node and of
// all its descendant elements (attribute values are kept).
void TrimNodeValues(CNode& node);

} // namespace xml
