#pragma once

#include <string>

#include <OGRE/OgreResource.h>

#include "graphics/RopeGeometry.h"
#include "graphics/ogre/OgreGfxObjBase.h"

namespace wrappers {

// A line drawn as a generated thin tube skinned to a chain of bones, which the
// rope logic poses through the skeleton view (every joint is manually
// controlled). The mesh and its skeleton are the rope's own and go with it; its
// culling box follows the bones wherever they are posed.
class COgreRope : public COgreGfxObjBase, public Ogre::ManualResourceLoader
{
public:
    // Builds on the node (length and width in metres); bad dimensions throw
    // before anything is made.
    COgreRope(const sds::CGfxObjPtr& parent, Ogre::SceneNode* node, float length, float width, unsigned segments);

    // Builds the mesh from the geometry; run by the mesh's load.
    void loadResource(Ogre::Resource* resource) override;

    const std::string& GetMeshName() const { return m_MeshName; }

private:
    sds::CRopeGeometry m_Geometry;
    std::string m_MeshName;
};

} // namespace wrappers
