#include "jumper/Jumper.h"

#include <cmath>
#include <stdexcept>

#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/services/IApplication.h"
#include "graphics/IGfxMgr.h"
#include "core/WallClock.h"
#include "graphics/IAnimation.h"
#include "jumper/AnimationRecord.h"
#include "jumper/CanopyRideState.h"
#include "jumper/CrashLandingState.h"
#include "jumper/DeploymentState.h"
#include "jumper/DoneState.h"
#include "jumper/EquipmentManager.h"
#include "core/services/EventCodes.h"
#include "jumper/ExitPlaneState.h"
#include "jumper/FreeFallState.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/HangingOutOfPlaneState.h"
#include "jumper/ICanopy.h"
#include "jumper/IInputModes.h"
#include "jumper/IPilotChute.h"
#include "jumper/ISlider.h"
#include "jumper/LandingNormalState.h"
#include "jumper/NeverJudge.h"
#include "jumper/PLFLandingState.h"
#include "jumper/PullingMainState.h"
#include "jumper/ReachingMainState.h"
#include "jumper/TeleportState.h"
#include "physics/IPhyJumper.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "physics/flight/ICanopyRideState.h"

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

// The trajectory as the configuration's "Trajectory" sets it up, under the level's name.
CTrajectory MakeTrajectory(const std::string& name)
{
    const xml::CNodePtr config = IApplication::GetSingleton()->GetConfig()->GetChild("Trajectory");
    const std::string meshName = config->GetAttribute("MeshName")->GetValue();
    const std::string meshColor = config->GetAttribute("MeshColor")->GetValue();
    const float meshScale = config->GetAttribute("MeshScale")->GetValue<float>();
    const float sampleTime = config->GetAttribute("SampleTime")->GetValue<float>();
    const float maxPathError = config->GetAttribute("MaxPathError")->GetValue<float>();
    return CTrajectory(name, maxPathError, sampleTime, meshScale, meshColor, meshName, "");
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
                 const std::string& inputConversion, bool showPilotChute, bool useInputModes,
                 const CJumperLinks& links)
    : IJumper(CreateMesh(config, "Body")),
      m_PhyJumper(World().CreateJumper(name, logData, index, startPos, startOrientation, exitWeight, canopySize,
                                       canopyModel, inputConversion, showPilotChute)),
      m_Config(config),
      m_Blender(config->GetChild("Animation")->GetAttribute("TransitionTime")->GetValue<float>()),
      m_HeadObj(CreateMesh(config, "Head")),
      m_UseInputModes(useInputModes),
      m_Links(links),
      m_BodyObj(m_GfxObj),
      m_Trajectory(MakeTrajectory(links.TrajectoryName))
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

    // Without an aircraft the jumper leaves from his start point (a force-field
    // scene's start), at an unseen door there, not from the scene's origin.
    if (!m_Links.Aircraft) {
        m_Links.Aircraft = IGfxMgr::GetSingleton()->CreateObject(">novis", CGfxObjPtr());
        m_Links.Aircraft->SetPos(startPos);
        m_Links.Aircraft->SetOrientation(startOrientation);
    }
    const CAnimationPtr idleFreeFall = ReadBodyAnimation("IdleFreeFall");
    CreateStates(idleFreeFall);
    const std::string edition =
        IApplication::GetSingleton()->GetConfig()->GetChild("Application")->GetAttribute("Edition")->GetValue();
    if (m_Links.JudgeFactory)
        m_Judge = m_Links.JudgeFactory(edition, *this, collision);
    if (!m_Judge)
        m_Judge = std::make_shared<CNeverJudge>();

    if (m_Config->GetChild("JumperStates")->GetAttribute("StartState")->GetValue() == "CanopyRide")
        StartInCanopyRide(idleFreeFall, showPilotChute);
    else
        ChangeState(m_ExitPlane.get());
}

void CJumper::CreateStates(const CAnimationPtr& idleFreeFall)
{
    using namespace JumperStates;
    const xml::CNodePtr states = m_Config->GetChild("JumperStates");
    m_ExitPlane = std::make_shared<CExitPlaneState>(this, m_Links.Aircraft, states->GetChild("ExitPlane"));
    m_HangingOutOfPlane = std::make_shared<CHangingOutOfPlaneState>(this, states->GetChild("HangingOutOfPlane"));
    m_FreeFall = std::make_shared<CFreeFallState>(this, idleFreeFall);
    m_ReachingMain = std::make_shared<CReachingMainState>(this, ReadBodyAnimation("ReachingMain"));
    m_PullingMain = std::make_shared<CPullingMainState>(this);
    m_Deployment = std::make_shared<CDeploymentState>(this, idleFreeFall, ReadBodyAnimation("GrabRisers"));
    m_CanopyRide = std::make_shared<CCanopyRideState>(this);
    m_CrashLanding = std::make_shared<CCrashLandingState>(this);
    m_LandingNormal = std::make_shared<CLandingNormalState>(this, ReadBodyAnimation("Walking"));
    m_PLFLanding = std::make_shared<CPLFLandingState>(this, ReadBodyAnimation("PLF"));
    m_Done = std::make_shared<CDoneState>(this);
    m_Teleport = std::make_shared<CTeleportState>(this);
}

