#include "physics/sdk/bullet/DistanceConstraint.h"

#include <BulletDynamics/Dynamics/btRigidBody.h>

#include "physics/sdk/bullet/ConstraintRows.h"

namespace physics::sdk {

CDistanceConstraint::CDistanceConstraint(btRigidBody& bodyA, btRigidBody& bodyB, const btVector3& anchorA,
                                         const btVector3& anchorB)
    : btTypedConstraint(MAX_CONSTRAINT_TYPE, bodyA, bodyB), m_Anchors{anchorA, anchorB}
{
}

void CDistanceConstraint::SetAnchors(const btVector3& anchorA, const btVector3& anchorB)
{
    m_Anchors[0] = anchorA;
    m_Anchors[1] = anchorB;
}

void CDistanceConstraint::SetLimits(bool minEnabled, btScalar minDistance, bool maxEnabled, btScalar maxDistance)
{
    m_MinEnabled = minEnabled;
    m_Min = minDistance;
    m_MaxEnabled = maxEnabled;
    m_Max = maxDistance;
}

void CDistanceConstraint::SetSpring(bool enabled, btScalar spring, btScalar damper)
{
    m_Sprung = enabled;
    m_Spring = spring;
    m_Damper = damper;
}

CDistanceConstraint::CState CDistanceConstraint::GetState() const
{
    CState s;
    s.m_PointA = m_rbA.getCenterOfMassTransform() * m_Anchors[0];
    s.m_PointB = m_rbB.getCenterOfMassTransform() * m_Anchors[1];
    const btVector3 d = s.m_PointB - s.m_PointA;
    s.m_Distance = d.length();
    s.m_Direction = s.m_Distance > SIMD_EPSILON ? d / s.m_Distance : btVector3(0, 1, 0);
    return s;
}

btScalar CDistanceConstraint::GetDistance() const { return GetState().m_Distance; }

void CDistanceConstraint::getInfo1(btConstraintInfo1* info)
{
    info->m_numConstraintRows = int(m_MinEnabled) + int(m_MaxEnabled);
    info->nub = 0;
}

void CDistanceConstraint::getInfo2(btConstraintInfo2* info)
{
    const CState s = GetState();
    const btVector3 centreA = m_rbA.getCenterOfMassPosition();
    const btVector3 centreB = m_rbB.getCenterOfMassPosition();
    int row = 0;
    if (m_MinEnabled)
        WriteRow(info, row++, s.m_Direction, s.m_PointA, s.m_PointB, centreA, centreB,
                 OneSidedRhs(info, s.m_Distance - m_Min), 0, SIMD_INFINITY);
    if (m_MaxEnabled)
        WriteRow(info, row++, -s.m_Direction, s.m_PointA, s.m_PointB, centreA, centreB,
                 OneSidedRhs(info, m_Max - s.m_Distance), 0, SIMD_INFINITY);
}

void CDistanceConstraint::ApplySpringForces()
{
    if (!m_Sprung || !isEnabled())
        return;
    // Within the limits the line is slack: a spring pulling towards a length
    // inside them would drag a collapsing canopy onto the jumper it is tied to.
    const CState s = GetState();
    btScalar target = s.m_Distance;
    if (m_MaxEnabled)
        target = btMin(target, m_Max);
    if (m_MinEnabled)
        target = btMax(target, m_Min);
    if (target == s.m_Distance)
        return;
    const btVector3 armA = s.m_PointA - m_rbA.getCenterOfMassPosition();
    const btVector3 armB = s.m_PointB - m_rbB.getCenterOfMassPosition();
    const btScalar rate = s.m_Direction.dot(m_rbB.getVelocityInLocalPoint(armB) - m_rbA.getVelocityInLocalPoint(armA));
    // Positive pushes the anchors apart.
    const btScalar push = m_Spring * (target - s.m_Distance) - m_Damper * rate;
    if (push == 0)
        return;
    const btVector3 force = s.m_Direction * push;
    if (m_rbB.getInvMass() > 0)
    {
        m_rbB.applyForce(force, armB);
        m_rbB.activate();
    }
    if (m_rbA.getInvMass() > 0)
    {
        m_rbA.applyForce(-force, armA);
        m_rbA.activate();
    }
}

} // namespace physics::sdk
