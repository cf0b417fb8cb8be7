#include "jumper/EquipmentManager.h"

#include <memory>

#include "core/Exception.h"
#include "jumper/Canopy.h"
#include "jumper/Container.h"
#include "jumper/PilotChute.h"

namespace sds {

CEquipmentManager& CEquipmentManager::Get()
{
    CEquipmentManager* instance = GetSingleton();
    SDS_ASSERT(instance && "No equipment manager is made");
    return *instance;
}

xml::CNodePtr CEquipmentManager::GetModelNode(const std::string& tag, const std::string& name) const
{
    return m_Equipment->GetChildById(tag, name, "Name,Id");
}

xml::CNodePtr CEquipmentManager::ModelOf(const std::string& tag, const xml::CNodePtr& element) const
{
    return GetModelNode(tag, element->GetAttribute("Model")->GetValue());
}

CAltimeterPtr CEquipmentManager::CreateAltimeter(const xml::CNodePtr&, const CGfxObjPtr&, float)
{
    throw CException("Altimeters are not available in this version of the program");
}

CCanopyPtr CEquipmentManager::CreateCanopy(const xml::CNodePtr& mainCanopy, const CGfxObjPtr& parent)
{
    return std::make_shared<CCanopy>(ModelOf("Canopy", mainCanopy), parent);
}

CPilotChutePtr CEquipmentManager::CreatePilotChute(const xml::CNodePtr& pilotChute, const CGfxObjPtr& parent)
{
    return std::make_shared<CPilotChute>(ModelOf("PilotChute", pilotChute), parent);
}

CContainerPtr CEquipmentManager::CreateContainer(const xml::CNodePtr& container, const CGfxObjPtr&,
                                                 const CGfxObjPtr& leftHand, const CGfxObjPtr& rightHand)
{
    return std::make_shared<CContainer>(ModelOf("Container", container), container->GetChild("MainCanopy"), leftHand,
                                        rightHand);
}

} // namespace sds
