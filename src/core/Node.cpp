#include "core/Node.h"

#include <algorithm>
#include <iostream>
#include <new>
#include <sstream>
#include <type_traits>

#include "core/Helpers.h"

namespace xml {

void PrintToStdErr(const std::string& text)
{
    std::cerr << text << std::endl;
}

CMessageHandler MessageHandler = PrintToStdErr;
CMessageHandler ErrorMessageHandler = PrintToStdErr;

namespace {

const char* TypeName(float) { return "float"; }
const char* TypeName(int) { return "int"; }
const char* TypeName(unsigned int) { return "unsigned int"; }

bool BeginsWithMinus(const std::string& text)
{
    const std::string::size_type first = text.find_first_not_of(" \t\n\v\f\r");
    return first != std::string::npos && text[first] == '-';
}

// Reads the leading number as a stream does. What a stream would turn into 0,
// T's limit or a wrapped value (no number, one beyond T's range, a negative one
// for an unsigned T) is reported and gives `fallback`.
template <class T>
T ReadNumber(const CNode& node, const std::string& text, T fallback)
{
    std::istringstream in(text);
    T value = T();
    const bool read = static_cast<bool>(in >> value);
    if (read && !(std::is_unsigned<T>::value && value != T() && BeginsWithMinus(text)))
        return value;
    // A failed read leaves 0 where there is no number and T's limit where it does not fit.
    if (!read && value == T())
        MessageHandler(node.GetPath() + " = '" + text + "' is not a number");
    else
        MessageHandler(node.GetPath() + " = '" + text + "' is out of range for " + TypeName(T()));
    return fallback;
}

// The first of the comma-separated keys that `node` carries as an attribute;
// empty when it carries none.
std::string FirstKeyOf(const CNode& node, const std::string& idNames)
{
    for (const std::string& key : sds::SplitAtAnyOf(idNames, ","))
        if (node.HasAttribute(key))
            return key;
    return std::string();
}

// The first of the children `childName` whose `key` has the value `id`.
CNodePtr FindById(const CNode::CNodeMap& children, const std::string& childName, const std::string& key,
                  const std::string& id)
{
    const auto range = children.equal_range(childName);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second->HasNamedValue(key, id))
            return it->second;
    return CNodePtr();
}

// True when one of the candidates of the pattern's name matches it.
bool AnyMatches(const CNode::CNodeMap& candidates, const CNode& pattern)
{
    const auto range = candidates.equal_range(pattern.GetName());
    for (auto it = range.first; it != range.second; ++it)
        if (Match(*it->second, pattern))
            return true;
    return false;
}

} // namespace

CNode::CNode(const std::string& name, bool isAttribute)
    : m_IsAttribute(isAttribute), m_Parent(nullptr), m_Name(name)
{
    if (name.empty())
        throw CNoNodeException("xml node with empty name");
}

CNode::CNode(const std::string& name, const std::string& value, CNode* parent, bool isAttribute)
    : m_IsAttribute(isAttribute), m_Parent(parent), m_Name(name), m_Value(value)
{
}

CNode::CNode(CParsed, CNode* parent, bool isAttribute)
    : CRefCounted(1), m_IsAttribute(isAttribute), m_Parent(parent)
{
}

CNode::CNode(const std::string& name, const char* value, CNode* parent, bool isAttribute)
    : CNode(name, std::string(value ? value : ""), parent, isAttribute)
{
}

CNode::CNode(const std::string& name, float value, CNode* parent, bool isAttribute)
    : CNode(name, sds::ToString(value), parent, isAttribute)
{
}

CNode::CNode(const std::string& name, int value, CNode* parent, bool isAttribute)
    : CNode(name, sds::ToString(value), parent, isAttribute)
{
}

CNode::CNode(const std::string& name, bool value, CNode* parent, bool isAttribute)
    : CNode(name, sds::ToString(value), parent, isAttribute)
{
}

CNode::CNode(const std::string& name, const sds::CVector& value, CNode* parent, bool isAttribute)
    : CNode(name, sds::VectorToString(value), parent, isAttribute)
{
}

void* CNode::operator new(std::size_t size)
{
    return CNodeArena::Allocate(size);
}

void CNode::operator delete(void* memory)
{
    CNodeArena::Free(memory);
}

CNode::~CNode()
{
    if (!m_Maps)
        return;
    // Children and attributes still held elsewhere live on as roots; their back
    // link must not dangle. Each is let go right after, while it is at hand,
    // and the last made first: a tree read from a file lies in memory in the
    // order it was made, and its end is what the caches still hold.
    for (CNodeMap* nodes : {&m_Maps->m_Children, &m_Maps->m_Attributes}) {
        for (auto entry = nodes->rbegin(); entry != nodes->rend();) {
            CNodePtr& node = entry->second;
            // The next one is fetched while this one and its own go. In a tree
            // that was read it lies just below this one, its own nodes between.
            if (++entry != nodes->rend()) {
                const char* const next = reinterpret_cast<const char*>(entry->second.get());
                const char* const here = reinterpret_cast<const char*>(node.get());
                const std::ptrdiff_t span = here > next ? std::min<std::ptrdiff_t>(here - next, 4096) : 64;
                for (std::ptrdiff_t offset = 0; offset < span; offset += 64)
                    __builtin_prefetch(next + offset);
            }
            if (node->m_Parent == this)
                node->m_Parent = nullptr;
            node.reset();
        }
    }
    m_Maps->~CMaps();
    CNodeArena::FreeEntry(m_Maps);
}

