#include "scene/ogre/sky/SkyObjects.h"

#include <cmath>

#include <OGRE/OgreException.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

namespace caelum {

void WriteSkySphere(Ogre::ManualObject& object, const std::string& material, const std::string& resourceGroup,
                    const std::vector<float>& elevations, int segments, const SkyVertex& vertex)
{
    if (object.getSections().empty())
        object.begin(material, Ogre::RenderOperation::OT_TRIANGLE_LIST, resourceGroup);
    else
        object.beginUpdate(0);
    const int columns = segments + 1;
    for (float elevation : elevations) {
        const float rise = Ogre::Degree(elevation).valueRadians();
        for (int column = 0; column < columns; ++column) {
            const float around = static_cast<float>(column) / segments;
            const float azimuth = around * Ogre::Math::TWO_PI;
            const Ogre::Vector3 direction(std::cos(rise) * std::sin(azimuth), std::sin(rise),
                                          -std::cos(rise) * std::cos(azimuth));
            object.position(direction);
            vertex(object, direction, around);
        }
    }
    for (size_t ring = 0; ring + 1 < elevations.size(); ++ring)
        for (int column = 0; column < segments; ++column) {
            const Ogre::uint32 below = static_cast<Ogre::uint32>(ring * columns + column);
            const Ogre::uint32 above = below + columns;
            object.quad(below, below + 1, above + 1, above);
        }
    object.end();
}

Ogre::ManualObject* CreateSkyObject(Ogre::SceneManager& sceneMgr, Ogre::SceneNode& node, Ogre::uint8 queueGroup,
                                    Ogre::ushort priority, bool dynamic)
{
    Ogre::ManualObject* object = sceneMgr.createManualObject();
    object->setDynamic(dynamic);
    object->setCastShadows(false);
    object->setQueryFlags(0);
    object->setRenderQueueGroupAndPriority(queueGroup, priority);
    node.attachObject(object);
    return object;
}

Ogre::MaterialPtr GetSkyMaterial(const std::string& name, const std::string& resourceGroup)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name, resourceGroup);
    if (!material)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "Sky material not found: " + name, "caelum::GetSkyMaterial");
    material->load();
    return material;
}

} // namespace caelum
