#pragma once

#include <functional>
#include <string>
#include <vector>

#include <OGRE/OgreManualObject.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreVector.h>

namespace caelum {

// What a sky sphere's vertex gets beside its place: `direction` is the unit
// vector from the centre, `around` runs from 0 to 1 once round from north
// through east, the seam column repeated.
typedef std::function<void(Ogre::ManualObject& object, const Ogre::Vector3& direction, float around)> SkyVertex;

// A unit sphere, or a band of it, as rings at the elevations given (degrees,
// rising) of `segments` quads each, written into `object` as its first
// section: begun when the object is empty, else updated in place. Sky objects
// cast no shadows and answer no scene query.
void WriteSkySphere(Ogre::ManualObject& object, const std::string& material, const std::string& resourceGroup,
                    const std::vector<float>& elevations, int segments, const SkyVertex& vertex);

// A sky object in the scene manager, hung under `node`, drawn in the render
// queue group and priority given.
Ogre::ManualObject* CreateSkyObject(Ogre::SceneManager& sceneMgr, Ogre::SceneNode& node, Ogre::uint8 queueGroup,
                                    Ogre::ushort priority, bool dynamic);

// The sky's material of that name; a missing one throws the rendering
// engine's item-not-found exception.
Ogre::MaterialPtr GetSkyMaterial(const std::string& name, const std::string& resourceGroup);

} // namespace caelum
