#include "physics/BoxActor.h"

#include "physics/FlagNames.h"
#include "physics/PhyObj.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"

namespace physics {

namespace {

void AddNamedFlags(std::uint32_t& flags, const xml::CNodePtr& node, const std::string& child)
{
    if (!node->HasChild(child))
        return;
    for (auto it = node->GetChildrenBegin(child); it != node->GetChildrenEnd(child); ++it)
        AddFlagByName(flags, it->second->GetAttribute("Name")->GetValue());
}

} // namespace

void CreateBoxActor(CPhyObj& owner, const xml::CNodePtr& shape, const xml::CNodePtr& actor,
                    const sds::CVector& position)
{
    sdk::CShapeDesc box = sdk::CShapeDesc::Box(shape->GetAttribute("Dimensions")->GetValue<sds::CVector>() * 0.5f);
    box.m_LocalPosition = shape->GetAttribute("Position")->GetValue<sds::CVector>();
    box.m_Mass = shape->GetAttribute("Mass")->GetValue<float>();

    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(box);
    desc.m_Body = sdk::CBodyDesc();
    desc.m_Body->m_Mass = box.m_Mass;
    // Bodies built here carry their gravity as a force of their own.
    desc.m_Body->m_Flags = sdk::BF_DISABLE_GRAVITY | sdk::BF_VISUALIZATION | sdk::BF_ENERGY_SLEEP_TEST;
    AddNamedFlags(desc.m_Body->m_Flags, actor, "BodyFlag");
    AddNamedFlags(desc.m_Flags, actor, "ActorFlag");
    desc.m_GlobalPosition = position;
    owner.CreateActor(desc);

    sdk::IActor& created = *owner.GetActor();
    created.SetLinearDamping(actor->GetAttribute("LinearDamping")->GetValue<float>());
    created.SetAngularDamping(actor->GetAttribute("AngularDamping")->GetValue<float>());
    created.SetLinearVelocity(actor->GetAttribute("InitialVelocity")->GetValue<sds::CVector>());
}

} // namespace physics
