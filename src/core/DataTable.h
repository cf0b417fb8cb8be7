#pragma once

#include <map>
#include <string>

namespace sds {

// One column of a data log: cell texts by time.
class CDataTable
{
public:
    typedef std::map<float, std::string> CCells;

    // The cell of that time, created empty when absent. A time that is not
    // finite has no place in the order of the map: its cell is dropped (the
    // text goes into a scratch cell), and the column's first drop is logged.
    std::string& GetCell(float time);
    void SetValue(float time, int value) { GetCell(time) = std::to_string(value); }

    const CCells& GetCells() const { return m_Cells; }

private:
    CCells m_Cells;
    std::string m_Dropped;
    bool m_DropLogged = false;
};

} // namespace sds
