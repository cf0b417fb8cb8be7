#pragma once

#include <functional>
#include <map>
#include <string>

#include <boost/intrusive_ptr.hpp>

#include "core/NodeArena.h"
#include "core/Quaternion.h"
#include "core/RefCounted.h"
#include "core/Vector.h"
#include "core/XmlException.h"

namespace xml {

class CNode;
typedef boost::intrusive_ptr<CNode> CNodePtr;

// The process-wide report channels of the XML layer. Both write to standard
// error until the log manager binds them.
typedef std::function<void(const std::string&)> CMessageHandler;
extern CMessageHandler MessageHandler;
extern CMessageHandler ErrorMessageHandler;
void PrintToStdErr(const std::string& text);

// An XML element or attribute. Children and attributes are multimaps ordered by
// name, so every walk visits them sorted by name (equal names in the order added).
class CNode : public CRefCounted
{
public:
    typedef std::multimap<std::string, CNodePtr, std::less<std::string>,
                          CNodeAllocator<std::pair<const std::string, CNodePtr>>>
        CNodeMap;

    // The only constructor that checks the name: an empty one throws.
    CNode(const std::string& name, bool isAttribute);
    CNode(const std::string& name, const std::string& value, CNode* parent, bool isAttribute);
    CNode(const std::string& name, const char* value, CNode* parent, bool isAttribute);
    CNode(const std::string& name, float value, CNode* parent, bool isAttribute);
    CNode(const std::string& name, int value, CNode* parent, bool isAttribute);
    CNode(const std::string& name, bool value, CNode* parent, bool isAttribute);
    CNode(const std::string& name, const sds::CVector& value, CNode* parent, bool isAttribute);
    ~CNode() override;
    CNode(const CNode&) = delete;
    CNode& operator=(const CNode&) = delete;

    // Nodes made during a read share the read's memory (CNodeArena).
    static void* operator new(std::size_t size);
    static void operator delete(void* memory);

    std::string GetName() const { return m_Name; }
    std::string GetValue() const { return m_Value; }
    // Typed read of the node's own value; an empty value throws CBadValueException
    // (but for std::string and bool, which never throw). A number that is not
    // there or does not fit T is reported with the node's path and reads as 0.
    template <class T>
    T GetValue() const;
    // The same, but a number that is not there or does not fit T gives `fallback`.
    template <class T>
    T GetValueOr(const T& /*fallback*/) const
    {
        return GetValue<T>();
    }

    void SetValue(const std::string& value) { m_Value = value; }
    void SetValue(const char* value) { m_Value = value ? value : ""; }
    void SetValue(float value);
    void SetValue(const sds::CVector& value);
    void AppendValue(const std::string& text) { m_Value += text; }

    // Names from the root down, "->" between elements and "->>" before an
    // attribute, each with "[Name=…]" or else "[Id=…]" when it has one.
    std::string GetPath() const;
    // The file (or text) the node was read from: the "Name" of its tree's
    // root "XmlFile"; empty for a tree made in memory.
    std::string GetSourceName() const;

    CNode* GetParent() const { return m_Parent; }
    bool IsAttribute() const { return m_IsAttribute; }
    const CNodeMap& GetChildren() const { return m_Maps ? m_Maps->m_Children : NoNodes(); }
    const CNodeMap& GetAttributes() const { return m_Maps ? m_Maps->m_Attributes : NoNodes(); }

    bool HasChild(const std::string& name) const;
    bool HasAttribute(const std::string& name) const;
    CNodePtr GetChild(const std::string& name) const;
    CNodePtr GetAttribute(const std::string& name) const;
    // The range of all children of that name; none throws the child message.
    CNodeMap::const_iterator GetChildrenBegin(const std::string& name) const;
    CNodeMap::const_iterator GetChildrenEnd(const std::string& name) const;

