#include "graphics/ogre/AroundCameraManipulator.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <OGRE/OgreMath.h>

#include "graphics/ogre/OgreCamera.h"
#include "graphics/ogre/OgreConvert.h"

namespace wrappers {

namespace {

const sds::CGfxObjPtr& RequireTarget(const sds::CGfxObjPtr& target)
{
    if (!target)
        throw std::runtime_error("m_pController && \"Camera should be attached to an object\"");
    return target;
}

} // namespace

CAroundCameraManipulator::CAroundCameraManipulator(COgreCamera& camera, const sds::CGfxObjPtr& target)
    : CFreeCameraManipulator(camera), m_Target(RequireTarget(target))
{
    const xml::CNodePtr invert = m_Camera.GetConfig()->GetChild("Invert");
    m_InvertX = invert->GetAttribute("AroundX")->GetValue<bool>();
    m_InvertY = invert->GetAttribute("AroundY")->GetValue<bool>();
    const sds::CVector offset = m_Camera.GetCurrentOffset();
    m_pCameraNode->setPosition(0.0f, 0.0f, offset.Length());
    sds::CVector towardPivot = -offset;
    towardPivot.Normalize();
    LookAlong(towardPivot);
}

void CAroundCameraManipulator::Release()
{
    m_Target.reset();
    CFreeCameraManipulator::Release();
}

void CAroundCameraManipulator::OnEvent(const sds::CInternalEvent& event)
{
    const bool yaw = event.Code == sds::CameraEvents::camera_yaw;
    const bool pitch = event.Code == sds::CameraEvents::camera_pitch;
    if (!yaw && !pitch) {
        CFreeCameraManipulator::OnEvent(event);
        return;
    }
    if (!m_Camera.IsInputEnabled())
        return;
    const float turn = Ogre::Math::DegreesToRadians(event.Change * m_Camera.m_MouseScale);
    const bool invert = yaw ? m_InvertX : m_InvertY;
    const float rotation = event.On ? (invert ? turn : -turn) : 0.0f;
    (yaw ? m_Camera.m_RotX : m_Camera.m_RotY) = rotation;
}

Ogre::Vector3 CAroundCameraManipulator::ZoomStep(float distance) const
{
    using sds::ICamera;
    const Ogre::Vector3 position = m_pCameraNode->getPosition();
    const Ogre::Vector3 away = position.normalisedCopy();
    if (m_Camera.IsMovingTo(ICamera::MOVING_BACKWARDS))
        return away * distance;
    if (m_Camera.IsMovingTo(ICamera::MOVING_FORWARD)) {
        const Ogre::Vector3 step = away * -distance;
        return position.length() < step.length() ? Ogre::Vector3::ZERO : step;
    }
    return Ogre::Vector3::ZERO;
}

void CAroundCameraManipulator::OrbitByKeys(float mouseScale, float elapsed)
{
    using sds::ICamera;
    const float turn = Ogre::Math::DegreesToRadians(mouseScale) / 10.0f * elapsed;
    // Later keys on one axis win over earlier ones.
    if (m_Camera.IsMovingTo(ICamera::MOVING_LEFT))
        m_Camera.m_RotX = m_InvertX ? -turn : turn;
    if (m_Camera.IsMovingTo(ICamera::MOVING_RIGHT))
        m_Camera.m_RotX = m_InvertX ? turn : -turn;
    if (m_Camera.IsMovingTo(ICamera::MOVING_UP))
        m_Camera.m_RotY = m_InvertY ? turn : -turn;
    if (m_Camera.IsMovingTo(ICamera::MOVING_DOWN))
        m_Camera.m_RotY = m_InvertY ? -turn : turn;
}

void CAroundCameraManipulator::LimitElevation()
{
    // The pitch node only ever turns about its own x axis. Past straight up or
    // down the orbit would go over the top and the view turn upside down: the
    // turn stops there.
    const Ogre::Quaternion pitch = m_pPitchNode->getOrientation();
    const float now = 2.0f * std::atan2(pitch.x, pitch.w);
    const float current = std::atan2(std::sin(now), std::cos(now));
    const float wanted = std::clamp(current - m_Camera.m_RotY, -Ogre::Math::HALF_PI, Ogre::Math::HALF_PI);
    m_Camera.m_RotY = current - wanted;
}

void CAroundCameraManipulator::Update(const sds::CTiming& timing)
{
    using sds::ICamera;
    const float slow = m_Camera.m_SlowMovement ? 0.1f : 1.0f;
    UpdateAcceleration();
    // The acceleration counts before the test against the pivot, so that no
    // accelerated step passes it either.
    const float acceleration = m_Camera.m_AcceleratedMovement ? m_Camera.m_Acceleration : 1.0f;
    const Ogre::Vector3 step = ZoomStep(m_Camera.m_MoveScale * slow * timing.m_Elapsed * acceleration);
    if (step != Ogre::Vector3::ZERO && m_Camera.IsInBounds(sds::CVector::ZERO))
        m_pCameraNode->setPosition(m_pCameraNode->getPosition() + step);
    OrbitByKeys(m_Camera.m_MouseScale * slow, timing.m_Elapsed);

    if (m_Target && m_Camera.IsInBounds(sds::CVector::ZERO))
        m_pYawNode->setPosition(ToOgre(m_Target->GetWorldPos()));
    RefreshChain();

    LimitElevation();
    m_Camera.m_TotalRotX += m_Camera.m_RotX;
    m_Camera.m_TotalRotY += m_Camera.m_RotY;
    RotationStep();
    RefreshChain();
}

} // namespace wrappers
