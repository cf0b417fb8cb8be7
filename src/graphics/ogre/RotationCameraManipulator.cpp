#include "graphics/ogre/RotationCameraManipulator.h"

#include <algorithm>
#include <cmath>

#include <OGRE/OgreMath.h>

#include "graphics/ogre/OgreCamera.h"
#include "graphics/ogre/OgreConvert.h"

namespace wrappers {

namespace {

Ogre::SceneNode* CreateChainNode(Ogre::SceneNode* parent, const std::string& name)
{
    Ogre::SceneNode* node = parent->createChildSceneNode(name);
    node->setFixedYawAxis(true, Ogre::Vector3::UNIT_Y);
    return node;
}

// Each component 0.0001 nearer to zero (a zero one goes positive), so that
// no component is exactly 0.
float Nudge(float component)
{
    return component > 0.0f ? component - 0.0001f : component + 0.0001f;
}

} // namespace

void CRotationCameraManipulator::BuildChain(Ogre::SceneNode* parent)
{
    const std::string& base = parent->getName();
    m_pYawNode = CreateChainNode(parent, base + "CamYawNode");
    m_pPitchNode = CreateChainNode(m_pYawNode, base + "CamPitchNode");
    m_pCameraNode = CreateChainNode(m_pPitchNode, base + "CamNode");
    m_Camera.SetNodes(m_pYawNode, m_pPitchNode, m_pCameraNode);
    m_Camera.HangRenderingCamera(m_pCameraNode);
}

void CRotationCameraManipulator::TearDownChain()
{
    if (!m_pYawNode)
        return;
    if (m_pCameraNode)
        m_pCameraNode->detachAllObjects();
    if (Ogre::SceneNode* parent = m_pYawNode->getParentSceneNode())
        parent->removeAndDestroyChild(m_pYawNode);
    else
        m_pYawNode->getCreator()->destroySceneNode(m_pYawNode);
    m_Camera.ForgetNodes(m_pYawNode);
    m_pYawNode = m_pPitchNode = m_pCameraNode = nullptr;
}

void CRotationCameraManipulator::RefreshChain()
{
    if (m_pYawNode)
        m_pYawNode->_update(true, true);
}

void CRotationCameraManipulator::RotationStep()
{
    const Ogre::Radian rotX(m_Camera.m_RotX);
    const Ogre::Radian rotY(m_Camera.m_RotY);
    m_pPitchNode->pitch(-rotY);
    m_pYawNode->yaw(rotX);
    RefreshChain();
    if (m_Camera.IsInBounds(sds::CVector::ZERO)) {
        m_Camera.m_TotalRotX += m_Camera.m_RotX;
        m_Camera.m_TotalRotY += m_Camera.m_RotY;
    } else {
        m_pPitchNode->pitch(rotY);
        m_pYawNode->yaw(-rotX);
        RefreshChain();
    }
    m_Camera.m_RotX = 0.0f;
    m_Camera.m_RotY = 0.0f;
}

void CRotationCameraManipulator::LookAt(const sds::CVector& point)
{
    if (!m_pYawNode)
        return;
    sds::CVector direction = point - FromOgre(m_pYawNode->_getDerivedPosition());
    direction.Normalize();
    LookAlong(direction);
}

void CRotationCameraManipulator::LookAlong(sds::CVector direction)
{
    m_pPitchNode->resetOrientation();
    m_pYawNode->resetOrientation();
    direction = sds::CVector(Nudge(direction.x), Nudge(direction.y), Nudge(direction.z));
    // The heading turns the rest view (-Z) onto the horizontal part of the
    // direction; straight up or down it is a half turn.
    const float horizontal = std::sqrt(direction.x * direction.x + direction.z * direction.z);
    const float heading = horizontal < 0.001f ? Ogre::Math::PI : std::atan2(-direction.x, -direction.z);
    // Turning in place moves the camera nowhere: it faces the point wherever it
    // stands, out of the level's bounds too (a script's camera down in a valley).
    const float pitch = -std::asin(std::clamp(direction.y, -1.0f, 1.0f));
    m_pPitchNode->pitch(Ogre::Radian(-pitch));
    m_pYawNode->yaw(Ogre::Radian(heading));
    RefreshChain();
    m_Camera.m_TotalRotX = heading;
    m_Camera.m_TotalRotY = pitch;
    m_Camera.m_RotX = 0.0f;
    m_Camera.m_RotY = 0.0f;
}

} // namespace wrappers
