#pragma once

#include <OGRE/OgreAny.h>
#include <OGRE/OgreAxisAlignedBox.h>
#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreQuaternion.h>

namespace Forests {

class PagedGeometry;

// One page of one detail level: the entities the loader placed in its
// rectangle, drawn in the page type's own way. The pager creates, fills,
// builds, empties and deletes pages as the camera moves.
class GeometryPage
{
public:
    virtual ~GeometryPage() = default;

    virtual void init(PagedGeometry* geom, const Ogre::Any& data) = 0;
    virtual void setRegion(Ogre::Real left, Ogre::Real top, Ogre::Real right, Ogre::Real bottom) {}
    virtual void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                           const Ogre::Vector3& scale, const Ogre::ColourValue& color) = 0;
    // After the last addEntity of a load.
    virtual void build() {}
    // A part of the build, so that a large page can be built over several
    // frames; true once the page is built. Hidden until then.
    virtual bool buildStep()
    {
        build();
        return true;
    }
    virtual void removeEntities() = 0;
    virtual void setFade(bool enabled, Ogre::Real visibleDist, Ogre::Real invisibleDist) {}
    virtual void setVisible(bool visible) = 0;
    // Once per update of the pager while the page is loaded.
    virtual void update() {}
    // The box of what the page holds, null when empty.
    virtual const Ogre::AxisAlignedBox& getBoundingBox() { return m_Bounds; }
    virtual void clearBoundingBox() { m_Bounds.setNull(); }
    virtual void addEntityToBoundingBox(Ogre::Entity* entity, const Ogre::Vector3& position,
                                        const Ogre::Quaternion& rotation, const Ogre::Vector3& scale);

    bool isVisible() const { return m_Visible; }
    bool isLoaded() const { return m_Loaded; }
    int getXIndex() const { return m_XIndex; }
    int getZIndex() const { return m_ZIndex; }
    const Ogre::Vector3& getCenterPoint() const { return m_CenterPoint; }

private:
    friend class GeometryPageManager;

    Ogre::AxisAlignedBox m_Bounds;
    Ogre::Vector3 m_CenterPoint = Ogre::Vector3::ZERO;
    int m_XIndex = 0;
    int m_ZIndex = 0;
    bool m_Visible = false;
    bool m_Loaded = false;
};

} // namespace Forests
