#pragma once

#include <BulletDynamics/ConstraintSolver/btTypedConstraint.h>

namespace physics::sdk {

// Keeps the distance between two anchors (in their actors' centre-of-mass frames,
// or the world for a side without a dynamic actor) within a minimum and a
// maximum, as hard limits. A spring, applied as a force before each step, acts
// only past a limit, pulling the distance back to it; its target is not used.
class CDistanceConstraint final : public btTypedConstraint
{
public:
    CDistanceConstraint(btRigidBody& bodyA, btRigidBody& bodyB, const btVector3& anchorA, const btVector3& anchorB);

    void SetAnchors(const btVector3& anchorA, const btVector3& anchorB);

    void SetLimits(bool minEnabled, btScalar minDistance, bool maxEnabled, btScalar maxDistance);
    void SetSpring(bool enabled, btScalar spring, btScalar damper);
    // The spring's force for the coming step.
    void ApplySpringForces();
    btScalar GetDistance() const;

    void getInfo1(btConstraintInfo1* info) override;
    void getInfo2(btConstraintInfo2* info) override;
    void setParam(int, btScalar, int) override {}
    btScalar getParam(int, int) const override { return 0; }

private:
    struct CState
    {
        btVector3 m_PointA, m_PointB, m_Direction;
        btScalar m_Distance;
    };
    CState GetState() const;

    btVector3 m_Anchors[2];
    bool m_MinEnabled = false;
    bool m_MaxEnabled = false;
    btScalar m_Min = 0;
    btScalar m_Max = 0;
    bool m_Sprung = false;
    btScalar m_Spring = 0;
    btScalar m_Damper = 0;
};

} // namespace physics::sdk
