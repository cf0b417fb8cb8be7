#include "physics/flight/CanopyRideState.h"

#include <cmath>

#include "core/DataLog.h"
#include "core/Exception.h"
#include "core/IResourceMgr.h"
#include "physics/PhyLog.h"
#include "physics/PhyMgr.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/JumperBox.h"
#include "physics/flight/JumperConfig.h"
#include "physics/flight/PhyCell.h"
#include "physics/flight/PhyJumper.h"
#include "physics/flight/PhyPilotChute.h"
#include "physics/flight/SyncGroupByMoving.h"
#include "physics/sdk/IActor.h"

namespace physics::PhyJumperStates {

CCanopyRideState::CCanopyRideState(CPhyJumper* owner, const xml::CNodePtr& phyJumper,
                                   const std::shared_ptr<CPhyRagDoll>& pilotChute, const sds::CQuaternion& orientation,
                                   const sds::CVector& position)
    : CPhyJumperState(owner),
      CPhyMovingBody(GetNamedChild(GetJumperState(phyJumper, "CanopyRide"), "ForceGravity", "Gravity"),
                     GetNamedChild(GetJumperState(phyJumper, "CanopyRide"), "ForceDrag", "Body"))
{
    const xml::CNodePtr state = GetJumperState(phyJumper, "CanopyRide");
    m_CanopyOffset = state->GetChild("CanopyInfo")->GetAttribute("Position")->GetValue<sds::CVector>();
    const xml::CNodePtr sw = GetNamedChild(state, "ForceLift", "Lift")->GetAttribute("Sw");
    m_WingArea = sw->GetValue<float>();
    // The wing loading divides by it, and a lift of no area is no canopy.
    if (!std::isfinite(m_WingArea) || m_WingArea <= 0.0f)
        throw sds::CException(sw->GetPath() + " must be a positive number of square metres, not '" + sw->GetValue() +
                              "'");
    BuildBody(phyJumper, orientation, position);
    BuildCells(phyJumper);
    if (pilotChute)
        m_PilotChute = std::make_shared<CPhyPilotChute>(pilotChute, *m_CanopyActor, std::vector<const CPhyObj*>(),
                                                        state->GetChild("PilotChute"), false);
    m_Gravity.SetForce(m_Gravity.GetForce() * GetActor()->GetMass());
    EnableCellCollision(false);
    FollowCurrentBodyWithCells();
}

CCanopyRideState::~CCanopyRideState()
{
    m_PilotChute.reset();
    m_Sync.reset();
}

void CCanopyRideState::BuildBody(const xml::CNodePtr& phyJumper, const sds::CQuaternion& orientation,
                                 const sds::CVector& position)
{
    CJumperBoxDesc desc = CJumperBoxDesc::FromShape(GetNamedChild(phyJumper, "Shape", "Body"));
    const xml::CNodePtr actor = GetNamedChild(GetJumperState(phyJumper, "CanopyRide"), "Actor", "Body");
    desc.m_LinearDamping = actor->GetAttribute("LinearDamping")->GetValue<float>();
    desc.m_AngularDamping = actor->GetAttribute("AngularDamping")->GetValue<float>();
    m_PitchDamping = actor->GetAttribute<float>("PitchDamping", 0.0f);
    m_Glide = actor->GetAttribute("InitialVelocity")->GetValue<sds::CVector>();
    m_GlideLoading = actor->GetAttribute<float>("WingLoading", 0.0f);
    desc.m_Position = position;
    // A zero orientation is no turn at all.
    desc.m_Orientation = orientation;
    desc.m_Orientation.NormaliseQuaternion();
    desc.Create(*this);
}

void CCanopyRideState::BuildCells(const xml::CNodePtr& phyJumper)
{
    const xml::CNodePtr state = GetJumperState(phyJumper, "CanopyRide");
    const xml::CNodePtr curves =
        sds::IResourceMgr::GetSingleton()->LoadXml(phyJumper->GetAttribute("Parameters")->GetValue())->GetChild("svg");
    const std::string modelName = state->GetAttribute("CanopyModel")->GetValue();
    const xml::CNodePtr model = GetNamedChild(state, "CanopyModel", modelName);
    LogMessage("Using canopy phy model: " + modelName);
    const xml::CNodePtr conversion =
        GetNamedChild(state, "InputConversion", state->GetAttribute("InputConversion")->GetValue());

    model->GetChild("Cell"); // a model without cells is a configuration fault like any missing child
    xml::ForEachChild(*model, "Cell", [&](const xml::CNodePtr& cell) {
        m_Cells.push_back(CreateCell(*GetActor(), cell, state, curves, conversion));
    });
    SDS_ASSERT(!m_Cells.empty() && "There should be at least one cell");

    for (const std::shared_ptr<CPhyCell>& cell : m_Cells)
    {
        const std::string& input = cell->GetInputType();
        if (input == "Both" || input == "Right")
            m_RightCells.push_back(cell);
        if (input == "Both" || input == "Left")
            m_LeftCells.push_back(cell);
        if (cell->IsCenterCell())
            m_CanopyActor = cell->GetActor();
    }
    if (!m_CanopyActor)
        m_CanopyActor = m_Cells.front()->GetActor();
}

void CCanopyRideState::SetPull(EControl control, ESide side, float pull)
{
    m_Pulls[control][side] = pull;
    const float both = 0.5f * (m_Pulls[control][LEFT] + m_Pulls[control][RIGHT]);
    for (const std::shared_ptr<CPhyCell>& cell : side == LEFT ? m_LeftCells : m_RightCells)
    {
        const float value = cell->GetInputType() == "Both" ? both : pull;
        switch (control)
        {
        case TOGGLE: cell->SetToggle(value); break;
        case REAR_RISER: cell->SetRearRiser(value); break;
        case FRONT_RISER: cell->SetFrontRiser(value); break;
        default: break;
        }
    }
}

sds::CVector CCanopyRideState::GetCanopyPos() const
{
    return CPhyMovingBody::GetPos() + CPhyMovingBody::GetOrientation() * m_CanopyOffset;
}

sds::CQuaternion CCanopyRideState::GetCanopyOrientation() const
{
    return CPhyMovingBody::GetOrientation();
}

void CCanopyRideState::OnUpdate(const sds::CTiming& timing)
{
    sdk::IActor& body = *GetActor();
    for (const std::shared_ptr<CPhyCell>& cell : m_Cells)
        cell->ApplyForces(body);
    if (m_PilotChute)
        m_PilotChute->Update(BodyStep(timing));
    CPhyMovingBody::Update(BodyStep(timing));
    DampPitch(timing.m_Elapsed);
}

void CCanopyRideState::DampPitch(float elapsed)
{
    if (!(m_PitchDamping > 0.0f) || !(elapsed > 0.0f))
        return;
    // The body and its cells are one rigid piece, whose pitching lives in the
    // cells' speeds as much as in the body's turning: both are damped alike,
    // about the piece's centre of mass. Turns, about the vertical, are left alone.
    sdk::IActor& body = *GetActor();
    sds::CVector heading = body.GetGlobalOrientation() * sds::CVector::UNIT_X;
    heading.y = 0.0f;
    sds::CVector axis = sds::CVector::UNIT_Y.Cross(heading);
    if (axis.Length() < 1e-3f)
        return; // nose straight up or down: no pitch to tell from a turn
    axis.Normalize();

    const auto centreOf = [](const sdk::IActor& part) {
        return part.GetGlobalPosition() + part.GetGlobalOrientation() * part.GetCMassLocalPosition();
    };
    float mass = body.GetMass();
    sds::CVector centre = centreOf(body) * mass;
    for (const std::shared_ptr<CPhyCell>& cell : m_Cells)
    {
        mass += cell->GetActor()->GetMass();
        centre = centre + centreOf(*cell->GetActor()) * cell->GetActor()->GetMass();
    }
    centre = centre / mass;

    const float pitch = body.GetAngularVelocity().Dot(axis);
    const sds::CVector change = axis * (-pitch * (1.0f - std::exp(-m_PitchDamping * elapsed)));
    const auto damp = [&](sdk::IActor& part) {
        part.SetLinearVelocity(part.GetLinearVelocity() + change.Cross(centreOf(part) - centre));
        part.SetAngularVelocity(part.GetAngularVelocity() + change);
    };
    damp(body);
    for (const std::shared_ptr<CPhyCell>& cell : m_Cells)
        damp(*cell->GetActor());
}

void CCanopyRideState::Enter()
{
    m_Sync.reset();
    if (m_PilotChute)
        m_PilotChute->Activate();
    EnableCollision(true);
    EnableCellCollision(true);
}

void CCanopyRideState::Exit()
{
    if (m_PilotChute)
        m_PilotChute->Deactivate();
    EnableCollision(false);
    EnableCellCollision(false);
    FollowCurrentBodyWithCells();
}

void CCanopyRideState::Sync()
{
    CPhyJumperState::Sync();
    if (m_PilotChute)
        m_PilotChute->Sync();
}

void CCanopyRideState::FollowCurrentBodyWithCells()
{
    sdk::IActor* leader = GetCurrentActor();
    if (leader && leader != GetActor())
        m_Sync = std::make_shared<CSyncGroupByMoving>(*leader, *GetActor());
    else
        m_Sync.reset();
}

void CCanopyRideState::EnableCellCollision(bool enable)
{
    for (const std::shared_ptr<CPhyCell>& cell : m_Cells)
        cell->EnableCollision(enable);
}

void CCanopyRideState::SetLinearVelocity(const sds::CVector& velocity)
{
    if (m_PilotChute)
        m_PilotChute->GetRagDoll()->SetLinearVelocity(velocity);
    GetActor()->SetLinearVelocity(velocity);
    for (const std::shared_ptr<CPhyCell>& cell : m_Cells)
        cell->GetActor()->SetLinearVelocity(velocity);
}

sds::CVector CCanopyRideState::GetGlideVelocity() const
{
    const float loading = GetActor()->GetMass() / m_WingArea;
    if (!(m_GlideLoading > 0.0f) || !std::isfinite(loading))
        return m_Glide;
    float scale = loading / m_GlideLoading;
    if (const CPhyMgr* world = CPhyMgr::GetSingleton())
        scale *= world->GetAirDensity(0.0f) / world->GetAirDensity(GetActor()->GetGlobalPosition().y);
    return std::isfinite(scale) && scale > 0.0f ? m_Glide * std::sqrt(scale) : m_Glide;
}

void CCanopyRideState::StartGliding(bool level)
{
    const sds::CVector glide = GetGlideVelocity();
    sds::CVector velocity = GetCanopyOrientation() * glide;
    if (level)
    {
        sds::CVector forward = GetCanopyOrientation() * sds::CVector::UNIT_X;
        forward.y = 0.0f;
        if (forward.Length() < 1e-3f)
            return; // nose straight up or down: no heading to glide along
        forward.Normalize();
        velocity = forward * glide.x + sds::CVector::UNIT_Y * glide.y + forward.Cross(sds::CVector::UNIT_Y) * glide.z;
    }
    if (CPhyMgr* world = CPhyMgr::GetSingleton())
        velocity = velocity + world->GetWindMgr().GetWind(GetActor()->GetGlobalPosition());
    SetLinearVelocity(velocity);
}

const CPhyCell& CCanopyRideState::GetLoggedLeftCell() const
{
    return m_LeftCells.empty() ? *m_Cells.front() : *m_LeftCells.front();
}

const CPhyCell& CCanopyRideState::GetLoggedRightCell() const
{
    return m_RightCells.empty() ? *m_Cells.back() : *m_RightCells.back();
}

void CCanopyRideState::LogData(float time, int column)
{
    const std::string& name = m_Owner->GetName();
    sds::CDataLog& log = sds::GetDataLog("main");
    log.GetColumn(std::to_string(column + 1) + "_" + name + "_Reserved").SetValue(time, 0);
    GetLoggedLeftCell().LogData(log, time, column + 10, name + "_LeftCell");
    GetLoggedRightCell().LogData(log, time, column + 40, name + "_RightCell");
}

void CCanopyRideState::DrawForces()
{
    for (const std::shared_ptr<CPhyCell>& cell : m_Cells)
        cell->DrawForces();
    if (m_PilotChute)
        m_PilotChute->DrawForces();
    CPhyMovingBody::DrawForces();
}

void CCanopyRideState::SetCollisionCallback(const CPhyObj::CCollisionCallback& callback)
{
    if (m_PilotChute)
        return CPhyJumperState::SetCollisionCallback(callback);
    for (const std::shared_ptr<CPhyCell>& cell : m_Cells)
        cell->SetCollisionCallback(callback);
}

} // namespace physics::PhyJumperStates
