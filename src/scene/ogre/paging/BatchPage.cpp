#include "scene/ogre/paging/BatchPage.h"

#include <map>

#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubEntity.h>

#include "core/Helpers.h"
#include "scene/ogre/paging/MeshGeometryCache.h"
#include "scene/ogre/paging/PagedGeometry.h"

namespace Forests {

namespace {

// The triangles of one material, gathered from every instance.
struct CMaterialBatch
{
    Ogre::MaterialPtr m_Material;
    std::vector<Ogre::Vector3> m_Positions;
    std::vector<Ogre::Vector3> m_Normals;
    std::vector<Ogre::Vector2> m_TexCoords;
    std::vector<std::uint32_t> m_Indices;
};

} // namespace

BatchPage::~BatchPage()
{
    removeEntities();
    if (m_Node)
        m_SceneMgr->destroySceneNode(m_Node);
}

void BatchPage::init(PagedGeometry* geom, const Ogre::Any&)
{
    m_SceneMgr = geom->getSceneManager();
    m_Node = geom->getSceneNode()->createChildSceneNode();
    m_Meshes = geom->getShared<MeshGeometryCache>();
}

void BatchPage::addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                          const Ogre::Vector3& scale, const Ogre::ColourValue&)
{
    m_Instances.push_back({entity, position, rotation, scale});
}

void BatchPage::build()
{
    if (m_Instances.empty())
        return;
    std::map<std::string, CMaterialBatch> batches;
    for (const CInstance& instance : m_Instances) {
        const wrappers::CMeshGeometry& mesh = m_Meshes->get(*instance.m_Entity->getMesh());
        for (std::size_t s = 0; s < mesh.m_SubMeshes.size(); ++s) {
            const wrappers::CMeshGeometry::CSubMesh& sub = mesh.m_SubMeshes[s];
            const wrappers::CMeshGeometry::CVertices& source = mesh.m_Sources[sub.m_Source];
            const Ogre::MaterialPtr& material = instance.m_Entity->getSubEntity(s)->getMaterial();
            CMaterialBatch& batch = batches[material->getName()];
            batch.m_Material = material;
            const auto first = static_cast<std::uint32_t>(batch.m_Positions.size());
            for (std::size_t v = 0; v < source.m_Positions.size(); ++v) {
                batch.m_Positions.push_back(instance.m_Position +
                                            instance.m_Rotation * (source.m_Positions[v] * instance.m_Scale));
                batch.m_Normals.push_back(v < source.m_Normals.size()
                                              ? (instance.m_Rotation * (source.m_Normals[v] / instance.m_Scale)).normalisedCopy()
                                              : Ogre::Vector3::UNIT_Y);
                batch.m_TexCoords.push_back(v < source.m_TexCoords.size() ? source.m_TexCoords[v] : Ogre::Vector2::ZERO);
            }
            for (std::uint32_t index : sub.m_Indices)
                batch.m_Indices.push_back(first + index);
        }
    }
    m_Batch = m_SceneMgr->createManualObject(sds::MakeUniqueName("BatchPage"));
    m_Batch->setQueryFlags(0);
    m_Batch->setCastShadows(false);
    for (const auto& entry : batches) {
        const CMaterialBatch& batch = entry.second;
        if (batch.m_Indices.empty())
            continue;
        m_Batch->estimateVertexCount(batch.m_Positions.size());
        m_Batch->estimateIndexCount(batch.m_Indices.size());
        m_Batch->begin(batch.m_Material->getName(), Ogre::RenderOperation::OT_TRIANGLE_LIST,
                       batch.m_Material->getGroup());
        for (std::size_t v = 0; v < batch.m_Positions.size(); ++v) {
            m_Batch->position(batch.m_Positions[v]);
            m_Batch->normal(batch.m_Normals[v]);
            m_Batch->textureCoord(batch.m_TexCoords[v]);
        }
        for (std::uint32_t index : batch.m_Indices)
            m_Batch->index(index);
        m_Batch->end();
    }
    m_Node->attachObject(m_Batch);
}

void BatchPage::removeEntities()
{
    if (m_Batch) {
        m_SceneMgr->destroyManualObject(m_Batch);
        m_Batch = nullptr;
    }
    m_Instances.clear();
    clearBoundingBox();
}

void BatchPage::setVisible(bool visible)
{
    if (m_Node)
        m_Node->setVisible(visible);
}

} // namespace Forests
