#include "physics/flight/PhyPilotChute.h"

#include "physics/PhyException.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/SyncKinematic.h"
#include "physics/flight/SyncRagDollByMoving.h"
#include "physics/flight/SyncWithBallJoint.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/IShape.h"

namespace physics {

CPhyPilotChute::CPhyPilotChute(const std::shared_ptr<CPhyRagDoll>& ragDoll, sdk::IActor& hangFrom,
                               const std::vector<const CPhyObj*>& ignored, const xml::CNodePtr& element, bool proxy)
    : CPhyMovingBody(element->GetChildById("ForceGravity", "PilotChute", "Name,Id"),
                     element->GetChildById("ForceDrag", "PilotChute", "Name,Id")),
      m_RagDoll(ragDoll),
      m_Leader(&hangFrom),
      m_PCBone(ragDoll->GetBone(element->GetAttribute("PCBone")->GetValue())),
      m_LimitPlane(element->GetChildById("LimitPlane", "Canopy", "Name,Id"))
{
    if (proxy)
    {
        BuildProxy(hangFrom);
        m_Leader = m_Proxy.GetActor();
        sdk::IScene& scene = hangFrom.GetScene();
        scene.SetActorPairFlags(*m_Leader, hangFrom, sdk::PAIR_IGNORE); // a copy lies inside its original
        for (const CPhyObj* object : ignored)
            if (object && object->GetActor())
                scene.SetActorPairFlags(*m_Proxy.GetActor(), *object->GetActor(), sdk::PAIR_IGNORE);
        for (std::uint16_t i = 0; i < m_RagDoll->GetActorCount(); ++i)
            if (sdk::IActor* actor = m_RagDoll->GetBone(m_RagDoll->GetActorName(i))->GetActor())
                scene.SetActorPairFlags(hangFrom, *actor, sdk::PAIR_IGNORE);
        m_ProxySync = std::make_shared<CSyncKinematic>(hangFrom, *m_Leader);
    }
    m_RagDoll->EnableGravity(false);
    BindActor(m_PCBone);
    m_Gravity.SetForce(m_Gravity.GetForce() * m_PCBone->GetActor()->GetMass());
    Deactivate();
}

CPhyPilotChute::~CPhyPilotChute()
{
    m_StowSync.reset();
    m_ProxySync.reset();
    m_Proxy.ReleaseActor();
    m_LimitPlane.reset();
    m_BallJointSync.reset();
    m_RagDoll.reset();
}

void CPhyPilotChute::BuildProxy(sdk::IActor& original)
{
    const std::vector<sdk::IShape*>& shapes = original.GetShapes();
    if (shapes.empty() || shapes.front()->GetType() != sdk::SHAPE_BOX)
        throw CPhyException("The pilot chute's proxy needs an actor whose first shape is a box");
    const sdk::IShape& box = *shapes.front();

    sdk::CShapeDesc shape = sdk::CShapeDesc::Box(box.GetDimensions() * 0.5f);
    shape.m_LocalPosition = box.GetLocalPosition();
    shape.m_LocalOrientation = box.GetLocalOrientation();
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(shape);
    desc.m_Body = sdk::CBodyDesc();
    desc.m_Body->m_Mass = original.GetMass();
    desc.m_Body->m_Flags |= sdk::BF_KINEMATIC | sdk::BF_DISABLE_GRAVITY;
    desc.m_GlobalPosition = original.GetGlobalPosition();
    desc.m_GlobalOrientation = original.GetGlobalOrientation();
    m_Proxy.CreateActor(desc);
}

void CPhyPilotChute::Activate()
{
    BindActor(m_PCBone);
    m_StowSync.reset();
    m_BallJointSync.reset();
    m_BallJointSync =
        std::make_shared<CSyncWithBallJoint>(*m_Leader, *m_RagDoll->GetRootBone()->GetActor(), m_LimitPlane);
    m_Proxy.EnableCollision(true);
}

void CPhyPilotChute::Deactivate()
{
    m_BallJointSync.reset();
    m_StowSync.reset(); // a parked doll is let go before it is parked again
    m_StowSync = std::make_shared<CSyncRagDollByMoving>(*m_RagDoll, m_Leader,
                                                        m_LimitPlane->GetAttribute("Point")->GetValue<sds::CVector>());
    m_Proxy.EnableCollision(false);
}

void CPhyPilotChute::Sync()
{
    if (m_ProxySync)
        m_ProxySync->Sync();
    if (m_StowSync)
        m_StowSync->Sync();
    if (m_BallJointSync)
        m_BallJointSync->Sync();
}

} // namespace physics
