#include "scene/ogre/OgreZoneLoader.h"

#include <chrono>
#include <stdexcept>

#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/services/IApplication.h"
#include "scene/GraphicsSettings.h"
#include "scene/ogre/Caelum.h"
#include <OGRE/OgreException.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreTechnique.h>
#include "scene/ogre/PageWithEntitiesInfoTmpl.h"
#include "scene/ogre/paging/GeometryPage.h"

namespace wrappers {

namespace {

// A page's build step or two a frame, well within a frame of 60 per second.
const double kPagingBudgetMs = 1.0;

} // namespace

COgreZoneLoader::COgreZoneLoader(const xml::CNodePtr& zone, const sds::LoadingProgressCallback& progress)
    : sds::IZoneGraphics("DZGfx"), m_GfxMgr(&COgreGfxMgr::Get()), m_PagingBudget(kPagingBudgetMs)
{
    if (!zone)
        throw std::runtime_error("Conf && \"Should not be given an empty config\"");
    try {
        Load(zone, progress);
    } catch (const Ogre::Exception& e) {
        TearDown();
        // What went wrong, without the rendering engine's function and source file.
        throw std::runtime_error(e.getDescription());
    } catch (...) {
        TearDown();
        throw;
    }
}

COgreZoneLoader::~COgreZoneLoader()
{
    TearDown();
}

void COgreZoneLoader::Load(const xml::CNodePtr& zone, const sds::LoadingProgressCallback& progress)
{
    // A jump over no ground never ends: the jumper falls on for good.
    if (!zone->HasChild("Terrain") && !zone->HasChildById("BoundingBox", "Boundaries", "Name,Id"))
        throw std::runtime_error("It has no \"Terrain\", so there is no ground to land on.");
    m_GfxMgr->CreateCamera();
    progress("Initializing Sky", 0.0f);
    sds::IApplication* application = sds::IApplication::GetSingleton();
    const bool useShaders =
        application ? sds::UseShaders(application->GetConfig(), application->GetSettings()) : true;
    if (zone->HasChild("Caelum") && useShaders)
        m_HasSky = MakeSky(zone->GetChild("Caelum"));
    progress("Loading Scene", 0.2f);
    m_Scene = std::make_shared<CDotScene>(m_GfxMgr, zone, !m_HasSky, 0.2f, 0.6f, progress);
    if (zone->HasChild("Terrain"))
        m_GfxMgr->SetTerrainCollisionMultiplier(
            zone->GetChild("Terrain")->GetAttribute("DistanceToTileForCollisionMultiplier")->GetValue<float>());

    progress("Updating terrain", 0.8f);
    if (m_Scene->GetTerrainPager())
        m_Scene->GetTerrainPager()->update();
    const auto& sets = m_Scene->GetSurfaceObjects();
    float fraction = 0.9f;
    for (const auto& set : sets) {
        progress("Updating surface objects", fraction);
        set->m_Pager->update();
        fraction += 0.1f / static_cast<float>(sets.size());
    }
}

void COgreZoneLoader::TearDown()
{
    m_HasSky = false;
    m_Sky.reset();
    m_Scene.reset();
    m_GfxMgr->DestroyCamera();
    m_GfxMgr->ResetScene();
    if (sds::IApplication* application = sds::IApplication::GetSingleton()) {
        const sds::CVector ambient =
            xml::ParseVector(application->GetConfig()->GetChild("Scene")->GetAttribute("AmbientColor")->GetValue());
        m_GfxMgr->GetSceneManager()->setAmbientLight(Ogre::ColourValue(ambient.x, ambient.y, ambient.z, 1.0f));
    }
}

bool COgreZoneLoader::MakeSky(const xml::CNodePtr& caelum)
{
    m_Sky = std::make_shared<CCaelum>(caelum, m_GfxMgr);
    // A disabled sky leaves the scene's own sky and sun in use.
    return m_Sky->GetSystem() != nullptr;
}

void COgreZoneLoader::UpdateSky(const sds::CTiming& timing)
{
    caelum::CaelumSystem& system = *m_Sky->GetSystem();
    system.updateSubcomponents(timing.m_Elapsed);
    if (!system.getSkyDome() || !system.getSkyDome()->getHazeEnabled() || !system.getSun())
        return;
    const Ogre::MaterialPtr terrain = Ogre::MaterialManager::getSingleton().getByName("CaelumDemoTerrain1");
    if (!terrain || !terrain->getTechnique(0))
        return;
    Ogre::Pass* haze = terrain->getTechnique(0)->getPass("CaelumHaze");
    if (haze && haze->hasVertexProgram())
        haze->getVertexProgramParameters()->setNamedConstant("sunDirection", system.getSun()->getLightDirection());
}

void COgreZoneLoader::Update(const sds::CTiming& timing)
{
    m_PagingBudget.startFrame();
    m_Scene->UpdatePagers(&m_PagingBudget);
    if (m_HasSky)
        UpdateSky(timing);
}

void COgreZoneLoader::GetSurfaceObjectsAround(sds::IGfxMgr::CObjectQueue& output, const sds::CVector& point,
                                              float reach, float multiplier, float budget, const sds::CIsBaked& isBaked)
{
    if (m_Scene->GetTerrainPager() && m_Scene->GetTerrainDetailLevel())
        SearchLevel(m_Scene->GetTerrainDetailLevel(), output, point, reach,
                    m_Scene->GetTerrainPager()->getPageSize() * multiplier, budget, isBaked);
    for (const auto& set : m_Scene->GetSurfaceObjects()) {
        if (!set->m_GenerateCollisions)
            continue;
        Forests::GeometryPageManager* level =
            set->m_Static ? set->m_Static : set->m_Batched ? set->m_Batched : set->m_Impostors;
        if (!level) {
            if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
                log->LogError("At least one manager must be active, check configuration file for the drop zone "
                              "surface object: " + set->m_Name);
            throw std::runtime_error(
                "!\"At least one manager must be active, check configuration file for the drop zone surface object\"");
        }
        SearchLevel(level, output, point, reach, set->m_CollisionMeshesDist, budget, isBaked);
    }
}

void COgreZoneLoader::SearchLevel(Forests::GeometryPageManager* level, sds::IGfxMgr::CObjectQueue& output,
                                  const sds::CVector& point, float reach, float radius, float& budget,
                                  const sds::CIsBaked& isBaked)
{
    const Ogre::Vector3 at(point.x, point.y, point.z);
    for (const auto& entry : level->getLoadedPages()) {
        if (!(budget > 0))
            return;
        Forests::GeometryPage* page = entry.second;
        auto* records = dynamic_cast<CPageEntities*>(page);
        if (!records || !page->isVisible() || !page->isLoaded())
            continue;
        // Timed finer than the budget: a whole page's conversion often takes
        // less than a millisecond, and a clock of whole milliseconds would
        // count most of them as nothing, and convert page after page.
        const auto start = std::chrono::steady_clock::now();
        records->Collect(at, reach, radius, output, isBaked);
        budget -= std::chrono::duration<float>(std::chrono::steady_clock::now() - start).count();
    }
}

void UseOgreZoneLoader(COgreGfxMgr& gfxMgr)
{
    gfxMgr.SetZoneGraphicsFactory([](const xml::CNodePtr& zone, const sds::LoadingProgressCallback& progress) {
        return std::make_shared<COgreZoneLoader>(zone, progress);
    });
}

} // namespace wrappers
