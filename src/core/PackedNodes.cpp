#include "core/PackedNodes.h"

namespace xml {

namespace {

// A count or a length, seven bits a byte, the low ones first.
void PutCount(std::string& bytes, std::size_t count)
{
    for (; count >= 0x80; count >>= 7)
        bytes.push_back(static_cast<char>(0x80 | (count & 0x7F)));
    bytes.push_back(static_cast<char>(count));
}

void PutText(std::string& bytes, const std::string& text)
{
    PutCount(bytes, text.size());
    bytes += text;
}

// An element: name, value, its attributes (name and value each), its children.
void PutElement(std::string& bytes, const CNode& node)
{
    PutText(bytes, node.GetName());
    PutText(bytes, node.GetValue());
    PutCount(bytes, node.GetAttributes().size());
    for (const auto& attribute : node.GetAttributes()) {
        PutText(bytes, attribute.first);
        PutText(bytes, attribute.second->GetValue());
    }
    PutCount(bytes, node.GetChildren().size());
    for (const auto& child : node.GetChildren())
        PutElement(bytes, *child.second);
}

class CReader
{
public:
    explicit CReader(const std::string& bytes) : m_Bytes(bytes) {}

    bool AtEnd() const { return m_At == m_Bytes.size(); }

    std::size_t Count()
    {
        std::size_t count = 0;
        for (int shift = 0;; shift += 7) {
            const unsigned char byte = static_cast<unsigned char>(m_Bytes[m_At++]);
            count |= static_cast<std::size_t>(byte & 0x7F) << shift;
            if (byte < 0x80)
                return count;
        }
    }

    std::string Text()
    {
        const std::size_t size = Count();
        const std::size_t at = m_At;
        m_At += size;
        return m_Bytes.substr(at, size);
    }

    void Element(CNode& parent)
    {
        const std::string name = Text();
        const CNodePtr node = parent.AddChild(name, Text());
        for (std::size_t attributes = Count(); attributes > 0; --attributes) {
            const std::string attribute = Text();
            node->AddAttribute(attribute, Text());
        }
        for (std::size_t children = Count(); children > 0; --children)
            Element(*node);
    }

private:
    const std::string& m_Bytes;
    std::size_t m_At = 0;
};

} // namespace

CPackedNodes::CPackedNodes(const CNode& parent)
{
    for (const auto& child : parent.GetChildren())
        PutElement(m_Bytes, *child.second);
    m_Bytes.shrink_to_fit();
}

void CPackedNodes::UnpackInto(CNode& parent) const
{
    CReader reader(m_Bytes);
    while (!reader.AtEnd())
        reader.Element(parent);
}

} // namespace xml