const CNode::CNodeMap& CNode::NoNodes()
{
    static const CNodeMap none;
    return none;
}

CNode::CMaps& CNode::Maps()
{
    // Owned by the node alone, as the entries of its maps are.
    if (!m_Maps)
        m_Maps = new (CNodeArena::AllocateEntry(sizeof(CMaps))) CMaps();
    return *m_Maps;
}

void CNode::SetValue(float value)
{
    m_Value = sds::ToString(value);
}

void CNode::SetValue(const sds::CVector& value)
{
    m_Value = sds::VectorToString(value);
}

std::string CNode::GetPath() const
{
    std::string path;
    if (m_Parent)
        path = m_Parent->GetPath() + (m_IsAttribute ? "->>" : "->");
    path += m_Name;
    const CNodeMap& attributes = GetAttributes();
    auto key = attributes.find("Name");
    if (key == attributes.end())
        key = attributes.find("Id");
    if (key != attributes.end())
        path += "[" + key->first + "=" + key->second->m_Value + "]";
    return path;
}

std::string CNode::GetSourceName() const
{
    const CNode* root = this;
    while (root->m_Parent)
        root = root->m_Parent;
    const CNodeMap& attributes = root->GetAttributes();
    const auto name = attributes.find("Name");
    return root->m_Name == "XmlFile" && name != attributes.end() ? name->second->m_Value : std::string();
}

bool CNode::HasChild(const std::string& name) const
{
    return GetChildren().find(name) != GetChildren().end();
}

bool CNode::HasAttribute(const std::string& name) const
{
    return GetAttributes().find(name) != GetAttributes().end();
}

CNodePtr CNode::GetChild(const std::string& name) const
{
    auto found = GetChildren().find(name);
    if (found == GetChildren().end())
        throw CNoNodeException(GetPath() + " does not have a child '" + name + "'");
    return found->second;
}

CNodePtr CNode::GetAttribute(const std::string& name) const
{
    auto found = GetAttributes().find(name);
    if (found == GetAttributes().end())
        throw CNoNodeException(GetPath() + " does not have an attribute '" + name + "'");
    return found->second;
}

CNode::CNodeMap::const_iterator CNode::GetChildrenBegin(const std::string& name) const
{
    if (!HasChild(name))
        throw CNoNodeException(GetPath() + " does not have a child '" + name + "'");
    return GetChildren().lower_bound(name);
}

CNode::CNodeMap::const_iterator CNode::GetChildrenEnd(const std::string& name) const
{
    if (!HasChild(name))
        throw CNoNodeException(GetPath() + " does not have a child '" + name + "'");
    return GetChildren().upper_bound(name);
}

bool CNode::HasNamedValue(const std::string& key, const std::string& text) const
{
    auto attribute = GetAttributes().find(key);
    if (attribute != GetAttributes().end() && attribute->second->m_Value == text)
        return true;
    auto child = GetChildren().find(key);
    if (child != GetChildren().end())
        return child->second->m_Value == text;
    return false;
}

CNodePtr CNode::GetChildById(const std::string& childName, const std::string& id, const std::string& idNames) const
{
    const CNodePtr first = GetChild(childName);
    const std::string key = FirstKeyOf(*first, idNames);
    if (key.empty())
        throw CNoNodeException(first->GetPath() + " does not have an attribute or child with one of the following names '" +
                               idNames + "'");
    if (CNodePtr found = FindById(GetChildren(), childName, key, id))
        return found;
    throw CNoNodeException(GetPath() + " does not have a child '" + childName + "' with unique identifier '" + id + "'");
}

bool CNode::HasChildById(const std::string& childName, const std::string& id, const std::string& idNames) const
{
    const auto first = GetChildren().find(childName);
    if (first == GetChildren().end())
        return false;
    const std::string key = FirstKeyOf(*first->second, idNames);
    return !key.empty() && FindById(GetChildren(), childName, key, id);
}

std::string CNode::NotBoolMessage() const
{
    return GetPath() + " = '" + m_Value + "' is not bool (1/0, true/false, on/off)";
}

void CNode::CheckNotEmpty() const
{
    if (m_Value.empty())
        throw CBadValueException(GetPath() + " has an empty value");
}

template <>
std::string CNode::GetValue<std::string>() const
{
    return m_Value;
}

template <>
bool CNode::GetValue<bool>() const
{
    const std::string text = sds::ToLower(m_Value);
    if (text == "1" || text == "true" || text == "on")
        return true;
    if (text == "0" || text == "false" || text == "off")
        return false;
    MessageHandler(NotBoolMessage());
    return false;
}

template <>
float CNode::GetValue<float>() const
{
    return GetValueOr<float>(0);
}

