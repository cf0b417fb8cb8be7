#include "scene/ogre/paging/ImpostorPage.h"

#include <OGRE/OgreBillboard.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSceneNode.h>

#include "core/Helpers.h"
#include "scene/ogre/paging/ImpostorTextures.h"
#include "scene/ogre/paging/PagedGeometry.h"

namespace Forests {

ImpostorPage::~ImpostorPage()
{
    removeEntities();
    if (m_Node)
        m_SceneMgr->destroySceneNode(m_Node);
}

void ImpostorPage::init(PagedGeometry* geom, const Ogre::Any&)
{
    m_SceneMgr = geom->getSceneManager();
    m_Camera = geom->getCamera();
    m_Node = geom->getSceneNode()->createChildSceneNode();
    m_Textures = geom->getShared<ImpostorTextures>();
}

void ImpostorPage::addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                             const Ogre::Vector3& scale, const Ogre::ColourValue&)
{
    CGroup& group = m_Groups[entity->getMesh()->getName()];
    group.m_Entity = entity;
    group.m_Instances.push_back({position, rotation.getYaw().valueRadians(), scale.y});
}

void ImpostorPage::build()
{
    std::vector<Ogre::FloatRect> frames;
    for (int i = 0; i < ImpostorTextures::kAngles; ++i)
        frames.emplace_back(static_cast<float>(i) / ImpostorTextures::kAngles, 0.0f,
                            static_cast<float>(i + 1) / ImpostorTextures::kAngles, 1.0f);
    for (auto& entry : m_Groups) {
        CGroup& group = entry.second;
        const ImpostorTextures::Impostor& impostor = m_Textures->get(group.m_Entity);
        group.m_Set = m_SceneMgr->createBillboardSet(sds::MakeUniqueName("ImpostorPage"),
                                                     static_cast<unsigned>(group.m_Instances.size()));
        group.m_Set->setQueryFlags(0);
        group.m_Set->setCastShadows(false);
        // Drawn after the ground: where a picture's lower edge meets the
        // terrain at the same depth, the order of the two decides the pixel,
        // and within one queue group that order follows memory addresses.
        group.m_Set->setRenderQueueGroup(Ogre::RENDER_QUEUE_MAIN + 1);
        group.m_Set->setMaterialName(impostor.m_Material, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
        group.m_Set->setBillboardType(Ogre::BBT_ORIENTED_COMMON);
        group.m_Set->setCommonDirection(Ogre::Vector3::UNIT_Y);
        group.m_Set->setBillboardOrigin(Ogre::BBO_CENTER);
        group.m_Set->setTextureCoords(frames);
        for (const CInstance& instance : group.m_Instances) {
            const Ogre::Vector3 centre =
                instance.m_Position +
                Ogre::Quaternion(Ogre::Radian(instance.m_Yaw), Ogre::Vector3::UNIT_Y) * (impostor.m_Centre * instance.m_Scale);
            Ogre::Billboard* billboard = group.m_Set->createBillboard(centre);
            billboard->setDimensions(impostor.m_Size * instance.m_Scale, impostor.m_Size * instance.m_Scale);
            group.m_Billboards.push_back(billboard);
        }
        m_Node->attachObject(group.m_Set);
    }
    update();
}

void ImpostorPage::update()
{
    if (!m_Camera)
        return;
    const Ogre::Vector3 eye = m_Camera->getDerivedPosition();
    for (auto& entry : m_Groups) {
        CGroup& group = entry.second;
        for (std::size_t i = 0; i < group.m_Billboards.size(); ++i) {
            Ogre::Billboard* billboard = group.m_Billboards[i];
            billboard->setTexcoordIndex(static_cast<Ogre::uint16>(
                ImpostorTextures::frameFor(group.m_Instances[i].m_Yaw, eye - billboard->getPosition())));
        }
    }
}

void ImpostorPage::removeEntities()
{
    for (auto& entry : m_Groups) {
        if (entry.second.m_Set)
            m_SceneMgr->destroyBillboardSet(entry.second.m_Set);
    }
    m_Groups.clear();
    clearBoundingBox();
}

void ImpostorPage::setVisible(bool visible)
{
    if (m_Node)
        m_Node->setVisible(visible);
}

} // namespace Forests
