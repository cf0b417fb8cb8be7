#include "jumper/Altimeter.h"

#include "graphics/IGfxMgr.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/JointAttached.h"

namespace sds {

const char* const CAltimeter::kFaceMaterial = "AltimeterFace";

CAltimeter::CAltimeter(const xml::CNodePtr& model, const xml::CNodePtr& place, const CGfxObjPtr& body,
                       float referenceHeight)
    : m_ReferenceHeight(referenceHeight),
      m_Body(body),
      m_MaxAltitude(Parameters(model)->GetAttribute("MaxAltitude")->GetValue<float>()),
      m_MinAltitude(Parameters(model)->GetAttribute("MinAltitude")->GetValue<float>())
{
    IGfxMgr& gfx = *IGfxMgr::GetSingleton();
    m_Dial = gfx.CreateDial(model->GetChild("RTT"), model->GetChild("Dial"), model->GetChild("Arrow"));

    const xml::CNodePtr attachment = place->GetChild("Attachment");
    const xml::CNodePtr caseElement = place->GetChild("Case");
    const CJointPtr joint = GetJoint(body, attachment->GetAttribute("Joint")->GetValue());
    // The offset is a point of the body's model; the bone's own place comes off.
    const CVector offset = xml::ParseVector(attachment->GetAttribute("Offset")->GetValue()) - joint->GetWorldPos();
    CQuaternion orientation;
    ParseOrientation(attachment->GetAttribute("Orientation")->GetValue(), orientation);

    m_Case = gfx.CreateMeshObject(caseElement->GetAttribute("Mesh")->GetValue());
    ShowDialOnFaces(kFaceMaterial, m_Dial->GetMaterialName());
    body->AttachToBone(m_Case, joint->GetHandle(), offset, orientation, false, false);
    PlaceGfxObject(caseElement, m_Case);
}

CAltimeter::~CAltimeter()
{
    ShowDialOnFaces(m_Dial->GetMaterialName(), kFaceMaterial);
    m_Body->DetachFromBone(m_Case);
}

void CAltimeter::ShowDialOnFaces(const std::string& from, const std::string& to)
{
    for (unsigned i = 0; i < m_Case->GetNumSubEntities(); ++i) {
        const std::uint16_t index = static_cast<std::uint16_t>(i);
        if (m_Case->GetSubEntityMaterialName(index) == from)
            m_Case->SetSubEntityMaterial(index, to, false);
    }
}

} // namespace sds
