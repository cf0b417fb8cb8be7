#pragma once

#include <memory>
#include <vector>

#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/BroadphaseCollision/btOverlappingPairCache.h>

namespace physics::sdk {

class CBulletScene;

// Decides every step which pairs of actors collide, so that flags switched at
// run time take effect without taking bodies out of the world; a body inside a
// trigger box is told apart cheaply. A pair of the broadphase keeps the scene's
// answer (in its spare field) until the scene's rules change.
class CCollisionDispatcher final : public btCollisionDispatcher
{
public:
    CCollisionDispatcher(btCollisionConfiguration* configuration, const CBulletScene& scene);
    ~CCollisionDispatcher() override;
    bool needsCollision(const btCollisionObject* body0, const btCollisionObject* body1) override;

private:
    static void NearCallback(btBroadphasePair& pair, btCollisionDispatcher& dispatcher, const btDispatcherInfo& info);
    bool IsCurrentPair(const btCollisionObject* body0, const btCollisionObject* body1) const;

    btBroadphasePair* m_Pair = nullptr; // the pair the engine is processing
    const CBulletScene& m_Scene;
    std::vector<std::unique_ptr<btCollisionAlgorithmCreateFunc>> m_TriggerBoxFuncs;
};

// Static shapes never pair with each other in the broadphase.
struct CStaticPairFilter final : public btOverlapFilterCallback
{
    bool needBroadphaseCollision(btBroadphaseProxy* proxy0, btBroadphaseProxy* proxy1) const override;
};

} // namespace physics::sdk
