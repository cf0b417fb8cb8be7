#pragma once

#include <memory>

#include "core/Node.h"
#include "core/services/LoadingProgressCallback.h"
#include "graphics/IZoneGraphics.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "scene/ogre/Caelum.h"
#include "scene/ogre/DotScene.h"
#include "scene/ogre/paging/GeometryPageManager.h"

namespace wrappers {

// The graphics of a loaded drop zone ("DZGfx"): the constructor builds the
// camera, the sky, the scene with its terrain and surface objects, and pages
// them in once; each frame pages them around the camera (pages near it are
// built ahead and released within a time budget) and moves the sky;
// the destructor takes it all down and puts the ambient light back. A
// constructor that fails takes down what it built before it rethrows.
class COgreZoneLoader : public sds::IZoneGraphics
{
public:
    // `zone`: the drop zone's scene element.
    COgreZoneLoader(const xml::CNodePtr& zone, const sds::LoadingProgressCallback& progress);
    ~COgreZoneLoader() override;

    void Update(const sds::CTiming& timing) override;
    // The zone graphics stay loaded across jumps.
    void Restart() override {}
    void GetSurfaceObjectsAround(sds::IGfxMgr::CObjectQueue& output, const sds::CVector& point, float reach,
                                 float multiplier, float budget, const sds::CIsBaked& isBaked) override;

    const std::shared_ptr<CDotScene>& GetScene() const { return m_Scene; }
    bool HasSky() const { return m_HasSky; }

private:
    void Load(const xml::CNodePtr& zone, const sds::LoadingProgressCallback& progress);
    void TearDown();
    // The sky step; see the definition.
    bool MakeSky(const xml::CNodePtr& caelum);
    void UpdateSky(const sds::CTiming& timing);
    // Searches a level's loaded pages for collision meshes while the budget lasts.
    static void SearchLevel(Forests::GeometryPageManager* level, sds::IGfxMgr::CObjectQueue& output,
                            const sds::CVector& point, float reach, float radius, float& budget,
                            const sds::CIsBaked& isBaked);

    std::shared_ptr<CCaelum> m_Sky;
    std::shared_ptr<CDotScene> m_Scene;
    bool m_HasSky = false;
    COgreGfxMgr* m_GfxMgr;
    // What the pagers may spend in a frame building pages ahead and releasing them.
    Forests::FrameBudget m_PagingBudget;
};

// Has the graphics manager build drop zones with COgreZoneLoader.
void UseOgreZoneLoader(COgreGfxMgr& gfxMgr);

} // namespace wrappers
