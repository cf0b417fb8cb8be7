#pragma once

#include <functional>
#include <memory>

#include "core/Node.h"
#include "core/services/ILevelResourceLoader.h"
#include "core/services/LoadingProgressCallback.h"
#include "graphics/IGfxMgr.h"

namespace sds {

// The graphics of a loaded drop zone as the graphics manager reaches them:
// a level resource loader that also hands out collision meshes of what
// stands near a point.
class IZoneGraphics : public ILevelResourceLoader
{
public:
    using ILevelResourceLoader::ILevelResourceLoader;

    // Appends the triangle meshes of terrain tiles and surface objects near the
    // point that were not handed out while their pages stayed loaded, and that
    // `isBaked` does not know (a page loaded again yields its meshes again).
    // `reach`: how far the point may be above a page's highest object for the
    // page to count; `multiplier` scales the terrain's radius; `budget`:
    // seconds the call may spend.
    virtual void GetSurfaceObjectsAround(IGfxMgr::CObjectQueue& output, const CVector& point, float reach,
                                         float multiplier, float budget, const CIsBaked& isBaked) = 0;
};

// Builds the graphics of a drop zone from its scene element. The scene layer
// hands one to the graphics manager, which sits below it.
typedef std::function<std::shared_ptr<IZoneGraphics>(const xml::CNodePtr& zone,
                                                     const LoadingProgressCallback& progress)>
    CZoneGraphicsFactory;

} // namespace sds
