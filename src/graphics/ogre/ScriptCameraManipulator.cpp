#include "graphics/ogre/ScriptCameraManipulator.h"

#include "graphics/ogre/OgreCamera.h"

namespace wrappers {

CScriptCameraManipulator::CScriptCameraManipulator(COgreCamera& camera, sds::ICameraMotionController* controller,
                                                   const sds::CGfxObjPtr& target)
    : CFreeCameraManipulator(camera), m_pController(controller), m_Target(target)
{
    m_pYawNode->setPosition(Ogre::Vector3::ZERO);
    m_pPitchNode->resetOrientation();
    m_pYawNode->resetOrientation();
    RefreshChain();
}

void CScriptCameraManipulator::Update(const sds::CTiming& timing)
{
    // Once released (the script switched modes) there is nothing left to drive.
    if (HasChain())
        m_pController->Update(&m_Camera, timing);
}

void CScriptCameraManipulator::Release()
{
    m_Target.reset();
    CFreeCameraManipulator::Release();
}

} // namespace wrappers
