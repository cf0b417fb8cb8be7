#include "physics/PhyForce.h"

#include <cfloat>
#include <string>

#include "physics/PhyMgr.h"
#include "physics/sdk/IActor.h"

namespace physics {

namespace {

struct CModeName
{
    const char* m_Name;
    CPhyForce::EMode m_Mode;
};

const CModeName MODE_NAMES[] = {
    {"VELOCITY_CHANGE", CPhyForce::VELOCITY_CHANGE}, {"ACCELERATION", CPhyForce::ACCELERATION},
    {"FORCE", CPhyForce::FORCE},                     {"IMPULSE", CPhyForce::IMPULSE},
    {"SMOOTH_IMPULSE", CPhyForce::SMOOTH_IMPULSE},   {"SMOOTH_VELOCITY_CHANGE", CPhyForce::SMOOTH_VELOCITY_CHANGE},
};

const float DRAW_SCALE = 0.1f;
const float SHORTEST_DRAWN = 0.1f;

} // namespace

CPhyForce::CPhyForce(const xml::CNodePtr& node)
    : m_Force(node->GetAttribute("Force")->GetValue<sds::CVector>()),
      m_Position(node->GetAttribute("Position")->GetValue<sds::CVector>()),
      m_MaxChange(node->GetAttribute<float>("MaxChange", FLT_MAX))
{
    m_Color.ParseQuaternion(node->GetAttribute("Color")->GetValue());
    const std::string type = node->GetAttribute("Type", "");
    for (const CModeName& mode : MODE_NAMES)
        if (type == mode.m_Name)
            m_Mode = mode.m_Mode;
}

void CPhyForce::DrawForce(sdk::IActor& actor, const sds::CVector& worldForce, const sds::CVector& worldOffset) const
{
    if (worldForce.Length() < SHORTEST_DRAWN)
        return;
    const CPhyMgr::CForceDrawCallback& draw = CPhyMgr::GetForceDrawCallback();
    if (!draw)
        return;
    const sds::CVector start = actor.GetGlobalPosition() + worldOffset;
    draw(*this, start, start + worldForce * DRAW_SCALE, m_Color, true);
}

} // namespace physics