template <>
float CNode::GetValueOr<float>(const float& fallback) const
{
    CheckNotEmpty();
    return ReadNumber<float>(*this, m_Value, fallback);
}

template <>
int CNode::GetValue<int>() const
{
    return GetValueOr<int>(0);
}

template <>
int CNode::GetValueOr<int>(const int& fallback) const
{
    CheckNotEmpty();
    return ReadNumber<int>(*this, m_Value, fallback);
}

template <>
unsigned int CNode::GetValue<unsigned int>() const
{
    return GetValueOr<unsigned int>(0);
}

template <>
unsigned int CNode::GetValueOr<unsigned int>(const unsigned int& fallback) const
{
    CheckNotEmpty();
    return ReadNumber<unsigned int>(*this, m_Value, fallback);
}

template <>
sds::CVector CNode::GetValue<sds::CVector>() const
{
    CheckNotEmpty();
    return ParseVector(m_Value);
}

template <>
sds::CQuaternion CNode::GetValue<sds::CQuaternion>() const
{
    CheckNotEmpty();
    return sds::ParseQuaternionValue(m_Value);
}

CNodePtr CNode::AddChild(const std::string& name)
{
    return AddChild(name, std::string());
}

CNodePtr CNode::AddChild(const std::string& name, const std::string& value)
{
    CNodePtr child(new CNode(name, value, this, false));
    // Equal names keep the order they were added in; a name that sorts last
    // (as in most documents read) goes in without a search.
    CNodeMap& children = Children();
    children.emplace_hint(children.end(), name, child);
    return child;
}

CNodePtr CNode::NewParsed(CNode* parent, bool isAttribute)
{
    // Nobody else can see the node yet: its first holder needs no atomic count.
    return CNodePtr(new CNode(CParsed(), parent, isAttribute), false);
}

void CNode::AddParsed(CNodePtr&& node)
{
    CNodeMap& nodes = node->m_IsAttribute ? Attributes() : Children();
    nodes.emplace_hint(nodes.end(), node->m_Name, std::move(node));
}

CNodePtr CNode::AddChild(const std::string& name, const char* value)
{
    return AddChild(name, std::string(value ? value : ""));
}

CNodePtr CNode::AddChild(const std::string& name, float value)
{
    return AddChild(name, sds::ToString(value));
}

CNodePtr CNode::AddChild(const std::string& name, bool value)
{
    return AddChild(name, sds::ToString(value));
}

void CNode::AddChild(const CNodePtr& node)
{
    if (!node)
        return;
    node->m_Parent = this;
    Children().emplace(node->m_Name, node);
}

CNodePtr CNode::AddAttribute(const std::string& name, const std::string& value)
{
    CNodePtr attribute(new CNode(name, value, this, true));
    CNodeMap& attributes = Attributes();
    attributes.emplace_hint(attributes.end(), name, attribute);
    return attribute;
}

CNodePtr CNode::AddAttribute(const std::string& name, const char* value)
{
    return AddAttribute(name, std::string(value ? value : ""));
}

CNodePtr CNode::AddAttribute(const std::string& name, const sds::CVector& value)
{
    return AddAttribute(name, sds::VectorToString(value));
}

void CNode::RemoveChild(const CNodePtr& node)
{
    if (!node || node->m_Parent != this)
        throw CNoNodeException("Trying to remove child '" + (node ? node->GetPath() : std::string()) +
                               "' that does not belong to this parent '" + GetPath() + "'");
    CNodeMap& children = Children();
    for (auto it = children.begin(); it != children.end(); ++it) {
        if (it->second == node) {
            // `node` may be this very entry: detach before erasing it.
            node->m_Parent = nullptr;
            children.erase(it);
            return;
        }
    }
    throw CNoNodeException(GetPath() + " does not have a child '" + node->m_Name + "'. Programming error?");
}

CNodePtr CNode::Clone(const CNodePtr& source, CNode* newParent)
{
    CNodePtr copy = newParent ? newParent->AddChild(source->m_Name, source->m_Value)
                              : CNodePtr(new CNode(source->m_Name, source->m_IsAttribute));
    // A copy without a parent keeps its own text too (a recorded row is often just text).
    if (!newParent)
        copy->m_Value = source->m_Value;
    for (const auto& attribute : source->GetAttributes())
        copy->AddAttribute(attribute.first, attribute.second->m_Value);
    for (const auto& child : source->GetChildren())
        Clone(child.second, copy.get());
    return copy;
}

bool Match(const CNode& x, const CNode& y)
{
    if (x.GetName() != y.GetName() || x.GetValue() != y.GetValue())
        return false;
    for (const auto& attribute : x.GetAttributes()) {
        const auto found = y.GetAttributes().find(attribute.first);
        if (found == y.GetAttributes().end() || found->second->GetValue() != attribute.second->GetValue())
            return false;
    }
    for (const auto& c : x.GetChildren())
        if (!AnyMatches(y.GetChildren(), *c.second))
            return false;
    return true;
}

bool Contains(const CNode& a, const CNode& b)
{
    for (const auto& c : a.GetChildren())
        if (!AnyMatches(b.GetChildren(), *c.second))
            return false;
    return true;
}

} // namespace xml