void CJumper::StartInCanopyRide(const CAnimationPtr& idleFreeFall, bool showPilotChute)
{
    // Long steps finish every fade and transition.
    const CTiming step{10.0f, 0.0f};
    m_Container->CreateBridleLine();
    m_Container->CreateLines();
    m_Container->BeginInflation();
    m_Container->GetCanopy()->StartFullFlight();
    m_Container->GetPilotChute()->ReverseInflating();
    // The physical pilot chute takes the visible one's pose as the ride begins,
    // and hangs from the canopy: over the canopy, not where the rig was made.
    const CGfxObjPtr pilotChute = m_Container->GetPilotChute()->GetGfxObj();
    pilotChute->SetPos(m_PhyJumper->GetCanopyRideState()->GetCanopyPos());
    pilotChute->UpdateTransform();
    // On the rig, where the end of a deployment leaves it: in the bag it would
    // stay behind where the jump began.
    m_Container->GetGfxObj()->AddChild(m_Container->GetSlider()->GetGfxObj());
    m_Container->GetSlider()->ResetToContainer();
    m_Container->GetCanopy()->GetGfxObj()->SetVisible(true);
    ChangeState(m_CanopyRide.get());
    idleFreeFall->SetEnabled(false);
    m_Blender.Update(step);
    m_CanopyRide->OnUpdate(step);
    CInternalEvent event;
    for (const auto& [code, on] : {std::pair<std::int32_t, bool>{EventCodes::TurnLeftToggle, true},
                                   {EventCodes::TurnRightToggle, true},
                                   {EventCodes::TurnLeftToggle, false},
                                   {EventCodes::TurnRightToggle, false}}) {
        event.Code = code;
        event.On = on ? 1 : 0;
        m_CanopyRide->OnDiscreteEvent(event);
    }
    m_CanopyRide->OnUpdate(step);
    CVisObj::Update(step);
    m_Blender.Update(step);
    m_CanopyRide->OnUpdate(step);
    CVisObj::Update(step);
    m_BodyObj->UpdateAnimation();
    m_CanopyRide->OnUpdate(step);
    if (!showPilotChute)
        m_Container->HidePilotChute();
}

CJumper::~CJumper()
{
    // The judge hears the body's contacts: it must not hear any once it is gone.
    m_PhyJumper->SetCollisionCallback(physics::IPhyJumper::CCollisionCallback());
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
    m_Altimeters.push_back(CEquipmentManager::Get().CreateAltimeter(altimeter, m_BodyObj, m_Links.AltimeterReference));
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

void CJumper::OnEvent(const std::string& name)
{
    if (name == "Landing")
        ChangeState(m_CrashLanding.get());
}

void CJumper::Land(ELanding landing)
{
    if (m_States.empty())
        throw std::runtime_error("!m_States.empty() && \"No states are added\"");
    switch (landing) {
    case LANDING_CRASH:
        ChangeState(m_CrashLanding.get());
        break;
    case LANDING_TELEPORT:
        ChangeState(m_Teleport.get());
        break;
    default:
        ChangeState(m_LandingNormal.get());
        break;
    }
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
    return m_CanopyRide->GetLeftTurnValue();
}

float CJumper::GetRightTurnValue() const
{
    return m_CanopyRide->GetRightTurnValue();
}

void CJumper::SetVisible(bool visible)
{
    m_GfxObj->SetVisible(visible);
}

int CJumper::GetLeftHandControl() const
{
    // The hands hold controls only in canopy flight; otherwise they hold none.
    return m_CanopyRide->GetLeftHandControl();
}

int CJumper::GetRightHandControl() const
{
    return m_CanopyRide->GetRightHandControl();
}

CAnimationPtr CJumper::ReadBodyAnimation(const std::string& name) const
{
    return ReadAnimation(m_Config->GetChild("Animation")->GetChild(name), m_BodyObj);
}

std::uint64_t CJumper::NowMs() const
{
    return m_Links.Clock ? m_Links.Clock() : GetWallClockMs();
}

void CJumper::PushInputMode(const std::string& name)
{
    if (m_UseInputModes && m_Links.InputModes)
        m_Links.InputModes->PushMode(name);
}

void CJumper::PopInputMode()
{
    if (m_UseInputModes && m_Links.InputModes)
        m_Links.InputModes->PopMode();
}

bool CJumper::IsEventHeld(std::int32_t code) const
{
    return m_Links.InputModes && m_Links.InputModes->IsEventHeld(code);
}

void CJumper::SyncToPhysics()
{
    m_GfxObj->SetPos(m_PhyJumper->GetPos());
    m_GfxObj->SetOrientation(m_PhyJumper->GetOrientation());
}

} // namespace sds
