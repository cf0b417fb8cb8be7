#include "graphics/memory/MemCamera.h"

namespace sds {

bool CMemCamera::IsMovingIn(unsigned direction) const
{
    CheckDirection(direction);
    return m_Moving.test(direction);
}

void CMemCamera::SetMovingIn(unsigned direction, bool moving)
{
    CheckDirection(direction);
    m_Moving.set(direction, moving);
}

CVector CMemCamera::GetWorldSpaceCorner(unsigned corner) const
{
    CheckCorner(corner);
    return m_Pos;
}

void CMemCamera::SetMode(int mode)
{
    if (mode < CameraEvents::camera_3dperspective || mode > CameraEvents::camera_none)
        return;
    m_PrevModeLastPos = m_Pos;
    m_Mode = mode;
    m_Modes.push_back(mode);
}

bool CMemCamera::IsAttached() const
{
    using namespace CameraEvents;
    return m_Mode == camera_3dperspective || m_Mode == camera_behind || m_Mode == camera_around ||
           m_Mode == camera_sideways;
}

bool CMemCamera::IsInBounds(const CVector&) const
{
    return IsWellInside(m_Pos, m_BoundsMin, m_BoundsMax);
}

void CMemCamera::SetBounds(const CVector& minimum, const CVector& maximum)
{
    m_BoundsMin = minimum;
    m_BoundsMax = maximum;
}

bool CMemCamera::FindObjUnderCursor(float, float, int)
{
    m_PickResults = m_Hits;
    return !m_PickResults.empty();
}

ICameraMotionController* CMemCamera::GetController(int mode) const
{
    const auto found = m_Controllers.find(mode);
    return found == m_Controllers.end() ? nullptr : found->second;
}

} // namespace sds
