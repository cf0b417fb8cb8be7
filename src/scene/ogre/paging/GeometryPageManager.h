#pragma once

#include <functional>
#include <map>
#include <utility>

#include <OGRE/OgreAny.h>
#include <OGRE/OgreVector.h>

#include "scene/ogre/paging/PageInfo.h"

namespace Forests {

class GeometryPage;
class PageLoader;
class PagedGeometry;

// One detail level of a pager: the pages of one type whose centres lie
// between its near and far range of the camera, loaded and unloaded as the
// camera moves.
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
    Ogre::Real getNearRange() const { return m_NearRange; }
    Ogre::Real getFarRange() const { return m_FarRange; }
    Ogre::Real getTransition() const { return m_Transition; }

    const TPageMap& getLoadedPages() const { return m_Pages; }

    // Loads the pages that entered the band around the camera and unloads
    // those that left it.
    void update(const Ogre::Vector3& camera, PageLoader* loader);
    void unloadAll(PageLoader* loader);

private:
    // Whether a page centre at that horizontal distance belongs to this level.
    bool InBand(Ogre::Real distance) const;
    PageInfo MakeInfo(int x, int z) const;
    void Load(int x, int z, PageLoader* loader);
    void Unload(TPageMap::iterator page, PageLoader* loader);

    PagedGeometry* m_Geom;
    TPageFactory m_Factory;
    Ogre::Any m_Data;
    Ogre::Real m_NearRange = 0;
    Ogre::Real m_FarRange = 0;
    Ogre::Real m_Transition = 0;
    TPageMap m_Pages;
};

} // namespace Forests
