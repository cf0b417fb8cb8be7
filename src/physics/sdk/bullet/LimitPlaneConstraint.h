#pragma once

#include <vector>

#include <BulletDynamics/ConstraintSolver/btTypedConstraint.h>

namespace physics::sdk {

class CBulletActor;

// Keeps a point fixed on one side of the joint on the positive side of planes
// fixed on the other side. A side without an actor (or with a static one) is
// the world. One unilateral row per plane.
class CLimitPlaneConstraint final : public btTypedConstraint
{
public:
    CLimitPlaneConstraint(btRigidBody& bodyA, btRigidBody& bodyB, CBulletActor* actorA, CBulletActor* actorB);

    // The point in the frame of side `pointSide` (0 or 1); the planes belong to the other side.
    void SetPoint(int pointSide, const btVector3& localPoint);
    // Normal and point in the frame of the plane side.
    void AddPlane(const btVector3& localNormal, const btVector3& localPoint);
    void ClearPlanes() { m_Planes.clear(); }
    std::size_t GetPlaneCount() const { return m_Planes.size(); }
    int GetPointSide() const { return m_PointSide; }

    void getInfo1(btConstraintInfo1* info) override;
    void getInfo2(btConstraintInfo2* info) override;
    void setParam(int, btScalar, int) override {}
    btScalar getParam(int, int) const override { return 0; }

private:
    struct CPlane
    {
        btVector3 m_Normal;
        btVector3 m_Point;
    };

    CBulletActor* m_Actors[2];
    int m_PointSide = 1;
    btVector3 m_Point;
    std::vector<CPlane> m_Planes;
};

} // namespace physics::sdk
