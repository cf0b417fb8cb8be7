#include "jumper/EquipmentManager.h"

#include <memory>

#include <stdexcept>

#include "core/Exception.h"
#include "jumper/AltimasterIII.h"
#include "jumper/DigitalAltimeter.h"
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

std::vector<std::string> CEquipmentManager::GetNames(const std::string& tag) const
{
    std::vector<std::string> names;
    for (auto it = m_Equipment->GetChildrenBegin(tag); it != m_Equipment->GetChildrenEnd(tag); ++it)
        names.push_back(it->second->GetAttribute("Name")->GetValue());
    return names;
}

xml::CNodePtr CEquipmentManager::GetModelNode(const std::string& tag, const std::string& name) const
{
    return m_Equipment->GetChildById(tag, name, "Name,Id");
}

xml::CNodePtr CEquipmentManager::ModelOf(const std::string& tag, const xml::CNodePtr& element) const
{
    return GetModelNode(tag, element->GetAttribute("Model")->GetValue());
}

CAltimeterPtr CEquipmentManager::CreateAltimeter(const xml::CNodePtr& altimeter, const CGfxObjPtr& body,
                                                 float referenceHeight)
{
    const xml::CNodePtr model = ModelOf("Altimeter", altimeter);
    const std::string type = model->GetAttribute("Type")->GetValue();
    if (type != "Analog" && type != "Digital")
        throw std::runtime_error("!\"Unknown type of the Altimeter\"");
    const xml::CNodePtr place =
        model->GetChild("Attachments")->GetChild(altimeter->GetAttribute("Attachment")->GetValue());
    if (type == "Analog")
        return std::make_shared<CAltimasterIII>(model, place, body, referenceHeight);
    return std::make_shared<CDigitalAltimeter>(model, place, body, referenceHeight);
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
