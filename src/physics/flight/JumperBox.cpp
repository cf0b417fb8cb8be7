#include "physics/flight/JumperBox.h"

#include "physics/PhyMgr.h"
#include "physics/PhyObj.h"
#include "physics/flight/JumperConfig.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"

namespace physics {

CJumperBoxDesc CJumperBoxDesc::FromShape(const xml::CNodePtr& shape)
{
    CJumperBoxDesc desc;
    desc.m_HalfExtents = shape->GetAttribute("Dimensions")->GetValue<sds::CVector>() * 0.5f;
    desc.m_LocalPosition = shape->GetAttribute("Position")->GetValue<sds::CVector>();
    desc.m_Mass = shape->GetAttribute("Mass")->GetValue<float>();
    desc.m_Material = shape->GetAttribute("Material")->GetValue();
    return desc;
}

void CJumperBoxDesc::ReadActor(const xml::CNodePtr& actor)
{
    m_Position = actor->GetAttribute("Position")->GetValue<sds::CVector>();
    m_LinearDamping = actor->GetAttribute("LinearDamping")->GetValue<float>();
    m_AngularDamping = actor->GetAttribute("AngularDamping")->GetValue<float>();
    m_Velocity = actor->GetAttribute("InitialVelocity")->GetValue<sds::CVector>();
}

void CJumperBoxDesc::Create(CPhyObj& body) const
{
    sdk::CShapeDesc box = sdk::CShapeDesc::Box(m_HalfExtents);
    box.m_LocalPosition = m_LocalPosition;
    box.m_Material = CPhyMgr::GetSingleton()->GetMaterialIndex(m_Material);

    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(box);
    desc.m_Body = sdk::CBodyDesc();
    desc.m_Body->m_Mass = m_Mass;
    // The jumper meets the ground at up to free-fall speed, over a metre a step.
    desc.m_Body->m_Flags |= sdk::BF_DISABLE_GRAVITY | sdk::BF_CONTINUOUS_COLLISION;
    desc.m_GlobalPosition = m_Position;
    desc.m_GlobalOrientation = m_Orientation;
    if (!m_Collides)
        desc.m_Flags |= sdk::AF_DISABLE_RESPONSE | sdk::AF_DISABLE_COLLISION;
    body.CreateActor(desc);

    sdk::IActor& actor = *body.GetActor();
    actor.UpdateMassFromShapes(0.0f, m_Mass);
    actor.SetLinearDamping(m_LinearDamping);
    actor.SetAngularDamping(m_AngularDamping);
    actor.SetLinearVelocity(m_Velocity);
}

void BuildJumperBody(CPhyObj& body, const xml::CNodePtr& phyJumper)
{
    CJumperBoxDesc desc = CJumperBoxDesc::FromShape(GetNamedChild(phyJumper, "Shape", "Body"));
    desc.m_Mass += GetJumperState(phyJumper, "CanopyRide")->GetChild("CanopyInfo")->GetAttribute("Mass")->GetValue<float>();
    desc.ReadActor(GetNamedChild(GetJumperState(phyJumper, "FreeFall"), "Actor", "Body"));
    desc.Create(body);
    body.GetActor()->RaiseBodyFlag(sdk::BF_FROZEN_ROT_Y);
}

} // namespace physics
