#pragma once

#include <functional>
#include <map>
#include <utility>

#include <OGRE/OgreAny.h>
#include <OGRE/OgreVector.h>

#include "scene/ogre/paging/PageInfo.h"

namespace Forests {

class FrameBudget;
class GeometryPage;
class PageLoader;
class PagedGeometry;

// One detail level of a pager: the pages of one type whose centres lie
// between its near and far range of the camera, shown as the camera moves.
// Pages whose centres lie within the prepare distance outside that band are
// built ahead, hidden, so that they are ready when the camera comes nearer,
// and kept a while after they leave it.
class GeometryPageManager
{
public:
    // The loaded pages by grid index (x, then z): a stable order.
    typedef std::map<std::pair<int, int>, GeometryPage*> TPageMap;
    typedef std::function<GeometryPage*()> TPageFactory;

    GeometryPageManager(PagedGeometry* geom, TPageFactory factory, const Ogre::Any& data);
    ~GeometryPageManager();
    GeometryPageManager(const GeometryPageManager&) = delete;
    GeometryPageManager& operator=(const GeometryPageManager&) = delete;

    void setNearRange(Ogre::Real range) { m_NearRange = range; }
    void setFarRange(Ogre::Real range) { m_FarRange = range; }
    void setTransition(Ogre::Real length) { m_Transition = length; }
    void setPrepareDistance(Ogre::Real distance) { m_PrepareDistance = distance; }
    Ogre::Real getNearRange() const { return m_NearRange; }
    Ogre::Real getFarRange() const { return m_FarRange; }
    Ogre::Real getTransition() const { return m_Transition; }

    // The built pages, shown or prepared.
    const TPageMap& getLoadedPages() const { return m_Pages; }
    // Pages near the band still to be built, and hidden pages still to be released.
    std::size_t getPendingCount() const { return m_ToPrepare + m_Releasing.size(); }

    // Shows the pages in the band, building at once any not built yet, and
    // hides the others. Then, while the budget has room, builds the pages
    // near the band nearest first and releases those that left it; without
    // a budget all of them.
    void update(const Ogre::Vector3& camera, PageLoader* loader, FrameBudget* budget = nullptr);
    void unloadAll(PageLoader* loader);

private:
    // Whether a page centre at that horizontal distance belongs to this level.
    bool InBand(Ogre::Real distance) const;
    // How far outside the band a page centre at that distance is: 0 inside.
    Ogre::Real OutsideBand(Ogre::Real distance) const;
    PageInfo MakeInfo(int x, int z) const;
    // A new page of the key with the loader's entities on it, not built yet.
    GeometryPage* Start(const std::pair<int, int>& key, PageLoader* loader);
    // One step of the page's build; true, and the page loaded and hidden, once built.
    bool Step(GeometryPage* page);
    void Show(GeometryPage* page, bool visible);
    void Release(TPageMap::iterator page, TPageMap& from, PageLoader* loader);

    PagedGeometry* m_Geom;
    TPageFactory m_Factory;
    Ogre::Any m_Data;
    Ogre::Real m_NearRange = 0;
    Ogre::Real m_FarRange = 0;
    Ogre::Real m_Transition = 0;
    Ogre::Real m_PrepareDistance = 0;
    TPageMap m_Pages;
    // Hidden, out of reach: released as the budget allows, or taken back.
    TPageMap m_Releasing;
    std::size_t m_ToPrepare = 0;
};

} // namespace Forests
