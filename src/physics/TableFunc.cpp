#include "physics/TableFunc.h"

#include "physics/InterpolateTable.h"

namespace sds {

CTableFunc::CTableFunc(const xml::CNodePtr& table)
{
    if (!table->HasChild("Entry"))
        return;
    for (auto it = table->GetChildrenBegin("Entry"); it != table->GetChildrenEnd("Entry"); ++it)
        AddEntry(it->second->GetAttribute("x")->GetValue<float>(), it->second->GetAttribute("y")->GetValue<float>());
}

float CTableFunc::GetValue(float x) const { return InterpolateTable(x, m_Table); }

} // namespace sds
