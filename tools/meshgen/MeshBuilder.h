#pragma once

#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSkeleton.h>

#include "meshgen/MeshDescription.h"

namespace meshgen {

// The mesh of a description in the mesh manager, in `group`, with its
// skeleton when it has bones. Its buffers keep shadow copies, so that the
// program can read them back. The materials it names need not exist.
Ogre::MeshPtr BuildMesh(const CMeshDesc& desc, const std::string& group);

// The skeleton of a description with bones, in the skeleton manager.
Ogre::SkeletonPtr BuildSkeleton(const CMeshDesc& desc, const std::string& group);

// Writes the mesh (and its skeleton) into the folder under their own names.
void SaveMesh(const CMeshDesc& desc, const std::string& folder, const std::string& group);

} // namespace meshgen
