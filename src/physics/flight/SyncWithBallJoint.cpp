#include "physics/flight/SyncWithBallJoint.h"

#include "physics/PhyException.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IScene.h"

namespace physics {

namespace {

sdk::IJoint& HangFrom(sdk::IActor& leader, sdk::IActor& follower, const xml::CNodePtr& limitPlane)
{
    const sds::CVector normal = limitPlane->GetAttribute("Normal")->GetValue<sds::CVector>();
    const sds::CVector point = limitPlane->GetAttribute("Point")->GetValue<sds::CVector>();
    const sds::CQuaternion orientation = leader.GetGlobalOrientation();
    const sds::CVector anchor = leader.GetGlobalPosition() + orientation * point;
    const sds::CVector axis = orientation * normal;

    sdk::IJoint* joint =
        leader.GetScene().CreateJoint(CSyncWithBallJoint::MakeBallJoint(leader, follower, anchor, axis));
    if (!joint)
        throw CPhyException("Could not create the ball joint");
    // The follower's origin sits on the anchor; its centre is what the plane holds up.
    joint->SetLimitPoint(follower.GetGlobalPosition() +
                         follower.GetGlobalOrientation() * follower.GetCMassLocalPosition());
    joint->AddLimitPlane(axis, anchor, 0.0f);
    return *joint;
}

} // namespace

sdk::CJointDesc CSyncWithBallJoint::MakeBallJoint(sdk::IActor& leader, sdk::IActor& follower,
                                                  const sds::CVector& worldAnchor, const sds::CVector& worldAxis)
{
    sdk::CJointDesc desc(sdk::JOINT_SPHERICAL);
    desc.m_Actors[0] = &leader;
    desc.m_Actors[1] = &follower;
    desc.SetGlobalAnchor(worldAnchor);
    desc.SetGlobalAxis(worldAxis);
    desc.m_Flags = sdk::SPHERICAL_TWIST_LIMIT_ENABLED | sdk::SPHERICAL_TWIST_SPRING_ENABLED;
    desc.m_Limit.m_Low.m_Value = 0.0f;
    desc.m_Limit.m_High.m_Value = 0.0f;
    desc.m_Spring.m_Spring = 500.0f;
    desc.m_Spring.m_Damper = 0.5f;
    desc.m_Spring.m_TargetValue = 0.0f;
    return desc;
}

CSyncWithBallJoint::CSyncWithBallJoint(sdk::IActor& leader, sdk::IActor& follower, const xml::CNodePtr& limitPlane)
    : m_Scene(leader.GetScene()), m_Joint(HangFrom(leader, follower, limitPlane))
{
}

CSyncWithBallJoint::~CSyncWithBallJoint()
{
    if (IsWorldAlive())
        m_Scene.ReleaseJoint(m_Joint);
}

} // namespace physics
