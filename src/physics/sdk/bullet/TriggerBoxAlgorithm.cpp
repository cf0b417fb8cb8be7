#include "physics/sdk/bullet/TriggerBoxAlgorithm.h"

#include <algorithm>

#include <BulletCollision/BroadphaseCollision/btDispatcher.h>
#include <BulletCollision/CollisionDispatch/btCollisionObject.h>
#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/NarrowPhaseCollision/btPersistentManifold.h>

#include "physics/sdk/bullet/BulletActor.h"

namespace physics::sdk {

namespace {

bool IsTriggerBox(const btCollisionObjectWrapper* body)
{
    if (body->getCollisionShape()->getShapeType() != BOX_SHAPE_PROXYTYPE)
        return false;
    const auto* actor = static_cast<const CBulletActor*>(body->getCollisionObject()->getUserPointer());
    return actor && actor->IsTrigger();
}

// How far the bounds of `other` keep inside every face of `box`; negative
// when they reach a face or beyond.
btScalar Clearance(const btCollisionObjectWrapper& box, const btCollisionObjectWrapper& other)
{
    const btVector3 half = static_cast<const btBoxShape*>(box.getCollisionShape())->getHalfExtentsWithoutMargin();
    btVector3 min, max;
    other.getCollisionShape()->getAabb(box.getWorldTransform().inverseTimes(other.getWorldTransform()), min, max);
    const btVector3 low = min + half;
    const btVector3 high = half - max;
    return std::min(low[low.minAxis()], high[high.minAxis()]);
}

} // namespace

CTriggerBoxAlgorithm::CCreateFunc::CCreateFunc(btCollisionAlgorithmCreateFunc* engine) : m_Engine(engine)
{
    m_swapped = engine->m_swapped;
}

btCollisionAlgorithm* CTriggerBoxAlgorithm::CCreateFunc::CreateCollisionAlgorithm(
    btCollisionAlgorithmConstructionInfo& info, const btCollisionObjectWrapper* body0,
    const btCollisionObjectWrapper* body1)
{
    btCollisionAlgorithm* engine = m_Engine->CreateCollisionAlgorithm(info, body0, body1);
    if (!engine || IsTriggerBox(body0) == IsTriggerBox(body1))
        return engine;
    void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(CTriggerBoxAlgorithm));
    return new (memory) CTriggerBoxAlgorithm(info, engine);
}

CTriggerBoxAlgorithm::CTriggerBoxAlgorithm(const btCollisionAlgorithmConstructionInfo& info,
                                           btCollisionAlgorithm* engine)
    : btCollisionAlgorithm(info), m_Engine(engine), m_Shared(info.m_manifold)
{
}

CTriggerBoxAlgorithm::~CTriggerBoxAlgorithm()
{
    m_Engine->~btCollisionAlgorithm();
    m_dispatcher->freeCollisionAlgorithm(m_Engine);
    if (m_Own)
        m_dispatcher->releaseManifold(m_Own);
}

btPersistentManifold* CTriggerBoxAlgorithm::ManifoldFor(const btCollisionObjectWrapper* body0,
                                                        const btCollisionObjectWrapper* body1)
{
    // The engine's own manifold where it has made one, so that the world's
    // list of manifolds stays as the engine would keep it.
    btManifoldArray engine;
    m_Engine->getAllContactManifolds(engine);
    if (engine.size() > 0)
    {
        if (m_Own)
            m_Own->clearManifold();
        for (int i = 1; i < engine.size(); ++i)
            engine[i]->clearManifold();
        engine[0]->clearManifold();
        return engine[0];
    }
    if (m_Shared)
        return m_Shared;
    if (!m_Own)
        m_Own = m_dispatcher->getNewManifold(body0->getCollisionObject(), body1->getCollisionObject());
    m_Own->clearManifold();
    return m_Own;
}

void CTriggerBoxAlgorithm::processCollision(const btCollisionObjectWrapper* body0,
                                            const btCollisionObjectWrapper* body1,
                                            const btDispatcherInfo& dispatchInfo, btManifoldResult* result)
{
    const bool boxFirst = IsTriggerBox(body0);
    const btCollisionObjectWrapper& box = boxFirst ? *body0 : *body1;
    const btCollisionObjectWrapper& other = boxFirst ? *body1 : *body0;
    const btScalar clearance = Clearance(box, other);
    if (!(clearance > 0))
    {
        if (m_Own)
            m_Own->clearManifold();
        m_Engine->processCollision(body0, body1, dispatchInfo, result);
        return;
    }
    // At the other shape's centre, as deep as its bounds keep from the nearest face.
    const btVector3 centre = other.getWorldTransform().getOrigin();
    const btVector3 towardsBody1 = boxFirst ? centre - box.getWorldTransform().getOrigin()
                                            : box.getWorldTransform().getOrigin() - centre;
    const btVector3 normal = towardsBody1.fuzzyZero() ? btVector3(0, 1, 0) : towardsBody1.normalized();
    result->setPersistentManifold(ManifoldFor(body0, body1));
    result->addContactPoint(-normal, centre, -clearance);
}

btScalar CTriggerBoxAlgorithm::calculateTimeOfImpact(btCollisionObject* body0, btCollisionObject* body1,
                                                     const btDispatcherInfo& dispatchInfo, btManifoldResult* result)
{
    return m_Engine->calculateTimeOfImpact(body0, body1, dispatchInfo, result);
}

void CTriggerBoxAlgorithm::getAllContactManifolds(btManifoldArray& manifolds)
{
    m_Engine->getAllContactManifolds(manifolds);
    if (m_Own)
        manifolds.push_back(m_Own);
}

} // namespace physics::sdk
