#pragma once

#include <memory>
#include <vector>

#include <OGRE/OgreManualObject.h>
#include <OGRE/OgreSceneManager.h>

#include "scene/ogre/paging/GeometryPage.h"

namespace Forests {

class MeshGeometryCache;

// A page drawn as one merged buffer per material: every entity's triangles,
// moved into place, in a single object.
class BatchPage : public GeometryPage
{
public:
    ~BatchPage() override;

    void init(PagedGeometry* geom, const Ogre::Any& data) override;
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                   const Ogre::Vector3& scale, const Ogre::ColourValue& color) override;
    void build() override;
    void removeEntities() override;
    void setVisible(bool visible) override;

private:
    struct CInstance
    {
        Ogre::Entity* m_Entity;
        Ogre::Vector3 m_Position;
        Ogre::Quaternion m_Rotation;
        Ogre::Vector3 m_Scale;
    };

    Ogre::SceneManager* m_SceneMgr = nullptr;
    Ogre::SceneNode* m_Node = nullptr;
    Ogre::ManualObject* m_Batch = nullptr;
    std::shared_ptr<MeshGeometryCache> m_Meshes;
    std::vector<CInstance> m_Instances;
};

} // namespace Forests
