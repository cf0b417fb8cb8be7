#include "scene/ogre/paging/GeometryPage.h"

#include <OGRE/OgreMatrix4.h>

namespace Forests {

void GeometryPage::addEntityToBoundingBox(Ogre::Entity* entity, const Ogre::Vector3& position,
                                          const Ogre::Quaternion& rotation, const Ogre::Vector3& scale)
{
    Ogre::AxisAlignedBox box = entity->getBoundingBox();
    Ogre::Matrix4 transform;
    transform.makeTransform(position, scale, rotation);
    box.transform(transform);
    m_Bounds.merge(box);
}

} // namespace Forests
