#include "physics/PhyObj.h"

#include "core/Exception.h"
#include "physics/PhyException.h"
#include "physics/PhyMgr.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/SdkConstants.h"

namespace physics {

CPhyObj::CPhyObj()
{
    Register();
}

void CPhyObj::Register()
{
    CPhyMgr* world = CPhyMgr::GetSingleton();
    if (world && !world->FindObject(m_Id))
        m_Id = world->RegisterObject(*this);
}

CPhyObj::CPhyObj(const sdk::CActorDesc& desc) : CPhyObj()
{
    CreateActor(desc);
}

CPhyObj::~CPhyObj()
{
    ReleaseActor();
    if (CPhyMgr* world = CPhyMgr::GetSingleton())
        world->UnregisterObject(m_Id);
    m_CollisionCallback = nullptr;
}

void CPhyObj::CreateActor(sdk::CActorDesc desc)
{
    CPhyMgr* world = CPhyMgr::GetSingleton();
    SDS_ASSERT(world && "The physics world does not exist");
    ReleaseActor();
    Register();
    desc.m_UserData = this;
    m_World = world->GetSerial();
    m_Actor = world->GetScene().CreateActor(desc);
    if (!m_Actor)
        throw CPhyException("Could not create an actor");
    m_OwnsActor = true;
}

void CPhyObj::BindActor(const std::shared_ptr<CPhyObj>& owner)
{
    ReleaseActor();
    Register();
    m_Actor = owner ? owner->GetActor() : nullptr;
    if (!m_Actor)
        return;
    m_World = owner->m_World;
    m_OwnsActor = false;
    m_ActorOwner = owner;
    m_Actor->SetUserData(this);
}

sdk::IActor* CPhyObj::GetBoundActor() const
{
    // The owner releases the actor when it goes or makes another.
    const std::shared_ptr<CPhyObj> owner = m_ActorOwner.lock();
    return owner && owner->GetActor() == m_Actor ? m_Actor : nullptr;
}

void CPhyObj::ReleaseActor()
{
    sdk::IActor* actor = GetActor();
    CPhyMgr* world = CPhyMgr::GetLiveWorld(m_World);
    if (actor && world)
    {
        if (m_OwnsActor)
            world->GetScene().ReleaseActor(*actor);
        else if (actor->GetUserData() == this)
            actor->SetUserData(m_ActorOwner.lock().get());
    }
    m_Actor = nullptr;
    m_World = 0;
    m_ActorOwner.reset();
    m_OwnsActor = true;
}

sds::CVector CPhyObj::GetPos() const
{
    const sdk::IActor* actor = GetActor();
    SDS_ASSERT(actor && "The physical object has no actor");
    return actor->GetGlobalPosition();
}

sds::CQuaternion CPhyObj::GetOrientation() const
{
    const sdk::IActor* actor = GetActor();
    SDS_ASSERT(actor && "The physical object has no actor");
    return actor->GetGlobalOrientation();
}

void CPhyObj::SetOrientation(const sds::CQuaternion& orientation)
{
    sdk::IActor* actor = GetActor();
    SDS_ASSERT(actor && "The physical object has no actor");
    actor->SetGlobalOrientation(orientation);
}

void CPhyObj::SetPos(const sds::CVector& position)
{
    sdk::IActor* actor = GetActor();
    SDS_ASSERT(actor && "The physical object has no actor");
    actor->SetGlobalPosition(position);
}

void CPhyObj::EnableCollision(bool enable)
{
    sdk::IActor* actor = GetActor();
    if (!actor)
        return;
    if (enable)
    {
        actor->ClearActorFlag(sdk::AF_DISABLE_RESPONSE);
        actor->ClearActorFlag(sdk::AF_DISABLE_COLLISION);
    }
    else
    {
        actor->RaiseActorFlag(sdk::AF_DISABLE_RESPONSE);
        actor->RaiseActorFlag(sdk::AF_DISABLE_COLLISION);
    }
}

void CPhyObj::ApplyWind(IWindMgr&) {}

void CPhyObj::OnTrigger(sdk::IShape&, sdk::IShape&, std::uint32_t) {}

void CPhyObj::OnCollision(const IPhyCollisionEvent& event)
{
    if (m_CollisionCallback)
        m_CollisionCallback(event);
}

} // namespace physics
