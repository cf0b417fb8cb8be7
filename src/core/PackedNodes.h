#pragma once

#include <cstddef>
#include <string>

#include "core/Node.h"

namespace xml {

// Copies of the children of a node (their attributes and subtrees too) packed
// into one string: names and values one after the other, each behind its
// length. A tree of nodes takes about ten times the bytes of its texts, which
// matters for what is kept by the hundred, such as the rows of each jump of a
// profile.
class CPackedNodes
{
public:
    CPackedNodes() = default;
    explicit CPackedNodes(const CNode& parent);

    // Adds copies of the packed nodes as children of `parent`, in their order.
    void UnpackInto(CNode& parent) const;

    bool IsEmpty() const { return m_Bytes.empty(); }
    // The bytes the nodes take here.
    std::size_t GetSize() const { return m_Bytes.size(); }

private:
    std::string m_Bytes;
};

} // namespace xml
