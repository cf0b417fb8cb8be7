#include "physics/WindRegion.h"

#include "core/Helpers.h"
#include "physics/PhyMgr.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/IShape.h"

namespace physics {

CWindRegion::CWindRegion(const xml::CNodePtr& node)
{
    Read(node);
    PlaceTrigger();
}

CWindRegion::~CWindRegion()
{
    CPhyMgr* world = CPhyMgr::GetLiveWorld(m_World);
    if (m_Actor && world)
        world->GetScene().ReleaseActor(*m_Actor);
}

void CWindRegion::Read(const xml::CNodePtr& node)
{
    m_Node = node;
    m_Direction = node->GetAttribute<sds::CVector>("Direction", sds::CVector::ZERO);
    m_Speed = node->GetAttribute<float>("Speed", 0.0f);
    if (node->HasChild("RandomSpeed"))
        m_Speed *= sds::GetRandomUnit();
    const xml::CNodePtr shape = node->GetChild("Shape");
    const sds::CVector position = shape->GetAttribute("Position")->GetValue<sds::CVector>();
    const sds::CVector half = shape->GetAttribute("Size")->GetValue<sds::CVector>() * 0.5f;
    m_Box.m_Min = position - half;
    m_Box.m_Max = position + half;
    m_Box.m_Empty = false;
}

void CWindRegion::PlaceTrigger()
{
    CPhyMgr* world = CPhyMgr::GetSingleton();
    if (!world)
        return;
    const sds::CVector centre = m_Box.GetCenter();
    const sds::CVector half = (m_Box.m_Max - m_Box.m_Min) * 0.5f;
    if (m_Actor && world->GetSerial() == m_World)
    {
        sdk::IShape& box = *m_Actor->GetShapes().front();
        box.SetDimensions(half);
        m_Actor->SetGlobalPosition(centre);
        return;
    }
    // A static box that only reports the bodies in it; it pushes nothing.
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box(half));
    desc.m_Shapes.back().m_Flags = sdk::SF_TRIGGER_ENABLE | sdk::SF_VISUALIZATION;
    desc.m_GlobalPosition = centre;
    desc.m_UserData = this;
    m_World = world->GetSerial();
    m_Actor = world->GetScene().CreateActor(desc);
    if (!m_Actor)
        world->LogError("Wind region " + sds::VectorToString(centre) + " of size " +
                        sds::VectorToString(half * 2.0f) + " has no box in the scene; only the wind queries reach it");
}

void CWindRegion::Update(const sds::CTiming&) {}

bool CWindRegion::Contains(const sds::CVector& p) const
{
    return p.x >= m_Box.m_Min.x && p.x <= m_Box.m_Max.x && p.y >= m_Box.m_Min.y && p.y <= m_Box.m_Max.y &&
           p.z >= m_Box.m_Min.z && p.z <= m_Box.m_Max.z;
}

sds::CVector CWindRegion::GetWind(const sds::CVector& position)
{
    return Contains(position) ? m_Direction * m_Speed : sds::CVector::ZERO;
}

void CWindRegion::Load(const xml::CNodePtr& node)
{
    Read(node);
    PlaceTrigger();
}

} // namespace physics