    // True when the attribute `key`, or else the first child `key`, has the value `text`.
    bool HasNamedValue(const std::string& key, const std::string& text) const;
    // The child `childName` identified by `id` under the first key of `idNames`
    // ("Name,Id") that the first such child carries.
    CNodePtr GetChildById(const std::string& childName, const std::string& id, const std::string& idNames) const;
    bool HasChildById(const std::string& childName, const std::string& id, const std::string& idNames) const;

    // The first attribute `name` read as T, or the default when there is none.
    template <class T>
    T GetAttribute(const std::string& name, const T& defaultValue) const
    {
        if (!HasAttribute(name))
            return defaultValue;
        return GetAttribute(name)->GetValueOr<T>(defaultValue);
    }
    std::string GetAttribute(const std::string& name, const char* defaultValue) const
    {
        return GetAttribute<std::string>(name, defaultValue);
    }

    CNodePtr AddChild(const std::string& name);
    CNodePtr AddChild(const std::string& name, const std::string& value);
    CNodePtr AddChild(const std::string& name, const char* value);
    CNodePtr AddChild(const std::string& name, float value);
    CNodePtr AddChild(const std::string& name, bool value);
    // Attaches an existing node under its own name; a null pointer is ignored.
    void AddChild(const CNodePtr& node);
    CNodePtr AddAttribute(const std::string& name, const std::string& value);
    CNodePtr AddAttribute(const std::string& name, const char* value);
    CNodePtr AddAttribute(const std::string& name, const sds::CVector& value);
    void RemoveChild(const CNodePtr& node);

    // Deep copy. Without a new parent the copy is a root with an empty value.
    static CNodePtr Clone(const CNodePtr& source, CNode* newParent = nullptr);

private:
    // The reader builds its tree in place: it writes a new node's texts
    // itself, then adds the node to its parent.
    friend class SAXTestHandler;
    struct CParsed
    {
    };
    CNode(CParsed, CNode* parent, bool isAttribute);
    static CNodePtr NewParsed(CNode* parent, bool isAttribute);
    void AddParsed(CNodePtr&& node);

    // Most nodes are attributes or leaves: their maps are only made when the
    // first child or attribute comes.
    struct CMaps
    {
        CNodeMap m_Children;
        CNodeMap m_Attributes;
    };
    static const CNodeMap& NoNodes();
    CNodeMap& Children() { return Maps().m_Children; }
    CNodeMap& Attributes() { return Maps().m_Attributes; }
    CMaps& Maps();

    std::string NotBoolMessage() const;
    void CheckNotEmpty() const;

    // First, where it fills the base's padding.
    bool m_IsAttribute;
    CNode* m_Parent;
    std::string m_Name;
    std::string m_Value;
    CMaps* m_Maps = nullptr;
};

template <> std::string CNode::GetValue<std::string>() const;
template <> bool CNode::GetValue<bool>() const;
template <> float CNode::GetValue<float>() const;
template <> int CNode::GetValue<int>() const;
template <> unsigned int CNode::GetValue<unsigned int>() const;
template <> sds::CVector CNode::GetValue<sds::CVector>() const;
template <> sds::CQuaternion CNode::GetValue<sds::CQuaternion>() const;
template <> float CNode::GetValueOr<float>(const float& fallback) const;
template <> int CNode::GetValueOr<int>(const int& fallback) const;
template <> unsigned int CNode::GetValueOr<unsigned int>(const unsigned int& fallback) const;

// Calls `function` with every child of that name, in the order they were added;
// none is no error.
template <class Function>
void ForEachChild(const CNode& node, const std::string& name, Function&& function)
{
    const auto& children = node.GetChildren();
    const auto end = children.upper_bound(name);
    for (auto it = children.lower_bound(name); it != end; ++it)
        function(it->second);
}

// x and y have equal names and values, every attribute of x is on y with an
// equal value, and every child c of x is matched by some child g of y as Match(g, c).
bool Match(const CNode& x, const CNode& y);
// Every child c of a has a namesake in b, and some child d of b gives Match(d, c).
bool Contains(const CNode& a, const CNode& b);

} // namespace xml
