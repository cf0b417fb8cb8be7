#include "scene/ogre/StaticGeometryPage.h"

#include "core/Helpers.h"
#include "scene/ogre/paging/PagedGeometry.h"

namespace wrappers {

CStaticGeometryPage::~CStaticGeometryPage()
{
    if (m_Geometry)
        m_SceneMgr->destroyStaticGeometry(m_Geometry);
}

Ogre::StaticGeometry* CStaticGeometryPage::MakeGeometry()
{
    return m_SceneMgr->createStaticGeometry(sds::MakeUniqueName("StaticGeometryPage"));
}

void CStaticGeometryPage::init(Forests::PagedGeometry* geom, const Ogre::Any&)
{
    m_SceneMgr = geom->getSceneManager();
    m_Geometry = MakeGeometry();
}

void CStaticGeometryPage::addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                                    const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                                    const Ogre::ColourValue&)
{
    m_Geometry->addEntity(entity, position, rotation, scale);
}

void CStaticGeometryPage::build()
{
    m_Geometry->build();
    m_BoundingBox.setNull();
    for (const auto& region : m_Geometry->getRegions()) {
        region.second->setQueryFlags(0);
        m_BoundingBox.merge(region.second->getWorldBoundingBox(true));
    }
}

void CStaticGeometryPage::removeEntities()
{
    m_SceneMgr->destroyStaticGeometry(m_Geometry);
    m_Geometry = MakeGeometry();
    m_BoundingBox.setNull();
}

void CStaticGeometryPage::setVisible(bool visible)
{
    m_Geometry->setVisible(visible);
}

} // namespace wrappers
