#include "core/DataTable.h"

#include <cmath>
#include <iostream>

#include "core/Helpers.h"
#include "core/ILogMgr.h"

namespace sds {

std::string& CDataTable::GetCell(float time)
{
    if (std::isfinite(time))
        return m_Cells[time];
    if (!m_DropLogged) {
        m_DropLogged = true;
        const std::string text =
            "Data log: a cell at the time " + ToString(time) + " is dropped (and later ones of this column)";
        if (ILogMgr* log = ILogMgr::GetSingleton())
            log->LogWarning(text);
        else
            std::cerr << text << std::endl;
    }
    m_Dropped.clear();
    return m_Dropped;
}

} // namespace sds
