#include "graphics/ogre/MotionControl.h"

#include "graphics/ICamera.h"

namespace wrappers {

CMotionControl::CMotionControl(const xml::CNodePtr& cameraConfig, bool invertY, float lookSensitivity)
    : m_InvertFreeY(invertY)
{
    const xml::CNodePtr manipulation = cameraConfig->GetChild("Manipulation");
    m_MoveScale = manipulation->GetAttribute("MoveScale")->GetValue<float>();
    m_MouseScale = manipulation->GetAttribute("MouseSensitivityMultiplier")->GetValue<float>() * lookSensitivity;
    m_AccelerationIncrement = manipulation->GetAttribute("AccelerationIncrement")->GetValue<float>();
}

bool CMotionControl::IsMovingTo(unsigned direction) const
{
    sds::ICamera::CheckDirection(direction);
    return m_Moving.test(direction);
}

void CMotionControl::SetMovingTo(unsigned direction, bool moving)
{
    sds::ICamera::CheckDirection(direction);
    m_Moving.set(direction, moving);
}

} // namespace wrappers
