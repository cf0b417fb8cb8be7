#include "graphics/ogre/FixedCameraManipulator.h"

namespace wrappers {

CFixedCameraManipulator::CFixedCameraManipulator(COgreCamera& camera, const sds::CGfxObjPtr& target)
    : CFreeCameraManipulator(camera), m_Target(target)
{
}

void CFixedCameraManipulator::Update(const sds::CTiming& timing)
{
    if (m_Target)
        LookAt(m_Target->GetWorldPos());
    else
        RotationStep();
    RefreshChain();
}

void CFixedCameraManipulator::Release()
{
    m_Target.reset();
    CFreeCameraManipulator::Release();
}

} // namespace wrappers
