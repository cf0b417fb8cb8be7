#include "scene/ogre/paging/BatchPage.h"

#include <map>

#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubEntity.h>

#include "core/Helpers.h"
#include "scene/ogre/paging/MeshGeometryCache.h"
#include "scene/ogre/paging/PagedGeometry.h"

namespace Forests {

namespace {

// The parts of one material, each an instance's submesh: gathered first, so
// that the vertices go straight into the page's object without a merged copy
// of the page beside it, whose growing buffers would leave the heap in holes
// each time the camera pages trees in.
struct CMaterialBatch
{
    struct CPart
    {
        const Ogre::Vector3* m_Position;
        const Ogre::Quaternion* m_Rotation;
        const Ogre::Vector3* m_Scale;
        const wrappers::CMeshGeometry::CVertices* m_Source;
        const std::vector<std::uint32_t>* m_Indices;
    };
    Ogre::MaterialPtr m_Material;
    std::vector<CPart> m_Parts;
    std::size_t m_VertexCount = 0;
    std::size_t m_IndexCount = 0;
};

// A manual object keeps its gathering buffers, as large as its largest part,
// until it goes; a page gathers once, so they go as soon as it is built.
struct CTempAreas : Ogre::ManualObject
{
    static void Release(Ogre::ManualObject& object) { (object.*&CTempAreas::resetTempAreas)(); }
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
            batch.m_Parts.push_back(
                {&instance.m_Position, &instance.m_Rotation, &instance.m_Scale, &source, &sub.m_Indices});
            batch.m_VertexCount += source.m_Positions.size();
            batch.m_IndexCount += sub.m_Indices.size();
        }
    }
    m_Batch = m_SceneMgr->createManualObject(sds::MakeUniqueName("BatchPage"));
    m_Batch->setQueryFlags(0);
    m_Batch->setCastShadows(false);
    for (const auto& entry : batches) {
        const CMaterialBatch& batch = entry.second;
        if (batch.m_IndexCount == 0)
            continue;
        m_Batch->estimateVertexCount(batch.m_VertexCount);
        m_Batch->estimateIndexCount(batch.m_IndexCount);
        m_Batch->begin(batch.m_Material->getName(), Ogre::RenderOperation::OT_TRIANGLE_LIST,
                       batch.m_Material->getGroup());
        for (const CMaterialBatch::CPart& part : batch.m_Parts) {
            const wrappers::CMeshGeometry::CVertices& source = *part.m_Source;
            for (std::size_t v = 0; v < source.m_Positions.size(); ++v) {
                m_Batch->position(*part.m_Position + *part.m_Rotation * (source.m_Positions[v] * *part.m_Scale));
                m_Batch->normal(v < source.m_Normals.size()
                                    ? (*part.m_Rotation * (source.m_Normals[v] / *part.m_Scale)).normalisedCopy()
                                    : Ogre::Vector3::UNIT_Y);
                m_Batch->textureCoord(v < source.m_TexCoords.size() ? source.m_TexCoords[v] : Ogre::Vector2::ZERO);
            }
        }
        std::uint32_t first = 0;
        for (const CMaterialBatch::CPart& part : batch.m_Parts) {
            for (std::uint32_t index : *part.m_Indices)
                m_Batch->index(first + index);
            first += static_cast<std::uint32_t>(part.m_Source->m_Positions.size());
        }
        m_Batch->end();
    }
    CTempAreas::Release(*m_Batch);
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
