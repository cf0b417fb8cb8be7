#include "physics/sdk/bullet/CollisionDispatcher.h"

#include <BulletCollision/CollisionDispatch/btCollisionObject.h>

#include "physics/sdk/bullet/BulletActor.h"
#include "physics/sdk/bullet/BulletScene.h"
#include "physics/sdk/bullet/TriggerBoxAlgorithm.h"

namespace physics::sdk {

CCollisionDispatcher::CCollisionDispatcher(btCollisionConfiguration* configuration, const CBulletScene& scene)
    : btCollisionDispatcher(configuration), m_Scene(scene)
{
    const auto wrap = [this](int type0, int type1) {
        m_TriggerBoxFuncs.push_back(
            std::make_unique<CTriggerBoxAlgorithm::CCreateFunc>(m_doubleDispatchContactPoints[type0][type1]));
        registerCollisionCreateFunc(type0, type1, m_TriggerBoxFuncs.back().get());
    };
    // Convex shapes only: a compound's children are paired one by one.
    for (int type = 0; type < MAX_BROADPHASE_COLLISION_TYPES; ++type)
        if (btBroadphaseProxy::isConvex(type))
        {
            wrap(BOX_SHAPE_PROXYTYPE, type);
            if (type != BOX_SHAPE_PROXYTYPE)
                wrap(type, BOX_SHAPE_PROXYTYPE);
        }
    setNearCallback(&CCollisionDispatcher::NearCallback);
}

CCollisionDispatcher::~CCollisionDispatcher() = default;

void CCollisionDispatcher::NearCallback(btBroadphasePair& pair, btCollisionDispatcher& dispatcher,
                                        const btDispatcherInfo& info)
{
    auto& self = static_cast<CCollisionDispatcher&>(dispatcher);
    self.m_Pair = &pair;
    defaultNearCallback(pair, dispatcher, info);
    self.m_Pair = nullptr;
}

bool CCollisionDispatcher::IsCurrentPair(const btCollisionObject* body0, const btCollisionObject* body1) const
{
    if (!m_Pair)
        return false;
    const void* first = m_Pair->m_pProxy0->m_clientObject;
    const void* second = m_Pair->m_pProxy1->m_clientObject;
    return (first == body0 && second == body1) || (first == body1 && second == body0);
}

bool CCollisionDispatcher::needsCollision(const btCollisionObject* body0, const btCollisionObject* body1)
{
    if (!btCollisionDispatcher::needsCollision(body0, body1))
        return false;
    const auto* a = static_cast<const CBulletActor*>(body0->getUserPointer());
    const auto* b = static_cast<const CBulletActor*>(body1->getUserPointer());
    if (!a || !b)
        return false;
    if (!IsCurrentPair(body0, body1))
        return m_Scene.NeedsCollision(*a, *b);
    // The answer and the rules' revision it holds for, in a field the engine leaves to its user.
    const int revision = int(m_Scene.GetCollisionRulesRevision() & 0x3FFFFFFFu);
    const int kept = m_Pair->m_internalTmpValue;
    if ((kept >> 1) == revision)
        return (kept & 1) != 0;
    const bool needs = m_Scene.NeedsCollision(*a, *b);
    m_Pair->m_internalTmpValue = (revision << 1) | int(needs);
    return needs;
}

bool CStaticPairFilter::needBroadphaseCollision(btBroadphaseProxy* proxy0, btBroadphaseProxy* proxy1) const
{
    const auto* a = static_cast<const btCollisionObject*>(proxy0->m_clientObject);
    const auto* b = static_cast<const btCollisionObject*>(proxy1->m_clientObject);
    const auto* actorA = static_cast<const CBulletActor*>(a->getUserPointer());
    const auto* actorB = static_cast<const CBulletActor*>(b->getUserPointer());
    return !(actorA && actorB && !actorA->IsDynamic() && !actorB->IsDynamic());
}

} // namespace physics::sdk
