#pragma once

#include <string>

#include <OGRE/OgreResource.h>

#include "core/Quaternion.h"
#include "graphics/TriangleGeometry.h"
#include "graphics/ogre/OgreGfxObjBase.h"

namespace wrappers {

// A mark in the scene: one flat triangle of a colour, from three corners in the
// node's space, with its own copy of the material "Triangle". The mesh and the
// copy go with the object.
class COgreTriangle : public COgreGfxObjBase, public Ogre::ManualResourceLoader
{
public:
    COgreTriangle(Ogre::SceneNode* node, const sds::CVector& a, const sds::CVector& b, const sds::CVector& c,
                  const sds::CFourFloats& colour);

    // Builds the mesh from the corners; run by the mesh's load.
    void loadResource(Ogre::Resource* resource) override;

    const std::string& GetMeshName() const { return m_MeshName; }

private:
    sds::CTriangleGeometry m_Geometry;
    std::string m_MeshName;
};

} // namespace wrappers
