#include "physics/flight/PhyJumper.h"

#include <cmath>

#include "core/DataLog.h"
#include "core/Exception.h"
#include "core/Helpers.h"
#include "physics/PhyLog.h"
#include "physics/PhyMgr.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/CanopyRideState.h"
#include "physics/flight/DeploymentState.h"
#include "physics/flight/ExitState.h"
#include "physics/flight/FreeFallState.h"
#include "physics/flight/JumperConfig.h"
#include "physics/flight/LandingState.h"
#include "physics/flight/TestState.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IShape.h"

namespace physics {

using namespace PhyJumperStates;

namespace {

// The material of the first shape of the actor.
std::uint16_t FirstShapeMaterial(const sdk::IActor* actor)
{
    return actor && !actor->GetShapes().empty() ? actor->GetShapes().front()->GetMaterial() : 0;
}

void SetAttribute(const xml::CNodePtr& node, const std::string& name, const std::string& value)
{
    if (node->HasAttribute(name))
        node->GetAttribute(name)->SetValue(value);
    else
        node->AddAttribute(name, value);
}

// An override above 0; a value that is not finite is ignored with a warning.
bool IsOverride(float value, const std::string& what)
{
    if (std::isfinite(value))
        return value > 0.0f;
    LogWarning(what + " " + sds::ToString(value) + " ignored");
    return false;
}

} // namespace

CPhyJumper::CPhyJumper(const xml::CNodePtr& phyJumper, const CPhyJumperDesc& desc)
    : m_Config(phyJumper),
      m_Name(desc.m_Name),
      m_Index(desc.m_Index),
      m_LogData(desc.m_LogData),
      m_World(CPhyMgr::GetSingleton() ? CPhyMgr::GetSingleton()->GetSerial() : 0)
{
    ApplyOverrides(desc);
    const xml::CNodePtr canopyRide = GetJumperState(m_Config, "CanopyRide");

    m_ExitState = std::make_shared<CExitState>(this, m_Config);
    TakeBody(*m_ExitState);
    m_TestState = std::make_shared<CTestState>(this, m_Config);
    m_FreeFallState = std::make_shared<CFreeFallState>(this, m_Config);
    TakeBody(*m_FreeFallState);
    m_DeploymentState = std::make_shared<CDeploymentState>(this, m_Config);
    TakeBody(*m_DeploymentState);

    // Without "ShowPilotChute" nobody shows a pilot chute, so none is made.
    const std::shared_ptr<CPhyRagDoll> pilotChute =
        desc.m_ShowPilotChute ? LoadRagDoll(canopyRide->GetChild("PilotChute"), "RagDoll") : nullptr;
    if (pilotChute)
        pilotChute->SetMaterial(CPhyMgr::GetSingleton()->GetMaterialIndex(
            canopyRide->GetChild("PilotChute")->GetAttribute("Material")->GetValue()));
    m_CanopyRideState =
        std::make_shared<CCanopyRideState>(this, m_Config, pilotChute, desc.m_Orientation, desc.m_Position);
    TakeBody(*m_CanopyRideState);

    const xml::CNodePtr landing = GetJumperState(m_Config, "Landing");
    std::shared_ptr<CPhyRagDoll> ragDolls[3];
    const char* names[3] = {"Jumper", "Canopy", "Slider"};
    for (int i = 0; i < 3; ++i)
    {
        const xml::CNodePtr element = GetNamedChild(landing, "RagDoll", names[i]);
        // The landing cannot do without the jumper or the canopy.
        if (i < 2 && element->HasAttribute("Disabled"))
            throw sds::CException(element->GetPath() + ": only the slider's rag doll may be disabled");
        ragDolls[i] = LoadRagDoll(element, "File");
    }
    ragDolls[0]->SetMaterial(FirstShapeMaterial(m_DeploymentState->GetActor()));
    ragDolls[1]->SetMaterial(FirstShapeMaterial(GetCanopyActor()));
    m_LandingState =
        std::make_shared<CLandingState>(this, m_Config, ragDolls[0], ragDolls[1], ragDolls[2], pilotChute);
    TakeBody(*m_LandingState);

    m_ExitState->FollowBody(*m_FreeFallState);
    StartIn(m_Config->GetAttribute("StartIn")->GetValue());
}

CPhyJumper::~CPhyJumper()
{
    // Without its world the bodies are gone already, and there is nothing to leave.
    if (CPhyMgr::GetLiveWorld(m_World))
        while (HasStates())
            PopState();
    m_States.clear();
    m_CollisionCallback = nullptr;
    m_CurrentBody = nullptr;
    m_LandingState.reset();
    m_CanopyRideState.reset();
    m_DeploymentState.reset();
    m_FreeFallState.reset();
    m_ExitState.reset();
    m_TestState.reset();
}

std::shared_ptr<IPhyJumper> CPhyJumper::Create(const xml::CNodePtr& phyJumper, const CPhyJumperDesc& desc)
{
    return std::make_shared<CPhyJumper>(phyJumper, desc);
}

void CPhyJumper::ApplyOverrides(const CPhyJumperDesc& desc)
{
    const xml::CNodePtr canopyRide = GetJumperState(m_Config, "CanopyRide");
    if (IsOverride(desc.m_ExitWeight, "Exit weight"))
        SetAttribute(GetNamedChild(m_Config, "Shape", "Body"), "Mass", sds::ToString(desc.m_ExitWeight));
    if (IsOverride(desc.m_CanopySize, "Canopy size"))
        SetAttribute(GetNamedChild(canopyRide, "ForceLift", "Lift"), "Sw", sds::ToString(desc.m_CanopySize));
    if (!desc.m_InputConversion.empty())
        SetAttribute(canopyRide, "InputConversion", desc.m_InputConversion);
    if (!desc.m_CanopyModel.empty())
        SetAttribute(canopyRide, "CanopyModel", desc.m_CanopyModel);
}

std::shared_ptr<CPhyRagDoll> CPhyJumper::LoadRagDoll(const xml::CNodePtr& element,
                                                     const std::string& fileAttribute) const
{
    if (element->HasAttribute("Disabled"))
        return nullptr;
    const std::string file = element->GetAttribute(fileAttribute)->GetValue();
    sds::CQuaternion orientation = element->GetAttribute("Orientation")->GetValue<sds::CQuaternion>();
    orientation.NormaliseQuaternion();
    auto ragDoll = std::dynamic_pointer_cast<CPhyRagDoll>(CPhyMgr::GetSingleton()->GetInstancer().Create(
        file, element->GetAttribute("Position")->GetValue<sds::CVector>(), orientation, nullptr));
    if (!ragDoll)
        throw sds::CException(element->GetPath() + ": '" + file + "' holds no rag doll");
    return ragDoll;
}

void CPhyJumper::StartIn(const std::string& phase)
{
    if (phase == "FreeFall")
        return SwitchToFreeFallState();
    if (phase == "Exit")
        return SwitchToExitState();
    if (phase == "Landing")
        return SwitchToLandingState();
    if (phase == "Test")
        return ChangeState(m_TestState.get());
    SwitchToCanopyRideState();
    // Flying its own glide, turned as the canopy is.
    m_CanopyRideState->StartGliding(false);
}

void CPhyJumper::TakeBody(CPhyJumperState& state)
{
    m_CurrentBody = state.GetBody();
    if (m_CurrentBody)
        m_CurrentBody->SetCollisionCallback(m_CollisionCallback);
}

void CPhyJumper::SwitchTo(CPhyJumperState& state)
{
    TakeBody(state);
    ChangeState(&state);
}

void CPhyJumper::SwitchToExitState() { SwitchTo(*m_ExitState); }
void CPhyJumper::SwitchToFreeFallState() { SwitchTo(*m_FreeFallState); }
void CPhyJumper::SwitchToDeploymentState() { SwitchTo(*m_DeploymentState); }
void CPhyJumper::SwitchToCanopyRideState()
{
    const bool opening = HasStates() && IsInDeploymentState();
    SwitchTo(*m_CanopyRideState);
    // The opening, which the deployment's drags stand for, ends in the glide,
    // whatever pitch or roll the jumper swung to under the canopy.
    if (opening)
        m_CanopyRideState->StartGliding(true);
}
void CPhyJumper::SwitchToLandingState() { SwitchTo(*m_LandingState); }

std::array<CPhyJumperState*, 6> CPhyJumper::GetStatesInOrder() const
{
    return {m_TestState.get(),       m_ExitState.get(),       m_FreeFallState.get(),
            m_DeploymentState.get(), m_CanopyRideState.get(), m_LandingState.get()};
}

bool CPhyJumper::IsIn(const CPhyJumperState& state) const { return GetCurrentState() == &state; }
bool CPhyJumper::IsInExitState() const { return IsIn(*m_ExitState); }
bool CPhyJumper::IsInFreeFallState() const { return IsIn(*m_FreeFallState); }
bool CPhyJumper::IsInDeploymentState() const { return IsIn(*m_DeploymentState); }
bool CPhyJumper::IsInCanopyRideState() const { return IsIn(*m_CanopyRideState); }
bool CPhyJumper::IsInLandingState() const { return IsIn(*m_LandingState); }

IExitState* CPhyJumper::GetExitState() { return m_ExitState.get(); }
IFreeFallState* CPhyJumper::GetFreeFallState() { return m_FreeFallState.get(); }
IDeploymentState* CPhyJumper::GetDeploymentState() { return m_DeploymentState.get(); }
ICanopyRideState* CPhyJumper::GetCanopyRideState() { return m_CanopyRideState.get(); }
ILandingState* CPhyJumper::GetLandingState() { return m_LandingState.get(); }

void CPhyJumper::SetCollisionCallback(const CCollisionCallback& callback)
{
    m_CollisionCallback = callback;
    if (m_CurrentBody)
        m_CurrentBody->SetCollisionCallback(callback);
    for (CPhyJumperState* state : GetStatesInOrder())
        state->SetCollisionCallback(callback);
}

const sdk::IActor& CPhyJumper::CurrentActor() const
{
    SDS_ASSERT(m_CurrentBody && m_CurrentBody->GetActor() && "The jumper's body has no actor");
    return *m_CurrentBody->GetActor();
}

sds::CVector CPhyJumper::GetPos() const { return CurrentActor().GetGlobalPosition(); }
sds::CVector CPhyJumper::GetVelocity() const { return CurrentActor().GetLinearVelocity(); }
sds::CQuaternion CPhyJumper::GetOrientation() const { return CurrentActor().GetGlobalOrientation(); }

xml::CNodePtr CPhyJumper::GetPhyInfo() const
{
    const float mass = GetNamedChild(m_Config, "Shape", "Body")->GetAttribute("Mass")->GetValue<float>();
    xml::CNodePtr info(new xml::CNode("PhyInfo", false));
    const xml::CNodePtr wingLoading = info->AddChild("Info", mass / m_CanopyRideState->GetWingArea());
    wingLoading->AddAttribute("Name", "Wing loading");
    wingLoading->AddAttribute("Units", "WingLoading");
    return info;
}

sdk::IActor* CPhyJumper::GetCanopyActor() const
{
    return m_CanopyRideState ? m_CanopyRideState->GetCanopyActor() : nullptr;
}

void CPhyJumper::DrawForces()
{
    GetCurrentState()->DrawForces();
}

void CPhyJumper::OnUpdate(const sds::CTiming& step)
{
    for (CPhyJumperState* state : GetStatesInOrder())
        state->Sync();
    if (m_LogData)
        WriteTelemetry(step.m_Global);
}

void CPhyJumper::WriteTelemetry(float time)
{
    // Each body's columns are numbered from (index + 1) x 1000, so that they sort together.
    const int first = (m_Index + 1) * 1000;
    if (m_Columns.empty())
        for (const char* suffix : {"_Pos_x", "_Pos_y", "_Pos_z", "_LinearVel_x", "_LinearVel_y", "_LinearVel_z",
                                   "_LinearVel_Mag", "_BodyDrag_Mag"})
            m_Columns.push_back(std::to_string(first + int(m_Columns.size())) + "_" + m_Name + suffix);
    const sds::CVector position = GetPos();
    const sds::CVector velocity = GetVelocity();
    const float values[] = {position.x, position.y, position.z, velocity.x, velocity.y, velocity.z,
                            velocity.Length(), GetCurrentState()->GetBodyDragMagnitude()};
    sds::CDataLog& log = sds::GetDataLog("main");
    for (std::size_t i = 0; i < m_Columns.size(); ++i)
        log.SetCell(m_Columns[i], time, values[i]);
    GetCurrentState()->LogData(time, first + 10);
}

} // namespace physics
