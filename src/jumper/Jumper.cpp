#include "jumper/Jumper.h"

#include <cmath>

#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/services/IApplication.h"
#include "graphics/IGfxMgr.h"
#include "jumper/EquipmentManager.h"
#include "jumper/GfxObjectConfig.h"
#include "physics/IPhyJumper.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"

namespace sds {

namespace {

physics::CPhyMgr& World()
{
    physics::CPhyMgr* world = physics::CPhyMgr::GetSingleton();
    SDS_ASSERT(world && "No physics world is made");
    return *world;
}

// The jumper's "Mesh" of that name, under the scene's root.
CGfxObjPtr CreateMesh(const xml::CNodePtr& config, const std::string& name)
{
    return CreateGfxObject(config->GetChildById("Mesh", name, "Name,Id"), CGfxObjPtr());
}

// The trajectory as the configuration's "Trajectory" sets it up. The level's
// name is the trajectory viewer's business: the jumper's own is "Unknown".
CTrajectory MakeTrajectory()
{
    const xml::CNodePtr config = IApplication::GetSingleton()->GetConfig()->GetChild("Trajectory");
    const std::string meshName = config->GetAttribute("MeshName")->GetValue();
    const std::string meshColor = config->GetAttribute("MeshColor")->GetValue();
    const float meshScale = config->GetAttribute("MeshScale")->GetValue<float>();
    const float sampleTime = config->GetAttribute("SampleTime")->GetValue<float>();
    const float maxPathError = config->GetAttribute("MaxPathError")->GetValue<float>();
    return CTrajectory("Unknown", maxPathError, sampleTime, meshScale, meshColor, meshName, "");
}

// The object follows the point: its position and the point marker's orientation.
void Follow(const CGfxObjPtr& object, CJointAttached& point, const CTiming& timing)
{
    point.Update(timing);
    object->SetPos(point.m_Pos);
    object->SetOrientation(point.GetOrientation());
    object->UpdateTransform();
}

} // namespace

CJumper::CJumper(const std::string& name, bool logData, int index, const xml::CNodePtr& config,
                 const xml::CNodePtr& collision, const CVector& startPos, const CQuaternion& startOrientation,
                 float exitWeight, float canopySize, const std::string& canopyModel,
                 const std::string& inputConversion, bool showPilotChute, bool useInputModes)
    : IJumper(CreateMesh(config, "Body")),
      m_PhyJumper(World().CreateJumper(name, logData, index, startPos, startOrientation, exitWeight, canopySize,
                                       canopyModel, inputConversion, showPilotChute)),
      m_Config(config),
      m_Blender(config->GetChild("Animation")->GetAttribute("TransitionTime")->GetValue<float>()),
      m_HeadObj(CreateMesh(config, "Head")),
      m_UseInputModes(useInputModes),
      m_BodyObj(m_GfxObj),
      m_Trajectory(MakeTrajectory())
{
    m_GfxObj->SetPos(startPos);
    m_LeftHandObj = AttachHand("Hand.L");
    m_RightHandObj = AttachHand("Hand.R");
    m_EyesObj = IGfxMgr::GetSingleton()->CreateObject(">novis", CGfxObjPtr());
    m_Eyes = AttachPoint("Eyes");
    m_HeadLoc = AttachPoint("HeadLoc");
    m_ContainerPoint = AttachPoint("Container");
    m_Container = CEquipmentManager::Get().CreateContainer(config->GetChild("Container"), m_BodyObj, m_LeftHandObj,
                                                           m_RightHandObj);
    CreateAltimeters();
}

CJumper::~CJumper()
{
    Stop();
    m_Judge.reset();
    ILogMgr::GetSingleton()->LogMessage("Jumper '" + GetName() + "' is destroyed");
}

CGfxObjPtr CJumper::AttachHand(const std::string& attachment)
{
    const xml::CNodePtr element = m_Config->GetChildById("Attachment", attachment, "Name,Id");
    const CJointPtr joint = GetJoint(m_BodyObj, element->GetAttribute("Joint")->GetValue());
    CQuaternion orientation;
    ParseOrientation(element->GetAttribute("Orientation")->GetValue(), orientation);
    const CVector offset = xml::ParseVector(element->GetAttribute("Offset")->GetValue()) - joint->GetWorldPos();
    const CGfxObjPtr hand = IGfxMgr::GetSingleton()->CreateCube();
    m_BodyObj->AttachToBone(hand, joint->GetHandle(), offset, orientation, false, false);
    return hand;
}

std::shared_ptr<CJointAttached> CJumper::AttachPoint(const std::string& attachment)
{
    return std::make_shared<CJointAttached>(m_Config->GetChildById("Attachment", attachment, "Name,Id"), m_BodyObj,
                                            CVector::ZERO);
}

void CJumper::CreateAltimeters()
{
    xml::ForEachChild(*m_Config, "Altimeter", [this](const xml::CNodePtr& altimeter) { AddAltimeter(altimeter); });
}

void CJumper::AddAltimeter(const xml::CNodePtr& altimeter)
{
    // The reference height is the level's ground under the jumper; without a
    // level loader it is 0.
    m_Altimeters.push_back(CEquipmentManager::Get().CreateAltimeter(altimeter, m_BodyObj, 0.0f));
}

void CJumper::Update(const CTiming& timing)
{
    CStateMachineTmpl::Update(timing);
    m_Blender.Update(timing);
    CVisObj::Update(timing);
    m_BodyObj->UpdateAnimation();
    m_GfxObj->UpdateTransform();

    // What hangs on the bones reads them once the skeleton has its pose.
    Follow(m_Container->GetGfxObj(), *m_ContainerPoint, timing);
    m_Container->Update(timing);
    for (const CAltimeterPtr& altimeter : m_Altimeters)
        altimeter->Update(timing);
    Follow(m_EyesObj, *m_Eyes, timing);
    Follow(m_HeadObj, *m_HeadLoc, timing);

    m_Trajectory.AddSample(timing, m_BodyObj->GetWorldPos(), m_PhyJumper->GetVelocity());
    if (m_Judge)
        m_Judge->Update(timing);
}

CVector CJumper::GetPos() const
{
    // In the aircraft the body hangs under the aircraft's object: its local
    // position would be relative to the door.
    return m_GfxObj->GetWorldPos();
}

CVector CJumper::GetVelocity() const
{
    return m_PhyJumper->GetVelocity();
}

std::string CJumper::GetName() const
{
    return m_GfxObj->GetName();
}

void CJumper::OnDiscreteEvent(const CInternalEvent& event)
{
    // Without a state nobody takes events.
    if (HasStates())
        GetCurrentState()->OnDiscreteEvent(event);
}

void CJumper::OnAnalogEvent(const CInternalEvent& event)
{
    if (HasStates())
        GetCurrentState()->OnAnalogEvent(event);
}

std::string CJumper::GetAltimeterCaption() const
{
    return m_Altimeters.empty() ? std::string() : m_Altimeters.back()->GetCaption();
}

void CJumper::OnEvent(const std::string&)
{
    // "Landing" changes to the crash-landing state, which the jumper does
    // not have yet: nothing changes.
}

xml::CNodePtr CJumper::GetLandingInfo() const
{
    xml::CNodePtr info(new xml::CNode("LandingInfo", false));
    const xml::CNodePtr body = m_PhyJumper->GetPhyInfo();
    for (const auto& child : body->GetChildren())
        info->AddChild(child.second);
    const CVector wind = World().GetWindMgr().GetWind(GetPos());
    const xml::CNodePtr strength = info->AddChild("Info", std::sqrt(wind.x * wind.x + wind.y * wind.y + wind.z * wind.z));
    strength->AddAttribute("Name", "Wind strength");
    strength->AddAttribute("Units", "Speed");
    if (m_Judge) {
        const xml::CNodePtr judged = m_Judge->GetCollisionInfo();
        for (const auto& child : judged->GetChildren())
            info->AddChild(child.second);
    }
    return info;
}

float CJumper::GetLeftTurnValue() const
{
    // The turn animations are the canopy-ride state's; without it no hand pulls.
    return 0.0f;
}

float CJumper::GetRightTurnValue() const
{
    return 0.0f;
}

void CJumper::SetVisible(bool visible)
{
    m_GfxObj->SetVisible(visible);
}

int CJumper::GetLeftHandControl() const
{
    // The hands hold controls only in canopy flight; otherwise they hold none.
    return 0;
}

int CJumper::GetRightHandControl() const
{
    return 0;
}

void CJumper::SyncToPhysics()
{
    m_GfxObj->SetPos(m_PhyJumper->GetPos());
    m_GfxObj->SetOrientation(m_PhyJumper->GetOrientation());
}

} // namespace sds
