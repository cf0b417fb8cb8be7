#include "core/ConfigPath.h"

#include "core/Helpers.h"

namespace sds {

namespace {

bool Walk(xml::CNode& node, const std::vector<std::string>& steps, std::size_t index, bool create,
          const std::function<void(xml::CNode&)>& action)
{
    if (index == steps.size()) {
        action(node);
        return true;
    }
    const std::string& step = steps[index];
    if (step.empty())
        return false;

    xml::CNodePtr next;
    if (step[0] == '>') {
        const std::string name = step.substr(1);
        if (name.empty())
            return false;
        if (node.HasAttribute(name))
            next = node.GetAttribute(name);
        else if (create)
            next = node.AddAttribute(name, "");
        else
            return false;
    } else {
        if (node.HasChild(step))
            next = node.GetChild(step);
        else if (create)
            next = node.AddChild(step);
        else
            return false;
    }
    return Walk(*next, steps, index + 1, create, action);
}

bool Walk(const xml::CNodePtr& root, const std::string& path, bool create,
          const std::function<void(xml::CNode&)>& action)
{
    return root && WalkConfigPath(*root, SplitString(path, "->"), create, action);
}

} // namespace

bool WalkConfigPath(xml::CNode& node, const std::vector<std::string>& steps, bool create,
                    const std::function<void(xml::CNode&)>& action)
{
    return Walk(node, steps, 0, create, action);
}

float GetConfigFloat(const xml::CNodePtr& root, const std::string& path, float defaultValue)
{
    float result = defaultValue;
    Walk(root, path, false, [&](xml::CNode& node) { result = node.GetValueOr<float>(defaultValue); });
    return result;
}

std::string GetConfigString(const xml::CNodePtr& root, const std::string& path, const std::string& defaultValue)
{
    std::string result = defaultValue;
    Walk(root, path, false, [&](xml::CNode& node) { result = node.GetValue(); });
    return result;
}

bool GetConfigBool(const xml::CNodePtr& root, const std::string& path, bool defaultValue)
{
    bool result = defaultValue;
    Walk(root, path, false, [&](xml::CNode& node) { result = node.GetValue<bool>(); });
    return result;
}

void SetConfigString(const xml::CNodePtr& root, const std::string& path, const std::string& value)
{
    Walk(root, path, true, [&](xml::CNode& node) { node.SetValue(value); });
}

void SetConfigBool(const xml::CNodePtr& root, const std::string& path, bool value)
{
    SetConfigString(root, path, ToString(value));
}

void SetConfigFloat(const xml::CNodePtr& root, const std::string& path, float value)
{
    SetConfigString(root, path, ToString(value));
}

void SetConfigCount(const xml::CNodePtr& root, const std::string& path, unsigned int count)
{
    SetConfigString(root, path, ToString(count));
}

} // namespace sds

namespace xml {

void TrimNodeValues(CNode& node)
{
    static const char* const kBlank = " \t\n";
    const std::string value = node.GetValue();
    const std::string::size_type first = value.find_first_not_of(kBlank);
    if (first == std::string::npos)
        node.SetValue(std::string());
    else
        node.SetValue(value.substr(first, value.find_last_not_of(kBlank) - first + 1));
    for (const auto& child : node.GetChildren())
        TrimNodeValues(*child.second);
}

} // namespace xml
