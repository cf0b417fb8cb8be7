#include "jumper/EquipmentManager.h"

namespace sds {

CEquipmentManager::CEquipmentManager(const xml::CNodePtr& equipment) : m_Equipment(equipment)
{
}

CEquipmentManager::~CEquipmentManager() = default;

std::vector<std::string> CEquipmentManager::GetNames(const std::string& tag) const
{
    std::vector<std::string> names;
    for (auto it = m_Equipment->GetChildrenBegin(tag); it != m_Equipment->GetChildrenEnd(tag); ++it)
        names.push_back(it->second->GetAttribute("Name")->GetValue());
    return names;
}

} // namespace sds
