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

bool CPhyObj::SceneIsAlive() const
{
    CPhyMgr* world = CPhyMgr::GetSingleton();
    return world && world->HasScene(m_Scene);
}

void CPhyObj::CreateActor(sdk::CActorDesc desc)
{
    CPhyMgr* world = CPhyMgr::GetSingleton();
    SDS_ASSERT(world && "The physics world does not exist");
    ReleaseActor();
    Register();
    desc.m_UserData = this;
    m_Scene = &world->GetScene();
    m_Actor = m_Scene->CreateActor(desc);
    if (!m_Actor)
        throw CPhyException("Could not create an actor");
    m_OwnsActor = true;
}

void CPhyObj::BindActor(sdk::IActor* actor)
{
    ReleaseActor();
    CPhyMgr* world = CPhyMgr::GetSingleton();
    Register();
    m_Scene = world ? &world->GetScene() : nullptr;
    m_Actor = actor;
    m_OwnsActor = false;
    if (m_Actor)
    {
        m_PreviousUserData = m_Actor->GetUserData();
        m_Actor->SetUserData(this);
    }
}

void CPhyObj::ReleaseActor()
{
    if (m_Actor && SceneIsAlive())
    {
        if (m_OwnsActor)
            m_Scene->ReleaseActor(*m_Actor);
        else if (m_Actor->GetUserData() == this)
            m_Actor->SetUserData(m_PreviousUserData);
    }
    m_Actor = nullptr;
    m_PreviousUserData = nullptr;
    m_OwnsActor = true;
}

void CPhyObj::ForgetActor()
{
    m_Actor = nullptr;
    m_PreviousUserData = nullptr;
    m_OwnsActor = true;
}

sds::CVector CPhyObj::GetPos() const
{
    SDS_ASSERT(m_Actor && "The physical object has no actor");
    return m_Actor->GetGlobalPosition();
}

sds::CQuaternion CPhyObj::GetOrientation() const
{
    SDS_ASSERT(m_Actor && "The physical object has no actor");
    return m_Actor->GetGlobalOrientation();
}

void CPhyObj::SetOrientation(const sds::CQuaternion& orientation)
{
    SDS_ASSERT(m_Actor && "The physical object has no actor");
    m_Actor->SetGlobalOrientation(orientation);
}

void CPhyObj::SetPos(const sds::CVector& position)
{
    SDS_ASSERT(m_Actor && "The physical object has no actor");
    m_Actor->SetGlobalPosition(position);
}

void CPhyObj::EnableCollision(bool enable)
{
    if (!m_Actor)
        return;
    if (enable)
    {
        m_Actor->ClearActorFlag(sdk::AF_DISABLE_RESPONSE);
        m_Actor->ClearActorFlag(sdk::AF_DISABLE_COLLISION);
    }
    else
    {
        m_Actor->RaiseActorFlag(sdk::AF_DISABLE_RESPONSE);
        m_Actor->RaiseActorFlag(sdk::AF_DISABLE_COLLISION);
    }
}

void CPhyObj::OnTrigger(sdk::IShape&, sdk::IShape&, std::uint32_t) {}

void CPhyObj::OnCollision(const IPhyCollisionEvent& event)
{
    if (m_CollisionCallback)
        m_CollisionCallback(event);
}

} // namespace physics
