#include "graphics/ogre/FPSCameraManipulator.h"

#include <OGRE/OgreMath.h>

#include "core/Exception.h"
#include "graphics/ogre/OgreCamera.h"
#include "graphics/ogre/OgreConvert.h"
#include "graphics/ogre/OgreGfxObjBase.h"

namespace wrappers {

namespace {

Ogre::SceneNode* TargetNode(const sds::CGfxObjPtr& target)
{
    const auto* object = dynamic_cast<const COgreGfxObjBase*>(target.get());
    auto* node = object ? dynamic_cast<Ogre::SceneNode*>(object->GetNode()) : nullptr;
    if (!node)
        throw sds::CException("The 3D perspective camera needs an object with a scene node to ride on");
    return node;
}

float Radians(const xml::CNodePtr& fps, const std::string& name)
{
    return Ogre::Math::DegreesToRadians(fps->GetAttribute(name)->GetValue<float>());
}

} // namespace

CFPSCameraManipulator::CFPSCameraManipulator(COgreCamera& camera, const sds::CGfxObjPtr& target)
    : CRotationCameraManipulator(camera), m_Target(target)
{
    m_Camera.m_RotX = m_Camera.m_RotY = 0.0f;
    m_Camera.m_TotalRotX = m_Camera.m_TotalRotY = 0.0f;
    Ogre::SceneNode* targetNode = TargetNode(m_Target);
    const xml::CNodePtr fps = m_Camera.GetConfig()->GetChild("FPS");
    m_MaxPitch = Radians(fps, "MaxPitch");
    m_MinPitch = Radians(fps, "MinPitch");
    m_MaxYaw = Radians(fps, "MaxYaw");
    m_MinYaw = Radians(fps, "MinYaw");
    m_LookDirection = Radians(fps, "LookDirection");

    m_pControlNode = targetNode->createChildSceneNode(targetNode->getName() + "CamCtrlNode");
    m_pControlNode->yaw(Ogre::Radian(m_LookDirection));
    BuildChain(m_pControlNode);
    m_pYawNode->setPosition(ToOgre(m_Camera.GetCurrentOffset()));
    m_pControlNode->_update(true, true);
}

void CFPSCameraManipulator::Update(const sds::CTiming& timing)
{
    if (!HasChain())
        return;
    // A turn that would reach a limit is dropped whole.
    const float pitch = m_Camera.m_TotalRotY + m_Camera.m_RotY;
    if (pitch >= m_MaxPitch || pitch <= m_MinPitch)
        m_Camera.m_RotY = 0.0f;
    const float yaw = m_Camera.m_TotalRotX + m_Camera.m_RotX;
    if (yaw >= m_MaxYaw || yaw <= m_MinYaw)
        m_Camera.m_RotX = 0.0f;
    RotationStep();
    m_pControlNode->_update(true, true);
}

void CFPSCameraManipulator::DestroyControlNode()
{
    if (!m_pControlNode)
        return;
    if (m_pCameraNode)
        m_pCameraNode->detachAllObjects();
    m_Camera.ForgetNodes(m_pYawNode);
    m_pYawNode = m_pPitchNode = m_pCameraNode = nullptr;
    if (Ogre::SceneNode* parent = m_pControlNode->getParentSceneNode())
        parent->removeAndDestroyChild(m_pControlNode);
    else
        m_pControlNode->getCreator()->destroySceneNode(m_pControlNode);
    m_pControlNode = nullptr;
}

void CFPSCameraManipulator::Release()
{
    DestroyControlNode();
    m_Target.reset();
}

} // namespace wrappers
