#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <OGRE/OgreBillboardSet.h>
#include <OGRE/OgreCamera.h>
#include <OGRE/OgreSceneManager.h>

#include "scene/ogre/paging/GeometryPage.h"

namespace Forests {

class ImpostorTextures;

// A page drawn as pictures: one upright billboard per entity that turns to
// the camera and shows the rendered view of the mesh from the camera's side.
class ImpostorPage : public GeometryPage
{
public:
    ~ImpostorPage() override;

    void init(PagedGeometry* geom, const Ogre::Any& data) override;
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                   const Ogre::Vector3& scale, const Ogre::ColourValue& color) override;
    void build() override;
    void removeEntities() override;
    void setVisible(bool visible) override;
    // Shows each billboard's view from where the camera is now.
    void update() override;

private:
    struct CInstance
    {
        Ogre::Vector3 m_Position;
        Ogre::Real m_Yaw;
        Ogre::Real m_Scale;
    };
    struct CGroup
    {
        Ogre::Entity* m_Entity = nullptr;
        std::vector<CInstance> m_Instances;
        Ogre::BillboardSet* m_Set = nullptr;
        // The set's billboards, one per instance: the set finds one by its
        // index only by walking its list.
        std::vector<Ogre::Billboard*> m_Billboards;
    };

    Ogre::SceneManager* m_SceneMgr = nullptr;
    Ogre::Camera* m_Camera = nullptr;
    Ogre::SceneNode* m_Node = nullptr;
    std::shared_ptr<ImpostorTextures> m_Textures;
    std::map<std::string, CGroup> m_Groups;
};

} // namespace Forests
