#include "physics/flight/SyncRagDollExternally.h"

#include "physics/PhyObj.h"
#include "physics/PhyRagDoll.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/SdkConstants.h"

namespace physics {

namespace {

// The dynamic actor of the rag doll's actor of that index, or null.
sdk::IActor* DynamicActor(const CPhyRagDoll& ragDoll, std::uint16_t index)
{
    sdk::IActor* actor = ragDoll.GetBone(ragDoll.GetActorName(index))->GetActor();
    return actor && actor->IsDynamic() ? actor : nullptr;
}

} // namespace

CSyncRagDollExternally::CSyncRagDollExternally(CPhyRagDoll& ragDoll) : m_RagDoll(ragDoll)
{
    m_RagDoll.AttachTo(*m_RagDoll.GetRootBone()->GetActor());
    m_RagDoll.EnableCollision(false);
    // Left to the scene's gravity, a parked doll would fall all jump long.
    for (std::uint16_t i = 0; i < m_RagDoll.GetActorCount(); ++i)
    {
        sdk::IActor* actor = DynamicActor(m_RagDoll, i);
        m_HadGravity.push_back(actor && !actor->ReadBodyFlag(sdk::BF_DISABLE_GRAVITY));
        if (!actor)
            continue;
        actor->RaiseBodyFlag(sdk::BF_DISABLE_GRAVITY);
        actor->SetLinearVelocity(sds::CVector::ZERO);
        actor->SetAngularVelocity(sds::CVector::ZERO);
    }
}

CSyncRagDollExternally::~CSyncRagDollExternally()
{
    if (!IsWorldAlive())
        return;
    RestoreGravity();
    m_RagDoll.ResetPose();
    m_RagDoll.EnableCollision(true);
}

void CSyncRagDollExternally::RestoreGravity()
{
    if (m_GravityRestored)
        return;
    m_GravityRestored = true;
    for (std::uint16_t i = 0; i < m_RagDoll.GetActorCount() && i < m_HadGravity.size(); ++i)
        if (sdk::IActor* actor = DynamicActor(m_RagDoll, i); actor && m_HadGravity[i])
            actor->ClearBodyFlag(sdk::BF_DISABLE_GRAVITY);
}

} // namespace physics
