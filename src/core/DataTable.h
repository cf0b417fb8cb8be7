#pragma once

#include <map>
#include <string>

namespace sds {

// One column of a data log: cell texts by time.
class CDataTable
{
public:
    typedef std::map<float, std::string> CCells;

    // The cell of that time, created empty when absent.
    std::string& GetCell(float time) { return m_Cells[time]; }
    void SetValue(float time, int value) { m_Cells[time] = std::to_string(value); }

    const CCells& GetCells() const { return m_Cells; }

private:
    CCells m_Cells;
};

} // namespace sds
