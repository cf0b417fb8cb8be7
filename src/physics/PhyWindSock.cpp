#include "physics/PhyWindSock.h"

#include <cfloat>
#include <stdexcept>

#include "core/Helpers.h"
#include "physics/IPhyRagDoll.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IJoint.h"

namespace physics {

namespace {

constexpr std::uint32_t kMastFlags =
    sdk::BF_FROZEN_ROT_X | sdk::BF_FROZEN_ROT_Z | sdk::BF_FROZEN_POS_X | sdk::BF_FROZEN_POS_Z;

std::shared_ptr<IPhyRagDoll> CheckBones(const std::shared_ptr<IPhyRagDoll>& ragDoll)
{
    if (!ragDoll || !ragDoll->HasBone("Tail"))
        throw std::runtime_error("Windsock ragdoll must have bone 'Tail'");
    if (!ragDoll->HasBone("Twist"))
        throw std::runtime_error("Windsock ragdoll must have bone 'Twist'");
    return ragDoll;
}

} // namespace

CPhyWindSock::CPhyWindSock(const xml::CNodePtr& config, const std::shared_ptr<IPhyRagDoll>& ragDoll)
    : CPhyMovingBody(config->GetChild("ForceGravity"), config->GetChild("ForceDrag")),
      m_NoiseMaximum(config->GetAttribute("NoiseMaximum")->GetValue<sds::CVector>())
{
    CheckBones(ragDoll);
    m_RagDoll = ragDoll;
    const std::shared_ptr<CPhyObj> twist = ragDoll->GetBone("Twist");
    m_Twist = twist;
    // The wind regions report the tail to this windsock.
    BindActor(ragDoll->GetBone("Tail"));
    // The ring turns about the mast and nothing else.
    if (sdk::IActor* mast = twist->GetActor(); mast && mast->IsDynamic())
        mast->RaiseBodyFlag(kMastFlags);
}

std::shared_ptr<IPhyRagDoll> CPhyWindSock::LockRagDoll()
{
    std::shared_ptr<IPhyRagDoll> ragDoll = m_RagDoll.lock();
    if (ragDoll && GetActor())
        return ragDoll;
    ReleaseActor(); // a tail that is still there reports to its bone again
    return nullptr;
}

bool CPhyWindSock::HasBrokenJoint(const IPhyRagDoll& ragDoll) const
{
    for (std::uint16_t i = 0, n = ragDoll.GetJointCount(); i < n; ++i)
    {
        const sdk::IJoint& joint = *ragDoll.GetJoint(i);
        float maxForce = FLT_MAX;
        float maxTorque = FLT_MAX;
        joint.GetBreakable(maxForce, maxTorque);
        if (maxForce < FLT_MAX && joint.GetState() == sdk::JS_BROKEN)
            return true;
    }
    return false;
}

void CPhyWindSock::Tear()
{
    m_Torn = true;
    if (const std::shared_ptr<CPhyObj> twist = m_Twist.lock())
        if (sdk::IActor* mast = twist->GetActor(); mast && mast->IsDynamic())
            mast->ClearBodyFlag(kMastFlags);
}

void CPhyWindSock::Update(const sds::CTiming&)
{
    const std::shared_ptr<IPhyRagDoll> ragDoll = LockRagDoll();
    if (!ragDoll || m_Torn)
        return;
    if (HasBrokenJoint(*ragDoll))
    {
        Tear();
        return;
    }

    const sds::CVector wind = m_Drag.GetWind();
    const sds::CVector random(sds::GetRandomUnit() - 0.5f, sds::GetRandomUnit() - 0.5f, sds::GetRandomUnit() - 0.5f);
    const sds::CVector noise = m_NoiseMaximum * random * wind.Length();
    for (std::uint16_t i = 0, n = ragDoll->GetBoneCount(); i < n; ++i)
    {
        const std::shared_ptr<CPhyObj> bone = ragDoll->GetBone(ragDoll->GetBoneName(i));
        sdk::IActor* actor = bone->GetActor();
        if (!actor || !actor->IsDynamic())
            continue;
        // Applying the drag uses up its wind: every bone gets it anew.
        m_Drag.ResetWind();
        m_Drag.AddWind(wind + noise);
        ApplyForces(*actor);
    }
    m_Drag.ResetWind();
}

void CPhyWindSock::ApplyWind(IWindMgr& source)
{
    if (LockRagDoll())
        CPhyMovingBody::ApplyWind(source);
}

void CPhyWindSock::DrawForces()
{
    if (LockRagDoll())
        CPhyMovingBody::DrawForces();
}

} // namespace physics
