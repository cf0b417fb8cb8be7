#pragma once

namespace physics::sdk {

class IStream;
struct CConvexMeshDesc;
struct CTriangleMeshDesc;

// Write a mesh in the layer's own cooked format; false, with nothing written,
// for a descriptor that is empty or whose indices pass its vertex count.
bool CookTriangleMesh(const CTriangleMeshDesc& desc, IStream& out);
bool CookConvexMesh(const CConvexMeshDesc& desc, IStream& out);

} // namespace physics::sdk
