#include "graphics/ogre/FreeCameraManipulator.h"

#include "graphics/ogre/OgreCamera.h"
#include "graphics/ogre/OgreConvert.h"

namespace wrappers {

namespace {

// How far a camera out of its bounds moves back each frame.
const float kCreepStep = 0.1f;

} // namespace

CFreeCameraManipulator::CFreeCameraManipulator(COgreCamera& camera) : CRotationCameraManipulator(camera)
{
    m_Camera.m_RotX = m_Camera.m_RotY = 0.0f;
    m_Camera.m_TotalRotX = m_Camera.m_TotalRotY = 0.0f;
    BuildChain(m_Camera.GetSceneManager()->getRootSceneNode());
    m_pYawNode->setPosition(ToOgre(m_Camera.GetCurrentOffset()));
    RefreshChain();
}

void CFreeCameraManipulator::Release()
{
    if (HasChain())
        m_Camera.SetFreeOffset(FromOgre(m_pCameraNode->_getDerivedPosition()));
    TearDownChain();
}

Ogre::Vector3 CFreeCameraManipulator::Velocity()
{
    using sds::ICamera;
    const bool worldUpDown = m_Camera.IsWorldUpDown();
    Ogre::Vector3 local = Ogre::Vector3::ZERO;
    if (m_Camera.IsMovingTo(ICamera::MOVING_FORWARD))
        local.z -= 1.0f;
    if (m_Camera.IsMovingTo(ICamera::MOVING_BACKWARDS))
        local.z += 1.0f;
    if (m_Camera.IsMovingTo(ICamera::MOVING_LEFT))
        local.x -= 1.0f;
    if (m_Camera.IsMovingTo(ICamera::MOVING_RIGHT))
        local.x += 1.0f;
    if (!worldUpDown && m_Camera.IsMovingTo(ICamera::MOVING_UP))
        local.y += 1.0f;
    if (!worldUpDown && m_Camera.IsMovingTo(ICamera::MOVING_DOWN))
        local.y -= 1.0f;
    local.normalise();

    UpdateAcceleration();
    const float speed = m_Camera.m_MoveScale * (m_Camera.m_SlowMovement ? 0.1f : 1.0f);
    Ogre::Vector3 velocity = m_Camera.GetRenderingCamera()->getDerivedOrientation() * (local * speed);

    // Level flight along the heading, whatever the pitch; back wins over forward.
    const Ogre::Quaternion heading = m_pYawNode->_getDerivedOrientation();
    if (m_Camera.IsMovingTo(ICamera::CAMERA_HORIZONTAL_BACK))
        velocity += heading * Ogre::Vector3(0.0f, 0.0f, speed);
    else if (m_Camera.IsMovingTo(ICamera::CAMERA_HORIZONTAL_FORWARD))
        velocity += heading * Ogre::Vector3(0.0f, 0.0f, -speed);
    if (worldUpDown && m_Camera.IsMovingTo(ICamera::MOVING_UP))
        velocity.y += speed;
    if (worldUpDown && m_Camera.IsMovingTo(ICamera::MOVING_DOWN))
        velocity.y -= speed;

    if (m_Camera.m_AcceleratedMovement)
        velocity *= m_Camera.m_Acceleration;
    return velocity;
}

void CFreeCameraManipulator::Update(const sds::CTiming& timing)
{
    const Ogre::Vector3 step = Velocity() * timing.m_Elapsed;
    if (m_Camera.IsInBounds(sds::CVector::ZERO)) {
        m_pYawNode->translate(step, Ogre::Node::TS_PARENT);
    } else {
        Ogre::Vector3 back = ToOgre(m_Camera.GetBoundsCenter()) - (m_pYawNode->getPosition() + step);
        back.normalise();
        m_pYawNode->translate(back * kCreepStep, Ogre::Node::TS_PARENT);
    }
    RefreshChain();
    RotationStep();
    RefreshChain();
}

} // namespace wrappers
