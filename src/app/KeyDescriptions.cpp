#include "app/KeyDescriptions.h"

#include <algorithm>
#include <map>
#include <vector>

#include "app/EventNames.h"
#include "core/Helpers.h"

namespace sds {

namespace {

const char* const GLOBAL_MODE = "Global";

void Append(std::string& text, const std::string& separator, const std::string& part)
{
    if (part.empty())
        return;
    if (!text.empty())
        text += separator;
    text += part;
}

std::string DescribeAxis(const std::string& token)
{
    static const std::map<std::int32_t, const char*> names = {
        {AXIS_X, "mouse left-right"}, {AXIS_Y, "mouse forward-back"}, {AXIS_Z, "mouse wheel"},
        {AXIS_XP, "mouse right"},     {AXIS_XCP, "mouse right"},      {AXIS_XN, "mouse left"},
        {AXIS_XCN, "mouse left"},     {AXIS_YP, "mouse back"},        {AXIS_YCP, "mouse back"},
        {AXIS_YN, "mouse forward"},   {AXIS_YCN, "mouse forward"},    {AXIS_ZP, "mouse wheel up"},
        {AXIS_ZCP, "mouse wheel up"}, {AXIS_ZN, "mouse wheel down"},  {AXIS_ZCN, "mouse wheel down"},
    };
    const auto found = names.find(ParseAxis(token).Type);
    return found == names.end() ? token : found->second;
}

std::string DescribeKey(const std::string& token)
{
    static const std::map<std::string, std::string> names = {
        {"LeftMouseBtn", "left mouse button"},
        {"RightMouseBtn", "right mouse button"},
        {"MiddleMouseBtn", "middle mouse button"},
        {"Left", "Left arrow"},
        {"Right", "Right arrow"},
        {"Up", "Up arrow"},
        {"Down", "Down arrow"},
        {"Pgup", "Page Up"},
        {"Pgdown", "Page Down"},
        {"Sysrq", "Print Screen"},
        {"Escape", "Esc"},
        {"Rcontrol", "right Ctrl"},
        {"Lcontrol", "left Ctrl"},
        {"RightShift", "right Shift"},
        {"LeftShift", "left Shift"},
    };
    std::string name = token;
    std::string when;
    for (const char* transition : {"Pressed ", "Released "}) {
        const std::string prefix = transition;
        if (name.compare(0, prefix.size(), prefix) == 0) {
            name = TrimBlanks(name.substr(prefix.size()));
            when = prefix == "Released " ? " (on release)" : "";
        }
    }
    if (ParseKey(name).Type == KEY_NONE && ParseAxis(name).Type != AXIS_NONE)
        return DescribeAxis(name);
    const auto found = names.find(name);
    if (found != names.end())
        name = found->second;
    else if (name.compare(0, 8, "MouseBtn") == 0)
        name = "mouse button " + name.substr(8);
    else if (name.compare(0, 6, "Numpad") == 0 && name.size() > 6)
        name = "Numpad " + name.substr(6);
    return name + when;
}

// The "Seq" texts of the mode's bindings of the action, discrete then analog.
std::vector<std::string> SeqsOf(const xml::CNodePtr& mode, const std::string& action)
{
    std::vector<std::string> seqs;
    for (const char* kind : {"Discrete", "Analog"}) {
        if (!mode->HasChild(kind))
            continue;
        xml::ForEachChild(*mode->GetChild(kind), "Binding", [&](const xml::CNodePtr& binding) {
            if (binding->GetAttribute("Name")->GetValue() == action)
                seqs.push_back(binding->GetAttribute("Seq")->GetValue());
        });
    }
    return seqs;
}

} // namespace

std::string DescribeSeq(const std::string& seq)
{
    std::string text;
    for (const std::string& alternative : SplitAtAnyOf(seq, ";")) {
        std::vector<std::string> names;
        for (const std::string& part : SplitAtAnyOf(alternative, ","))
            if (!DescribeKey(TrimBlanks(part)).empty())
                names.push_back(DescribeKey(TrimBlanks(part)));
        // "Ctrl+R", but "left mouse button + mouse forward-back".
        const bool words = std::any_of(names.begin(), names.end(),
                                       [](const std::string& name) { return name.find(' ') != std::string::npos; });
        std::string keys;
        for (const std::string& name : names)
            Append(keys, words ? " + " : "+", name);
        Append(text, " or ", keys);
    }
    return text;
}

std::string DescribeKeys(const xml::CNodePtr& bindings, const std::string& mode, const std::string& action)
{
    std::vector<std::string> seqs;
    if (bindings->HasChildById("Mode", mode, "Name"))
        seqs = SeqsOf(bindings->GetChildById("Mode", mode, "Name"), action);
    if (seqs.empty() && mode != GLOBAL_MODE && bindings->HasChildById("Mode", GLOBAL_MODE, "Name"))
        seqs = SeqsOf(bindings->GetChildById("Mode", GLOBAL_MODE, "Name"), action);
    std::string text;
    for (const std::string& seq : seqs)
        Append(text, " or ", DescribeSeq(seq));
    return text;
}

} // namespace sds
