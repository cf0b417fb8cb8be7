#include "scene/ogre/paging/BatchPage.h"

#include <map>

#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubEntity.h>

#include "core/Helpers.h"
#include "scene/ogre/paging/MeshGeometryCache.h"
#include "scene/ogre/paging/PagedGeometry.h"

namespace Forests {

namespace {

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
    while (!buildStep()) {
    }
}

void BatchPage::Gather()
{
    std::map<std::string, CMaterialBatch> batches;
    for (const CInstance& instance : m_Instances) {
        const wrappers::CMeshGeometry& mesh = m_Meshes->get(*instance.m_Entity->getMesh());
        for (std::size_t s = 0; s < mesh.m_SubMeshes.size(); ++s) {
            const wrappers::CMeshGeometry::CSubMesh& sub = mesh.m_SubMeshes[s];
            const wrappers::CMeshGeometry::CVertices& source = mesh.m_Sources[sub.m_Source];
            const Ogre::MaterialPtr& material = instance.m_Entity->getSubEntity(s)->getMaterial();
            CMaterialBatch& batch = batches[material->getName()];
            batch.m_Material = material;
            batch.m_Parts.push_back({&instance, &source, &sub.m_Indices});
            batch.m_VertexCount += source.m_Positions.size();
            batch.m_IndexCount += sub.m_Indices.size();
        }
    }
    for (auto& entry : batches) {
        if (entry.second.m_IndexCount > 0)
            m_Batches.push_back(std::move(entry.second));
    }
}

void BatchPage::WritePart(const CMaterialBatch::CPart& part)
{
    const CInstance& instance = *part.m_Instance;
    const wrappers::CMeshGeometry::CVertices& source = *part.m_Source;
    for (std::size_t v = 0; v < source.m_Positions.size(); ++v) {
        m_Batch->position(instance.m_Position + instance.m_Rotation * (source.m_Positions[v] * instance.m_Scale));
        m_Batch->normal(v < source.m_Normals.size()
                            ? (instance.m_Rotation * (source.m_Normals[v] / instance.m_Scale)).normalisedCopy()
                            : Ogre::Vector3::UNIT_Y);
        m_Batch->textureCoord(v < source.m_TexCoords.size() ? source.m_TexCoords[v] : Ogre::Vector2::ZERO);
    }
    for (std::uint32_t index : *part.m_Indices)
        m_Batch->index(m_FirstVertex + index);
    m_FirstVertex += static_cast<std::uint32_t>(source.m_Positions.size());
}

bool BatchPage::buildStep()
{
    if (m_Built || m_Instances.empty())
        return true;
    if (!m_Batch) {
        Gather();
        m_Batch = m_SceneMgr->createManualObject(sds::MakeUniqueName("BatchPage"));
        m_Batch->setQueryFlags(0);
        m_Batch->setCastShadows(false);
    }
    std::size_t written = 0;
    for (; m_NextBatch < m_Batches.size(); ++m_NextBatch) {
        const CMaterialBatch& batch = m_Batches[m_NextBatch];
        if (m_NextPart == 0) {
            // A section is begun only with room for a part of it, so that
            // one left for the next step has parts written.
            if (written >= kVerticesPerStep)
                return false;
            m_Batch->estimateVertexCount(batch.m_VertexCount);
            m_Batch->estimateIndexCount(batch.m_IndexCount);
            m_Batch->begin(batch.m_Material->getName(), Ogre::RenderOperation::OT_TRIANGLE_LIST,
                           batch.m_Material->getGroup());
            m_FirstVertex = 0;
        }
        for (; m_NextPart < batch.m_Parts.size(); ++m_NextPart) {
            if (written >= kVerticesPerStep)
                return false;
            WritePart(batch.m_Parts[m_NextPart]);
            written += batch.m_Parts[m_NextPart].m_Source->m_Positions.size();
        }
        m_Batch->end();
        m_NextPart = 0;
    }
    CTempAreas::Release(*m_Batch);
    m_Node->attachObject(m_Batch);
    m_Batches.clear();
    m_Built = true;
    return true;
}

void BatchPage::removeEntities()
{
    if (m_Batch) {
        // A section begun and not ended yet is ended first.
        if (!m_Built && m_NextBatch < m_Batches.size() && m_NextPart > 0)
            m_Batch->end();
        m_SceneMgr->destroyManualObject(m_Batch);
        m_Batch = nullptr;
    }
    m_Batches.clear();
    m_NextBatch = 0;
    m_NextPart = 0;
    m_Built = false;
    m_Instances.clear();
    clearBoundingBox();
}

void BatchPage::setVisible(bool visible)
{
    if (m_Node)
        m_Node->setVisible(visible);
}

} // namespace Forests
