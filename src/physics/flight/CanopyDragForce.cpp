#include "physics/flight/CanopyDragForce.h"

namespace physics {

CCanopyDragForce::CCanopyDragForce(const xml::CNodePtr& node)
    : CDragForce(node), m_ToggleDownArea(node->GetAttribute("ToggleDownArea")->GetValue<float>()), m_BaseArea(GetArea())
{
}

void CCanopyDragForce::ScaleAreas(float scale)
{
    m_ToggleDownArea *= scale;
    m_BaseArea *= scale;
    SetArea(GetArea() * scale);
}

} // namespace physics
