#include "physics/sdk/bullet/LimitPlaneConstraint.h"

#include <BulletDynamics/Dynamics/btRigidBody.h>

#include "physics/sdk/bullet/ConstraintRows.h"

namespace physics::sdk {

CLimitPlaneConstraint::CLimitPlaneConstraint(btRigidBody& bodyA, btRigidBody& bodyB, CBulletActor* actorA,
                                             CBulletActor* actorB)
    : btTypedConstraint(MAX_CONSTRAINT_TYPE, bodyA, bodyB), m_Actors{actorA, actorB}, m_Point(0, 0, 0)
{
}

void CLimitPlaneConstraint::SetPoint(int pointSide, const btVector3& localPoint)
{
    m_PointSide = pointSide;
    m_Point = localPoint;
    m_Planes.clear();
}

void CLimitPlaneConstraint::AddPlane(const btVector3& localNormal, const btVector3& localPoint)
{
    m_Planes.push_back({localNormal, localPoint});
}

void CLimitPlaneConstraint::getInfo1(btConstraintInfo1* info)
{
    info->m_numConstraintRows = int(m_Planes.size());
    info->nub = 0;
}

void CLimitPlaneConstraint::getInfo2(btConstraintInfo2* info)
{
    const int planeSide = 1 - m_PointSide;
    const btVector3 point = SidePose(m_Actors[m_PointSide]) * m_Point;
    const btTransform planePose = SidePose(m_Actors[planeSide]);
    const btVector3 centreA = m_rbA.getCenterOfMassPosition();
    const btVector3 centreB = m_rbB.getCenterOfMassPosition();
    for (std::size_t i = 0; i < m_Planes.size(); ++i)
    {
        const btVector3 normal = planePose.getBasis() * m_Planes[i].m_Normal;
        const btScalar gap = normal.dot(point - planePose * m_Planes[i].m_Point);
        // The rows push body B along their direction: the point's side along the normal.
        const btVector3 direction = m_PointSide == 1 ? normal : -normal;
        WriteRow(info, int(i), direction, point, point, centreA, centreB, OneSidedRhs(info, gap), 0, SIMD_INFINITY);
    }
}

} // namespace physics::sdk
