#include "scene/ogre/paging/GeometryPageManager.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "scene/ogre/paging/FrameBudget.h"
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

Ogre::Real GeometryPageManager::OutsideBand(Ogre::Real distance) const
{
    if (distance > m_FarRange)
        return distance - m_FarRange;
    return m_NearRange > 0 && distance <= m_NearRange ? m_NearRange - distance : 0;
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

void GeometryPageManager::update(const Ogre::Vector3& camera, PageLoader* loader, FrameBudget* budget)
{
    const TBounds& bounds = m_Geom->getBounds();
    const Ogre::Real size = m_Geom->getPageSize();
    // The pages within reach, by how far outside the band they are.
    std::map<std::pair<int, int>, Ogre::Real> reach;
    if (m_FarRange > 0 && m_FarRange > m_NearRange) {
        const Ogre::Real far = m_FarRange + m_PrepareDistance;
        // The grid cells within reach, clamped in floating point first.
        auto cell = [&](double offset, int count) {
            return static_cast<int>(std::clamp(std::floor(offset / size), 0.0, count - 1.0));
        };
        const int x0 = cell(camera.x - far - bounds.left, m_Geom->getPageCountX());
        const int x1 = cell(camera.x + far - bounds.left, m_Geom->getPageCountX());
        const int z0 = cell(camera.z - far - bounds.top, m_Geom->getPageCountZ());
        const int z1 = cell(camera.z + far - bounds.top, m_Geom->getPageCountZ());
        for (int x = x0; x <= x1; ++x) {
            for (int z = z0; z <= z1; ++z) {
                const Ogre::Vector3 centre = MakeInfo(x, z).centerPoint;
                const Ogre::Real distance =
                    Ogre::Math::Sqrt(Ogre::Math::Sqr(camera.x - centre.x) + Ogre::Math::Sqr(camera.z - centre.z));
                const Ogre::Real outside = OutsideBand(distance);
                if (InBand(distance) || (outside > 0 && outside <= m_PrepareDistance))
                    reach[{x, z}] = InBand(distance) ? 0 : outside;
            }
        }
    }

    // Pages out of reach are hidden at once and released later; those that
    // come back before are taken back as they are.
    for (auto page = m_Pages.begin(); page != m_Pages.end();) {
        if (reach.count(page->first)) {
            ++page;
            continue;
        }
        Show(page->second, false);
        m_Releasing.insert(*page);
        page = m_Pages.erase(page);
    }
    // The pages to build ahead, nearest the band first, those begun among them.
    std::vector<std::pair<Ogre::Real, std::pair<int, int>>> toPrepare;
    for (const auto& entry : reach) {
        const auto releasing = m_Releasing.find(entry.first);
        if (releasing != m_Releasing.end()) {
            m_Pages.insert(*releasing);
            m_Releasing.erase(releasing);
        }
        const auto page = m_Pages.find(entry.first);
        const bool inBand = entry.second == 0;
        if (!inBand) {
            if (page == m_Pages.end() || !page->second->m_Loaded)
                toPrepare.push_back({entry.second, entry.first});
            else
                Show(page->second, false);
            continue;
        }
        // A page due now is finished now, whatever the budget: the camera
        // outran the pages built ahead, or came from afar.
        GeometryPage* due = page != m_Pages.end() ? page->second : Start(entry.first, loader);
        if (!due->m_Loaded) {
            while (!Step(due)) {
            }
            if (budget)
                budget->countStep();
        }
        Show(due, true);
    }
    std::sort(toPrepare.begin(), toPrepare.end());
    std::size_t prepared = 0;
    while (prepared < toPrepare.size() && (!budget || budget->hasRoom())) {
        const auto page = m_Pages.find(toPrepare[prepared].second);
        if (Step(page != m_Pages.end() ? page->second : Start(toPrepare[prepared].second, loader)))
            ++prepared;
        if (budget)
            budget->countStep();
    }
    m_ToPrepare = toPrepare.size() - prepared;
    while (!m_Releasing.empty() && (!budget || budget->hasRoom())) {
        Release(m_Releasing.begin(), m_Releasing, loader);
        if (budget)
            budget->countStep();
    }

    for (const auto& page : m_Pages) {
        if (page.second->isVisible())
            page.second->update();
    }
}

GeometryPage* GeometryPageManager::Start(const std::pair<int, int>& key, PageLoader* loader)
{
    PageInfo info = MakeInfo(key.first, key.second);
    GeometryPage* page = m_Factory();
    page->m_XIndex = key.first;
    page->m_ZIndex = key.second;
    page->m_CenterPoint = info.centerPoint;
    page->init(m_Geom, m_Data);
    page->setRegion(info.bounds.left, info.bounds.top, info.bounds.right, info.bounds.bottom);
    loader->m_Page = page;
    try {
        loader->loadPage(info);
    } catch (...) {
        loader->m_Page = nullptr;
        page->removeEntities();
        delete page;
        throw;
    }
    loader->m_Page = nullptr;
    m_Pages[key] = page;
    return page;
}

bool GeometryPageManager::Step(GeometryPage* page)
{
    if (!page->buildStep())
        return false;
    page->m_Loaded = true;
    page->setVisible(false);
    page->m_Visible = false;
    return true;
}

void GeometryPageManager::Show(GeometryPage* page, bool visible)
{
    if (page->m_Visible == visible)
        return;
    page->setVisible(visible);
    page->m_Visible = visible;
}

void GeometryPageManager::Release(TPageMap::iterator page, TPageMap& from, PageLoader* loader)
{
    GeometryPage* geometry = page->second;
    // Built or begun, the page holds what its loader placed.
    geometry->removeEntities();
    if (loader) {
        PageInfo info = MakeInfo(page->first.first, page->first.second);
        loader->unloadPage(info);
    }
    geometry->setVisible(false);
    from.erase(page);
    delete geometry;
}

void GeometryPageManager::unloadAll(PageLoader* loader)
{
    while (!m_Pages.empty())
        Release(m_Pages.begin(), m_Pages, loader);
    while (!m_Releasing.empty())
        Release(m_Releasing.begin(), m_Releasing, loader);
    m_ToPrepare = 0;
}

} // namespace Forests
