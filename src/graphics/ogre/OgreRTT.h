#pragma once

#include <memory>
#include <string>

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreRenderTargetListener.h>
#include <OGRE/OgreResource.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreTexture.h>

#include "core/Vector.h"
#include "graphics/DialDesc.h"

namespace wrappers {

// A texture that a camera of its own renders into, and a material that shows
// it; the dials own one each. The camera, texture and material are destroyed
// with it; the camera's node only while the scene it was made in stands.
class COgreRTT : public Ogre::RenderTargetListener, public Ogre::ManualResourceLoader
{
public:
    // The camera stands at `cameraPos`, turned by the description's pitch,
    // yaw and roll; `overlays` draws the screen overlays into the texture.
    // Logs "Creating RTT: " and the material name.
    COgreRTT(Ogre::SceneManager* sceneManager, const sds::CRenderTargetDesc& desc, const sds::CVector& cameraPos,
             bool overlays, const std::weak_ptr<const bool>& scene);
    // Logs "Destroying RTT: " and the material name.
    ~COgreRTT() override;
    COgreRTT(const COgreRTT&) = delete;
    COgreRTT& operator=(const COgreRTT&) = delete;

    virtual std::string GetMaterialName() const { return m_MaterialName; }

    // Recreates the texture when the engine reloads it.
    void loadResource(Ogre::Resource* resource) override;

    Ogre::Camera* GetCamera() const { return m_pCamera; }
    Ogre::RenderTarget* GetRenderTarget() const { return m_pRenderTarget; }
    const Ogre::TexturePtr& GetTexture() const { return m_Texture; }

private:
    std::string m_MaterialName;
    std::string m_TextureName;
    int m_Width;
    int m_Height;
    Ogre::SceneManager* m_pSceneManager;
    Ogre::Camera* m_pCamera = nullptr;
    Ogre::SceneNode* m_pCameraNode = nullptr;
    Ogre::RenderTarget* m_pRenderTarget = nullptr;
    Ogre::TexturePtr m_Texture;
    std::weak_ptr<const bool> m_Scene;
};

} // namespace wrappers
