#include "physics/flight/LandingState.h"

#include <algorithm>
#include <typeinfo>

#include "core/Exception.h"
#include "physics/PhyMgr.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/BadCast.h"
#include "physics/flight/JumperConfig.h"
#include "physics/flight/PhyJumper.h"
#include "physics/flight/PhyPilotChute.h"
#include "physics/flight/SyncRagDollByMoving.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IScene.h"

namespace physics::PhyJumperStates {

namespace {

// m/s: a step's way down at it is less than the doll's trunk is thick.
const float MAX_DOLL_FALL_SPEED = 10.0f;

sdk::IActor& RootActor(const CPhyRagDoll& ragDoll)
{
    return *ragDoll.GetRootBone()->GetActor();
}

} // namespace

CLandingState::CLandingState(CPhyJumper* owner, const xml::CNodePtr& phyJumper,
                             const std::shared_ptr<CPhyRagDoll>& jumper, const std::shared_ptr<CPhyRagDoll>& canopy,
                             const std::shared_ptr<CPhyRagDoll>& slider, const std::shared_ptr<CPhyRagDoll>& pilotChute)
    : CPhyJumperState(owner),
      m_CanopyRagDoll(canopy),
      m_JumperRagDoll(jumper),
      m_SliderRagDoll(slider),
      m_World(CPhyMgr::GetSingleton() ? CPhyMgr::GetSingleton()->GetSerial() : 0),
      m_CanopyForces(GetNamedChild(GetJumperState(phyJumper, "Landing"), "ForceGravity", "Canopy"),
                     GetNamedChild(GetJumperState(phyJumper, "Landing"), "ForceDrag", "Canopy"))
{
    SDS_ASSERT(m_JumperRagDoll && m_CanopyRagDoll && "The landing needs the jumper's and the canopy's rag dolls");
    const xml::CNodePtr sliderConfig = GetJumperState(phyJumper, "Landing")->GetChild("Slider");
    m_SliderOffset = sliderConfig->GetAttribute("Offset")->GetValue<sds::CVector>();
    m_AdditionalDistance = sliderConfig->GetAttribute("AdditionalDistance")->GetValue<float>();

    m_CanopySync = std::make_shared<CSyncRagDollByMoving>(*m_CanopyRagDoll, GetCanopyActor(), sds::CVector::ZERO);
    if (m_SliderRagDoll)
        m_SliderSync = std::make_shared<CSyncRagDollByMoving>(*m_SliderRagDoll, GetCurrentActor(), m_SliderOffset);
    m_Sync = std::make_shared<CSyncRagDollByMoving>(*m_JumperRagDoll, GetCurrentActor(), sds::CVector::ZERO);
    // The doll takes the body's speed at the touch-down, which may be a free
    // fall's: most of a metre a step, more than its limbs are thick.
    m_JumperRagDoll->EnableContinuousCollision(true);
    // The doll takes the body's speed at the touch-down, which may be a free fall's.
    m_JumperRagDoll->EnableContinuousCollision(true);
    if (pilotChute)
        m_PilotChute = std::make_shared<CPhyPilotChute>(pilotChute, RootActor(*m_CanopyRagDoll),
                                                        std::vector<const CPhyObj*>(),
                                                        GetJumperState(phyJumper, "CanopyRide")->GetChild("PilotChute"),
                                                        false);
}

CLandingState::~CLandingState()
{
    m_Sync.reset();
    m_CanopySync.reset();
    m_SliderSync.reset();
    ReleaseJoint(m_JumperCanopyJoint);
    ReleaseJoint(m_SliderCanopyJoint);
    ReleaseJoint(m_JumperSliderJoint);
}

CPhyObj* CLandingState::GetBody()
{
    return m_JumperRagDoll->GetRootBone().get();
}

sdk::IActor* CLandingState::GetCanopyActor() const
{
    return m_Owner->GetCanopyActor();
}

void CLandingState::SetCollisionCallback(const CPhyObj::CCollisionCallback& callback)
{
    GetBody()->SetCollisionCallback(callback);
    m_JumperRagDoll->ShareRootCallback();
}

void CLandingState::Enter()
{
    // The first entry ends the parking, which lets the doll go where its leader
    // is; a later one ends the sync that carried only the root, so the doll is
    // made whole again around the root, moving as it does.
    m_Sync.reset();
    // The touch-down is told when the step that made it is over, and a fast
    // body may be in the ground by then: the doll lies down where the body
    // was after the step before, a doll laid out under the ground would fall
    // through it. The doll keeps the body's speed, but the ground took a free
    // fall's: at 40 m/s and more, most of a metre a step, the doll's joints
    // would drag its limbs and trunk through the ground.
    if (!m_Entered && m_BodySeen)
    {
        sds::CVector velocity = RootActor(*m_JumperRagDoll).GetLinearVelocity();
        velocity.y = std::max(velocity.y, -MAX_DOLL_FALL_SPEED);
        RootActor(*m_JumperRagDoll).SetGlobalPose(m_BodyPosition, m_BodyOrientation);
        m_JumperRagDoll->ResetPose();
        m_JumperRagDoll->SetLinearVelocity(velocity);
    }
    if (m_Entered)
    {
        const sds::CVector velocity = RootActor(*m_JumperRagDoll).GetLinearVelocity();
        m_JumperRagDoll->ResetPose();
        m_JumperRagDoll->SetLinearVelocity(velocity);
        m_JumperRagDoll->EnableCollision(true);
    }
    m_Entered = true;
    if (m_LandingMode == 1)
        m_JumperRagDoll->ReleaseJoints();

    sdk::IActor& jumperRoot = RootActor(*m_JumperRagDoll);
    if (m_SliderRagDoll)
    {
        m_SliderSync.reset();
        m_JumperSliderJoint = MakeDistanceJoint(jumperRoot, RootActor(*m_SliderRagDoll), 0.0f);
    }
    m_CanopySync.reset();
    sdk::IActor& canopyRoot = RootActor(*m_CanopyRagDoll);
    m_JumperCanopyJoint = MakeDistanceJoint(jumperRoot, canopyRoot, 0.0f);
    m_CanopyForces.BindActor(m_CanopyRagDoll->GetRootBone());
    if (m_SliderRagDoll)
        m_SliderCanopyJoint = MakeDistanceJoint(RootActor(*m_SliderRagDoll), canopyRoot, m_AdditionalDistance);
    if (m_PilotChute)
    {
        m_PilotChute->Activate();
        m_PilotChute->GetRagDoll()->EnableGravity(true);
    }
}

void CLandingState::Exit()
{
    m_JumperRagDoll->EnableCollision(false);
    FollowCurrentBody();

    m_CanopyForces.ReleaseActor();
    m_CanopySync = std::make_shared<CSyncRagDollByMoving>(*m_CanopyRagDoll, GetCanopyActor(), sds::CVector::ZERO);
    m_CanopyRagDoll->EnableCollision(false);
    m_CanopyRagDoll->EnableGravity(false);
    ReleaseJoint(m_JumperCanopyJoint);
    ReleaseJoint(m_SliderCanopyJoint);

    if (m_SliderRagDoll)
    {
        m_SliderSync = std::make_shared<CSyncRagDollByMoving>(*m_SliderRagDoll, GetCurrentActor(), m_SliderOffset);
        m_SliderRagDoll->EnableCollision(false);
        ReleaseJoint(m_JumperSliderJoint);
    }
    if (m_PilotChute)
        m_PilotChute->Deactivate();
}

void CLandingState::OnUpdate(const sds::CTiming& timing)
{
    if (m_PilotChute)
        m_PilotChute->Update(BodyStep(timing));
    if (m_LandingMode != 1)
        return;
    // The drag is worked out on the root; every other part of the canopy gets the same.
    m_CanopyForces.Update(BodyStep(timing));
    const CPhyForce& drag = m_CanopyForces.GetDrag();
    const CPhyForce& gravity = m_CanopyForces.GetGravity();
    const std::string& root = m_CanopyRagDoll->GetRootName();
    for (std::uint16_t i = 0; i < m_CanopyRagDoll->GetActorCount(); ++i)
    {
        const std::string& name = m_CanopyRagDoll->GetActorName(i);
        sdk::IActor* actor = name == root ? nullptr : m_CanopyRagDoll->GetBone(name)->GetActor();
        if (!actor)
            continue;
        actor->AddForceAtLocalPos(drag.GetForce(), drag.GetPosition(), true);
        actor->AddForceAtLocalPos(gravity.GetForce(), gravity.GetPosition(), true);
    }
}

void CLandingState::Sync()
{
    if (!m_Entered)
        if (const sdk::IActor* body = GetCurrentActor())
        {
            m_BodySeen = true;
            m_BodyPosition = body->GetGlobalPosition();
            m_BodyOrientation = body->GetGlobalOrientation();
        }
    CPhyJumperState::Sync();
    if (m_CanopySync)
        m_CanopySync->Sync();
    if (m_PilotChute)
        m_PilotChute->Sync();
    if (m_SliderSync)
        m_SliderSync->Sync();
}

void CLandingState::DrawForces()
{
    if (m_PilotChute)
        m_PilotChute->DrawForces();
}

sdk::CJointDesc CLandingState::DistanceJointDesc(sdk::IActor& first, sdk::IActor& second,
                                                 const sds::CVector& firstAnchor, const sds::CVector& secondAnchor,
                                                 const sds::CVector& axis, float extraLength)
{
    sdk::CJointDesc desc(sdk::JOINT_DISTANCE);
    desc.m_Actors[0] = &first;
    desc.m_Actors[1] = &second;
    desc.m_LocalAnchor[0] = firstAnchor;
    desc.m_LocalAnchor[1] = secondAnchor;
    desc.SetGlobalAxis(axis);
    const sds::CVector a = first.GetGlobalPosition() + first.GetGlobalOrientation() * firstAnchor;
    const sds::CVector b = second.GetGlobalPosition() + second.GetGlobalOrientation() * secondAnchor;
    const float distance = (a - b).Length();
    desc.m_MaxDistance = distance + extraLength;
    desc.m_MinDistance = 0.2f * distance;
    desc.m_Spring.m_Spring = 100.0f;
    desc.m_Spring.m_Damper = 0.5f;
    desc.m_Spring.m_TargetValue = 0.0f;
    desc.m_Flags = sdk::DISTANCE_MAX_ENABLED | sdk::DISTANCE_MIN_ENABLED | sdk::DISTANCE_SPRING_ENABLED;
    desc.m_JointFlags |= sdk::JF_COLLISION_ENABLED;
    return desc;
}

sdk::IJoint* CLandingState::MakeDistanceJoint(sdk::IActor& first, sdk::IActor& second, float extraLength)
{
    const sdk::CJointDesc desc =
        DistanceJointDesc(first, second, sds::CVector::ZERO, sds::CVector::ZERO, sds::CVector::UNIT_Y, extraLength);
    sdk::IJoint* joint = CPhyMgr::GetSingleton()->GetScene().CreateJoint(desc);
    if (!joint)
        throw CBadCast();
    return joint;
}

void CLandingState::ReleaseJoint(sdk::IJoint*& joint)
{
    if (joint)
        if (CPhyMgr* world = CPhyMgr::GetLiveWorld(m_World))
            world->GetScene().ReleaseJoint(*joint);
    joint = nullptr;
}

} // namespace physics::PhyJumperStates
