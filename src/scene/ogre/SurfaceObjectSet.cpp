#include "scene/ogre/SurfaceObjectSet.h"

#include <boost/filesystem.hpp>

#include "core/ILogMgr.h"
#include "scene/ogre/PageWithEntitiesInfoTmpl.h"
#include "scene/ogre/StaticGeometryPage.h"
#include "scene/ogre/paging/BatchPage.h"
#include "scene/ogre/paging/ImpostorPage.h"

namespace wrappers {

std::shared_ptr<CSurfaceObjectSet> CreateSurfaceObjects(const xml::CNodePtr& object, const std::string& path,
                                                        const std::string& zoneName, float multiplier,
                                                        const CSurfaceObjectsContext& context)
{
    const float saturation = object->GetAttribute("SurfaceObjectSaturation")->GetValue<float>() * multiplier;
    float staticDist = object->GetAttribute("StaticDist", 0.0f);
    float batchDist = object->GetAttribute("BatchDist", 0.0f);
    float impostorsDist = object->GetAttribute("ImpostersDist", 0.0f);
    if (!context.m_UseShaders) {
        // Without shaders only static pages, out to the batched range when no static one is given.
        if (staticDist < 0.0001f)
            staticDist = batchDist;
        batchDist = 0.0f;
        impostorsDist = 0.0f;
    }
    if (saturation <= 0.0f || (staticDist <= 0.0f && batchDist <= 0.0f && impostorsDist <= 0.0f))
        return nullptr;

    const std::string name = object->GetAttribute("Name")->GetValue();
    const std::string file = path + zoneName + "." + name + ".so";
    if (!boost::filesystem::exists(file)) {
        if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
            log->LogWarning("Surface object file does not exist: '" + file + "'");
        return nullptr;
    }

    auto set = std::make_shared<CSurfaceObjectSet>();
    set->m_Name = name;
    set->m_GenerateCollisions = object->GetAttribute("GenerateCollisions", true);
    set->m_Loader = std::make_shared<CSurfaceObjectsLoader>(context.m_SceneMgr, file, saturation, 2,
                                                            object->GetAttribute("LogInfo", false), context.m_Entities);
    const sds::CVector first = set->m_Loader->GetFirstCorner();
    const sds::CVector second = set->m_Loader->GetSecondCorner();
    const Forests::TBounds bounds = second.x >= first.x ? Forests::TBounds(first.x, first.z, second.x, second.z)
                                                        : Forests::TBounds(second.x, second.z, first.x, first.z);
    set->m_Pager = std::make_shared<Forests::PagedGeometry>(context.m_SceneMgr->getCamera("DefaultCamera"),
                                                            set->m_Loader->GetTileSize().x);
    set->m_Pager->setBounds(bounds);
    set->m_Pager->setPageLoader(set->m_Loader.get());
    set->m_Pager->setShared(context.m_BatchGeometry);
    set->m_Pager->setShared(context.m_Impostors);
    set->m_CollisionMeshesDist = object->GetAttribute("CollisionMeshesDist")->GetValue<float>();
    if (staticDist > 0.0f)
        set->m_Static = set->m_Pager->addDetailLevel<CPageWithEntitiesInfoTmpl<CStaticGeometryPage>>(staticDist, 0);
    if (batchDist > 0.0f)
        set->m_Batched = set->m_Pager->addDetailLevel<CPageWithEntitiesInfoTmpl<Forests::BatchPage>>(batchDist, 0);
    if (impostorsDist > 0.0f)
        set->m_Impostors =
            set->m_Pager->addDetailLevel<CPageWithEntitiesInfoTmpl<Forests::ImpostorPage>>(impostorsDist, 0);
    return set;
}

} // namespace wrappers
