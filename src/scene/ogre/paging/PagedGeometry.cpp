#include "scene/ogre/paging/PagedGeometry.h"

#include <cmath>

#include <OGRE/OgreException.h>
#include <OGRE/OgreSceneNode.h>

#include "scene/ogre/paging/PageLoader.h"

namespace Forests {

namespace {

// More pages than this come only from nonsense bounds or page sizes, and
// would take the pager's loops for ever.
const double kMostPages = 1000000.0;

} // namespace

PagedGeometry::PagedGeometry(Ogre::Camera* cam, Ogre::Real pageSize)
    : m_Camera(cam), m_SceneMgr(cam ? cam->getSceneManager() : nullptr), m_PageSize(pageSize)
{
    if (!(pageSize > 0) || !std::isfinite(pageSize))
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "The page size must be a positive number",
                    "PagedGeometry::PagedGeometry");
    if (m_SceneMgr)
        m_RootNode = m_SceneMgr->getRootSceneNode()->createChildSceneNode();
}

PagedGeometry::~PagedGeometry()
{
    removeDetailLevels();
    m_Shared.clear();
    if (m_RootNode)
        m_SceneMgr->destroySceneNode(m_RootNode);
}

void PagedGeometry::setBounds(const TBounds& bounds)
{
    if (!(bounds.width() > 0) || !(bounds.height() > 0) || !std::isfinite(bounds.width()) ||
        !std::isfinite(bounds.height()))
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "Bounds must have a positive width and height",
                    "PagedGeometry::setBounds");
    const double countX = std::ceil(static_cast<double>(bounds.width()) / m_PageSize);
    const double countZ = std::ceil(static_cast<double>(bounds.height()) / m_PageSize);
    if (countX * countZ > kMostPages)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "Bounds hold too many pages of this size",
                    "PagedGeometry::setBounds");
    m_Bounds = bounds;
    m_PageCountX = static_cast<int>(countX);
    m_PageCountZ = static_cast<int>(countZ);
}

void PagedGeometry::setPrepareDistance(Ogre::Real distance)
{
    m_PrepareDistance = distance;
    for (GeometryPageManager* level : m_Levels)
        level->setPrepareDistance(distance);
}

GeometryPageManager* PagedGeometry::AddLevel(GeometryPageManager::TPageFactory factory, Ogre::Real maxRange,
                                             Ogre::Real transitionLength, const Ogre::Any& data)
{
    auto* level = new GeometryPageManager(this, std::move(factory), data);
    level->setNearRange(m_Levels.empty() ? 0 : m_Levels.back()->getFarRange());
    level->setFarRange(maxRange);
    level->setTransition(transitionLength);
    level->setPrepareDistance(m_PrepareDistance);
    m_Levels.push_back(level);
    return level;
}

void PagedGeometry::removeDetailLevels()
{
    for (GeometryPageManager* level : m_Levels) {
        level->unloadAll(m_PageLoader);
        delete level;
    }
    m_Levels.clear();
}

std::size_t PagedGeometry::getPendingCount() const
{
    std::size_t pending = 0;
    for (const GeometryPageManager* level : m_Levels)
        pending += level->getPendingCount();
    return pending;
}

void PagedGeometry::update(FrameBudget* budget)
{
    if (!m_Camera || !m_PageLoader || m_PageCountX == 0)
        return;
    const Ogre::Vector3 camera = m_Camera->getDerivedPosition();
    if (camera.isNaN())
        return;
    for (GeometryPageManager* level : m_Levels)
        level->update(camera, m_PageLoader, budget);
    m_PageLoader->frameUpdate();
}

} // namespace Forests
