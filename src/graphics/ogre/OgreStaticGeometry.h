#pragma once

#include <memory>
#include <vector>

#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreStaticGeometry.h>

#include "graphics/IStaticGeometry.h"

namespace wrappers {

// A static batch of meshes, destroyed with the wrapper (and the entities it
// made for AddMesh with it) unless a scene reset destroyed them already.
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
        if (m_Scene.expired())
            return;
        m_pSceneManager->destroyStaticGeometry(m_pGeometry);
        for (Ogre::Entity* entity : m_MeshEntities)
            m_pSceneManager->destroyEntity(entity);
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
    std::vector<Ogre::Entity*> m_MeshEntities;
};

} // namespace wrappers
