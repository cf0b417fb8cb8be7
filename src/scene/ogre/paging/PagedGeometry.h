#pragma once

#include <list>
#include <map>
#include <memory>
#include <typeindex>

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreSceneManager.h>

#include "scene/ogre/paging/GeometryPageManager.h"
#include "scene/ogre/paging/TBounds.h"

namespace Forests {

class FrameBudget;
class PageLoader;

// Pages geometry around a camera. The bounds are cut into square pages of
// the page size (page x = floor((x - left) / size), page z likewise from the
// top); each detail level takes the pages whose centres lie in its distance
// band, the first from the camera out to its range and each next one from the
// range before to its own; the page loader fills the pages each level loads.
class PagedGeometry
{
public:
    // The pages hang under a scene node of the camera's scene manager.
    explicit PagedGeometry(Ogre::Camera* cam = nullptr, Ogre::Real pageSize = 100);
    ~PagedGeometry();
    PagedGeometry(const PagedGeometry&) = delete;
    PagedGeometry& operator=(const PagedGeometry&) = delete;

    Ogre::Camera* getCamera() const { return m_Camera; }
    Ogre::SceneManager* getSceneManager() const { return m_SceneMgr; }
    Ogre::SceneNode* getSceneNode() const { return m_RootNode; }
    Ogre::Real getPageSize() const { return m_PageSize; }

    // Any rectangle of positive width and height; set before the first level.
    void setBounds(const TBounds& bounds);
    const TBounds& getBounds() const { return m_Bounds; }
    int getPageCountX() const { return m_PageCountX; }
    int getPageCountZ() const { return m_PageCountZ; }

    // The loader is not owned; it must outlive the pager's pages.
    void setPageLoader(PageLoader* loader) { m_PageLoader = loader; }
    PageLoader* getPageLoader() const { return m_PageLoader; }

    // A level of PageType pages out to maxRange, beyond the levels added before.
    template <class PageType>
    GeometryPageManager* addDetailLevel(Ogre::Real maxRange, Ogre::Real transitionLength = 0,
                                        const Ogre::Any& data = Ogre::Any())
    {
        return AddLevel([] { return new PageType(); }, maxRange, transitionLength, data);
    }
    void removeDetailLevels();
    const std::list<GeometryPageManager*>& getDetailLevels() const { return m_Levels; }
    // The levels' pages still to be built ahead or released.
    std::size_t getPendingCount() const;

    // How far outside each level's band its pages are built ahead of time, and kept.
    void setPrepareDistance(Ogre::Real distance);

    // Shows the pages for where the camera is now. Building the pages near
    // the levels' bands and releasing those that left them takes what the
    // budget allows, or everything without one.
    void update(FrameBudget* budget = nullptr);

    // One object of type T shared by the pages of this pager (impostor
    // pictures, for one): the one given to setShared, else one made from the
    // scene manager on first use. The pager lets go of it after its pages.
    template <class T>
    std::shared_ptr<T> getShared()
    {
        std::shared_ptr<void>& shared = m_Shared[std::type_index(typeid(T))];
        if (!shared)
            shared = std::make_shared<T>(m_SceneMgr);
        return std::static_pointer_cast<T>(shared);
    }
    // Has this pager's pages use `shared`, which other pagers may use too.
    template <class T>
    void setShared(std::shared_ptr<T> shared)
    {
        m_Shared[std::type_index(typeid(T))] = std::move(shared);
    }

private:
    GeometryPageManager* AddLevel(GeometryPageManager::TPageFactory factory, Ogre::Real maxRange,
                                  Ogre::Real transitionLength, const Ogre::Any& data);

    Ogre::Camera* m_Camera;
    Ogre::SceneManager* m_SceneMgr;
    Ogre::SceneNode* m_RootNode = nullptr;
    Ogre::Real m_PageSize;
    Ogre::Real m_PrepareDistance = 0;
    TBounds m_Bounds;
    int m_PageCountX = 0;
    int m_PageCountZ = 0;
    PageLoader* m_PageLoader = nullptr;
    std::list<GeometryPageManager*> m_Levels;
    std::map<std::type_index, std::shared_ptr<void>> m_Shared;
};

} // namespace Forests
