#pragma once

#include <BulletCollision/BroadphaseCollision/btCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btCollisionCreateFunc.h>

class btPersistentManifold;

namespace physics::sdk {

// A trigger asks only whether a body is in it, yet the engine measures how
// deep every body inside a box sits: for small bodies deep inside a large box
// (a wind region) those penetration searches cost a third of a step. A convex
// shape whose bounds lie wholly inside a trigger box is in it, and one contact
// says so; near the box's faces the engine's own algorithm decides.
class CTriggerBoxAlgorithm final : public btCollisionAlgorithm
{
public:
    // Hands pairs of a trigger box and a convex shape to the trigger's
    // algorithm, and every other pair to the engine's function it wraps.
    class CCreateFunc final : public btCollisionAlgorithmCreateFunc
    {
    public:
        explicit CCreateFunc(btCollisionAlgorithmCreateFunc* engine);
        btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                       const btCollisionObjectWrapper* body0,
                                                       const btCollisionObjectWrapper* body1) override;

    private:
        btCollisionAlgorithmCreateFunc* m_Engine;
    };

    // `engine` is the engine's algorithm for the pair, which this one owns.
    CTriggerBoxAlgorithm(const btCollisionAlgorithmConstructionInfo& info, btCollisionAlgorithm* engine);
    ~CTriggerBoxAlgorithm() override;

    void processCollision(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                          const btDispatcherInfo& dispatchInfo, btManifoldResult* result) override;
    btScalar calculateTimeOfImpact(btCollisionObject* body0, btCollisionObject* body1,
                                   const btDispatcherInfo& dispatchInfo, btManifoldResult* result) override;
    void getAllContactManifolds(btManifoldArray& manifolds) override;

private:
    // The manifold the pair's contact goes into; it holds no other contact.
    btPersistentManifold* ManifoldFor(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1);

    btCollisionAlgorithm* m_Engine;
    // Shared with the other children of a compound; not this algorithm's to clear.
    btPersistentManifold* m_Shared;
    btPersistentManifold* m_Own = nullptr;
};

} // namespace physics::sdk
