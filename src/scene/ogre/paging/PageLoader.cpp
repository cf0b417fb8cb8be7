#include "scene/ogre/paging/PageLoader.h"

#include "scene/ogre/paging/GeometryPage.h"

namespace Forests {

void PageLoader::addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                           const Ogre::Vector3& scale, const Ogre::ColourValue& color)
{
    OgreAssert(m_Page, "Entities are added to a page only while it loads");
    m_Page->addEntity(entity, position, rotation, scale, color);
    m_Page->addEntityToBoundingBox(entity, position, rotation, scale);
}

} // namespace Forests
