#include "graphics/ogre/OgreRTT.h"

#include <OGRE/OgreHardwarePixelBuffer.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreRenderTexture.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTextureManager.h>
#include <OGRE/OgreViewport.h>

#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "graphics/ogre/OgreConvert.h"

namespace wrappers {

namespace {

void Log(const std::string& text)
{
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogMessage(text);
}

} // namespace

COgreRTT::COgreRTT(Ogre::SceneManager* sceneManager, const sds::CRenderTargetDesc& desc, const sds::CVector& cameraPos,
                   bool overlays, const std::weak_ptr<const bool>& scene)
    : m_MaterialName(sds::MakeUniqueName("RttMat")),
      m_TextureName(sds::MakeUniqueName("RttTex")),
      m_Width(desc.m_Width),
      m_Height(desc.m_Height),
      m_pSceneManager(sceneManager),
      m_Scene(scene)
{
    Log("Creating RTT: " + m_MaterialName);
    const std::string& group = Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME;
    m_Texture = Ogre::TextureManager::getSingleton().createManual(m_TextureName, group, Ogre::TEX_TYPE_2D, m_Width,
                                                                  m_Height, 0, Ogre::PF_R8G8B8A8, Ogre::TU_RENDERTARGET,
                                                                  this);
    m_pRenderTarget = m_Texture->getBuffer()->getRenderTarget();

    m_pCamera = m_pSceneManager->createCamera(sds::MakeUniqueName("RttTexCamera"));
    m_pCameraNode = m_pSceneManager->getRootSceneNode()->createChildSceneNode(ToOgre(cameraPos));
    m_pCameraNode->attachObject(m_pCamera);
    // As a free camera turns: pitch and roll about its own axes, yaw about the vertical.
    m_pCameraNode->pitch(Ogre::Degree(desc.m_CameraRotation.x), Ogre::Node::TS_LOCAL);
    m_pCameraNode->yaw(Ogre::Degree(desc.m_CameraRotation.y), Ogre::Node::TS_PARENT);
    m_pCameraNode->roll(Ogre::Degree(desc.m_CameraRotation.z), Ogre::Node::TS_LOCAL);
    m_pCamera->setNearClipDistance(desc.m_NearClip);
    m_pCamera->setFarClipDistance(desc.m_FarClip);
    m_pCamera->setAspectRatio(Ogre::Real(m_Width) / Ogre::Real(m_Height));

    Ogre::Viewport* viewport = m_pRenderTarget->addViewport(m_pCamera, desc.m_ZOrder);
    viewport->setClearEveryFrame(true, Ogre::FBT_COLOUR | Ogre::FBT_DEPTH);
    viewport->setBackgroundColour(ToOgreColour(desc.m_Background));
    viewport->setOverlaysEnabled(overlays);

    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(m_MaterialName, group);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    pass->setDepthWriteEnabled(true);
    pass->setDepthCheckEnabled(true);
    Ogre::TextureUnitState* unit = pass->createTextureUnitState(m_TextureName);
    unit->setColourOperationEx(Ogre::LBX_MODULATE, Ogre::LBS_TEXTURE, Ogre::LBS_CURRENT, Ogre::ColourValue::White,
                               Ogre::ColourValue::White, 0.0f);
    unit->setTextureFiltering(Ogre::TFO_NONE);

    m_pRenderTarget->addListener(this);
}

COgreRTT::~COgreRTT()
{
    // Everything here belongs to the engine, which ends after the program's graphics.
    if (Ogre::Root::getSingletonPtr()) {
        m_pRenderTarget->removeAllListeners();
        m_pRenderTarget->removeAllViewports();
        Ogre::MaterialManager::getSingleton().remove(m_MaterialName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
        // A scene reset took the camera's node but left the camera.
        if (!m_Scene.expired())
            m_pSceneManager->destroySceneNode(m_pCameraNode);
        if (m_pSceneManager->hasCamera(m_pCamera->getName()))
            m_pSceneManager->destroyCamera(m_pCamera);
        Ogre::TextureManager::getSingleton().remove(m_Texture);
    }
    m_Texture.reset();
    Log("Destroying RTT: " + m_MaterialName);
}

void COgreRTT::loadResource(Ogre::Resource* resource)
{
    static_cast<Ogre::Texture*>(resource)->createInternalResources();
}

} // namespace wrappers
