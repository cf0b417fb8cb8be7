#pragma once

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreQuaternion.h>

#include "scene/ogre/paging/PageInfo.h"

namespace Forests {

class GeometryPage;

// Fills the pages the pager asks for with entities.
class PageLoader
{
public:
    virtual ~PageLoader() = default;

    // Places the page's entities with addEntity.
    virtual void loadPage(PageInfo& page) = 0;
    // The page's entities are gone.
    virtual void unloadPage(PageInfo& page) {}
    // Once per update of the pager.
    virtual void frameUpdate() {}

protected:
    // Adds an entity to the page being loaded and to its bounding box; only
    // while loadPage runs.
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                   const Ogre::Vector3& scale, const Ogre::ColourValue& color = Ogre::ColourValue::White);

private:
    friend class GeometryPageManager;
    GeometryPage* m_Page = nullptr;
};

} // namespace Forests
