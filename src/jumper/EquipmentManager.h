#pragma once

#include <string>
#include <vector>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "graphics/IGfxObj.h"
#include "jumper/IAltimeter.h"
#include "jumper/ICanopy.h"
#include "jumper/IContainer.h"
#include "jumper/IPilotChute.h"

namespace sds {

// The equipment file ("Equipment": altimeters, canopies, pilot chutes and
// containers, each a model found by its "Name" or "Id") for the whole run, and
// the parts of a jumper's rig built by model name. The engine makes the one
// instance; it never changes the tree.
class CEquipmentManager : public CSingletonTmpl<CEquipmentManager>
{
public:
    explicit CEquipmentManager(const xml::CNodePtr& equipment) : m_Equipment(equipment) {}
    ~CEquipmentManager() override = default;

    // The instance; throws when there is none.
    static CEquipmentManager& Get();

    // The "Name" of every model of that tag, in the file's order; a tag the
    // file lacks throws xml::CNoNodeException.
    std::vector<std::string> GetNames(const std::string& tag) const;
    // The altimeter models, as the drop-zone menu lists them.
    std::vector<std::string> GetAltimeterNames() const { return GetNames("Altimeter"); }

    // The model element of that tag and name; throws xml::CNoNodeException
    // (" with unique identifier '" and the name) when the file has none.
    xml::CNodePtr GetModelNode(const std::string& tag, const std::string& name) const;

    // Each reads the "Model" of the jumper's element and builds that model.
    // The altimeter hangs on the body at the place the element's "Attachment"
    // names; a "Type" other than "Analog" or "Digital" throws.
    CAltimeterPtr CreateAltimeter(const xml::CNodePtr& altimeter, const CGfxObjPtr& body, float referenceHeight);
    // The canopy's and pilot chute's graphic objects hang under `parent`.
    CCanopyPtr CreateCanopy(const xml::CNodePtr& mainCanopy, const CGfxObjPtr& parent);
    CPilotChutePtr CreatePilotChute(const xml::CNodePtr& pilotChute, const CGfxObjPtr& parent);
    // The rig of the element's "Model", with the canopy its "MainCanopy" names.
    CContainerPtr CreateContainer(const xml::CNodePtr& container, const CGfxObjPtr& body, const CGfxObjPtr& leftHand,
                                  const CGfxObjPtr& rightHand);

    const xml::CNodePtr& GetEquipment() const { return m_Equipment; }

private:
    xml::CNodePtr ModelOf(const std::string& tag, const xml::CNodePtr& element) const;

    xml::CNodePtr m_Equipment;
};

} // namespace sds
