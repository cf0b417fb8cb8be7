#pragma once

#include <string>
#include <vector>

#include <memory>

#include "core/BoundingBox.h"
#include "core/Vector.h"
#include "graphics/IStaticGeometry.h"

namespace sds {

// One recorded trajectory drawn as a static mesh: a stretched copy of the mesh
// along each segment between consecutive samples.
class CTrajectoryDisplay
{
public:
    // Builds the static geometry through the graphics manager. The last sample
    // is not joined. Without samples nothing is built and the box stays empty.
    void BuildTrajectoryMesh();

    std::string m_NamePrefix;
    std::string m_MeshName;
    // "r,g,b[,a]"; alpha 1 when missing.
    std::string m_Colour;
    float m_MeshScale = 1.0f;
    // The sample positions in time order.
    std::vector<CVector> m_Points;
    CBoundingBox m_BoundingBox;
    std::shared_ptr<IStaticGeometry> m_StaticGeometry;
    // The mesh the batch copies, kept for its own coloured material, which
    // goes with it.
    CGfxObjPtr m_MeshObject;
};

} // namespace sds
