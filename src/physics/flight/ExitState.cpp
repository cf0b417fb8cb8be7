#include "physics/flight/ExitState.h"

#include <cmath>

#include "physics/PhyLog.h"
#include "physics/flight/JumperBox.h"
#include "physics/flight/JumperConfig.h"
#include "physics/flight/SyncByMoving.h"
#include "physics/sdk/IActor.h"

namespace physics::PhyJumperStates {

CExitState::CExitState(CPhyJumper* owner, const xml::CNodePtr& phyJumper) : CPhyJumperState(owner)
{
    const xml::CNodePtr state = GetJumperState(phyJumper, "Exit");
    CJumperBoxDesc desc = CJumperBoxDesc::FromShape(GetNamedChild(state, "Shape", "Body"));
    desc.ReadActor(GetNamedChild(state, "Actor", "Body"));
    desc.Create(*this);
}

CExitState::~CExitState()
{
    m_Sync.reset();
}

void CExitState::SetPos(const sds::CVector& position)
{
    if (!position.IsFinite())
        return LogWarning("Exit position " + sds::VectorToString(position) + " ignored");
    GetActor()->SetGlobalPosition(position);
}

void CExitState::SetOrientation(const sds::CQuaternion& orientation)
{
    sds::CQuaternion q = orientation;
    if (!std::isfinite(q.Norm()))
        return LogWarning("Exit orientation " + sds::QuaternionToString(orientation) + " ignored");
    q.NormaliseQuaternion();
    GetActor()->SetGlobalOrientation(q);
}

void CExitState::SetVelocity(const sds::CVector& velocity)
{
    if (!velocity.IsFinite())
        return LogWarning("Exit velocity " + sds::VectorToString(velocity) + " ignored");
    GetActor()->SetLinearVelocity(velocity);
}

void CExitState::Enter()
{
    m_Sync.reset();
}

void CExitState::Exit()
{
    FollowCurrentBody();
}

void CExitState::FollowBody(CPhyObj& body)
{
    m_Sync = CSyncByMoving::Create(*body.GetActor(), *GetActor());
}

} // namespace physics::PhyJumperStates
