#pragma once

#include <memory>

#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreStaticGeometry.h>

#include "graphics/IStaticGeometry.h"

namespace wrappers {

// A static batch of meshes, destroyed with the wrapper unless a scene reset
// destroyed it already.
class COgreStaticGeometry : public sds::IStaticGeometry
{
public:
    COgreStaticGeometry(Ogre::StaticGeometry* geometry, Ogre::SceneManager* sceneManager,
                        const std::weak_ptr<const bool>& scene)
        : m_pGeometry(geometry), m_pSceneManager(sceneManager), m_Scene(scene)
    {
    }
    ~COgreStaticGeometry() override
    {
        if (!m_Scene.expired())
            m_pSceneManager->destroyStaticGeometry(m_pGeometry);
    }

    void AddObject(const sds::CGfxObjPtr& object, const sds::CVector& position, const sds::CQuaternion& orientation,
                   const sds::CVector& scale) override;
    void AddObjectAndDetach(const sds::CGfxObjPtr& object, const sds::CVector& position,
                            const sds::CQuaternion& orientation, const sds::CVector& scale) override;
    void AddMesh(const std::string& meshName, const sds::CVector& position, const sds::CQuaternion& orientation,
                 const sds::CVector& scale) override;
    void Build() override { m_pGeometry->build(); }
    bool IsVisible() const override { return m_pGeometry->isVisible(); }
    void SetVisible(bool visible) override { m_pGeometry->setVisible(visible); }

private:
    Ogre::StaticGeometry* m_pGeometry;
    Ogre::SceneManager* m_pSceneManager;
    std::weak_ptr<const bool> m_Scene;
};

} // namespace wrappers
