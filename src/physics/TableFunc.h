#pragma once

#include <map>

#include "core/Node.h"

namespace sds {

// A function of one variable given as a table of points, such as the air
// density by altitude.
class CTableFunc
{
public:
    CTableFunc() = default;
    // The "Entry" children of `table`, each with attributes "x" and "y".
    explicit CTableFunc(const xml::CNodePtr& table);
    virtual ~CTableFunc() = default;

    virtual float GetValue(float x) const;
    void AddEntry(float x, float y) { m_Table[x] = y; }
    bool IsEmpty() const { return m_Table.empty(); }

private:
    std::map<float, float> m_Table;
};

} // namespace sds
