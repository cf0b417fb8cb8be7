#pragma once

#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreStaticGeometry.h>

#include "scene/ogre/paging/GeometryPage.h"

namespace wrappers {

// A page drawn as one static geometry, which batches its entities into few
// draw calls. Its regions answer no ray queries: their boxes span the whole
// page, not the ground or objects in it.
class CStaticGeometryPage : public Forests::GeometryPage
{
public:
    ~CStaticGeometryPage() override;

    void init(Forests::PagedGeometry* geom, const Ogre::Any& data) override;
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                   const Ogre::Vector3& scale, const Ogre::ColourValue& color) override;
    void build() override;
    void removeEntities() override;
    void setVisible(bool visible) override;
    const Ogre::AxisAlignedBox& getBoundingBox() override { return m_BoundingBox; }

private:
    Ogre::StaticGeometry* MakeGeometry();

    Ogre::SceneManager* m_SceneMgr = nullptr;
    Ogre::StaticGeometry* m_Geometry = nullptr;
    Ogre::AxisAlignedBox m_BoundingBox;
};

} // namespace wrappers
