#include "scene/ogre/paging/GeometryPageManager.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "scene/ogre/paging/GeometryPage.h"
#include "scene/ogre/paging/PageLoader.h"
#include "scene/ogre/paging/PagedGeometry.h"

namespace Forests {

GeometryPageManager::GeometryPageManager(PagedGeometry* geom, TPageFactory factory, const Ogre::Any& data)
    : m_Geom(geom), m_Factory(std::move(factory)), m_Data(data)
{
}

GeometryPageManager::~GeometryPageManager()
{
    unloadAll(nullptr);
}

bool GeometryPageManager::InBand(Ogre::Real distance) const
{
    if (distance > m_FarRange)
        return false;
    return m_NearRange <= 0 ? true : distance > m_NearRange;
}

PageInfo GeometryPageManager::MakeInfo(int x, int z) const
{
    const TBounds& bounds = m_Geom->getBounds();
    const Ogre::Real size = m_Geom->getPageSize();
    PageInfo info;
    info.xIndex = x;
    info.zIndex = z;
    info.bounds = TBounds(bounds.left + x * size, bounds.top + z * size, bounds.left + (x + 1) * size,
                          bounds.top + (z + 1) * size);
    info.centerPoint = Ogre::Vector3((info.bounds.left + info.bounds.right) / 2, 0,
                                     (info.bounds.top + info.bounds.bottom) / 2);
    return info;
}

void GeometryPageManager::update(const Ogre::Vector3& camera, PageLoader* loader)
{
    const TBounds& bounds = m_Geom->getBounds();
    const Ogre::Real size = m_Geom->getPageSize();
    std::set<std::pair<int, int>> wanted;
    if (m_FarRange > 0 && m_FarRange > m_NearRange) {
        // The grid cells within the far range, clamped in floating point first.
        auto cell = [&](double offset, int count) {
            return static_cast<int>(std::clamp(std::floor(offset / size), 0.0, count - 1.0));
        };
        const int x0 = cell(camera.x - m_FarRange - bounds.left, m_Geom->getPageCountX());
        const int x1 = cell(camera.x + m_FarRange - bounds.left, m_Geom->getPageCountX());
        const int z0 = cell(camera.z - m_FarRange - bounds.top, m_Geom->getPageCountZ());
        const int z1 = cell(camera.z + m_FarRange - bounds.top, m_Geom->getPageCountZ());
        for (int x = x0; x <= x1; ++x) {
            for (int z = z0; z <= z1; ++z) {
                const Ogre::Vector3 centre = MakeInfo(x, z).centerPoint;
                if (InBand(Ogre::Math::Sqrt(Ogre::Math::Sqr(camera.x - centre.x) + Ogre::Math::Sqr(camera.z - centre.z))))
                    wanted.insert({x, z});
            }
        }
    }
    for (auto page = m_Pages.begin(); page != m_Pages.end();) {
        if (wanted.count(page->first))
            ++page;
        else
            Unload(page++, loader);
    }
    for (const auto& key : wanted) {
        if (!m_Pages.count(key))
            Load(key.first, key.second, loader);
    }
    for (const auto& page : m_Pages)
        page.second->update();
}

void GeometryPageManager::Load(int x, int z, PageLoader* loader)
{
    PageInfo info = MakeInfo(x, z);
    GeometryPage* page = m_Factory();
    m_Pages[{x, z}] = page;
    page->m_XIndex = x;
    page->m_ZIndex = z;
    page->m_CenterPoint = info.centerPoint;
    page->init(m_Geom, m_Data);
    page->setRegion(info.bounds.left, info.bounds.top, info.bounds.right, info.bounds.bottom);
    loader->m_Page = page;
    try {
        loader->loadPage(info);
    } catch (...) {
        loader->m_Page = nullptr;
        throw;
    }
    loader->m_Page = nullptr;
    page->build();
    page->setVisible(true);
    page->m_Visible = true;
    page->m_Loaded = true;
}

void GeometryPageManager::Unload(TPageMap::iterator page, PageLoader* loader)
{
    GeometryPage* geometry = page->second;
    if (geometry->m_Loaded) {
        geometry->removeEntities();
        if (loader) {
            PageInfo info = MakeInfo(page->first.first, page->first.second);
            loader->unloadPage(info);
        }
    }
    geometry->setVisible(false);
    m_Pages.erase(page);
    delete geometry;
}

void GeometryPageManager::unloadAll(PageLoader* loader)
{
    while (!m_Pages.empty())
        Unload(m_Pages.begin(), loader);
}

} // namespace Forests
