#pragma once

#include <memory>
#include <vector>

#include <OGRE/OgreManualObject.h>
#include <OGRE/OgreSceneManager.h>

#include "graphics/ogre/MeshGeometry.h"
#include "scene/ogre/paging/GeometryPage.h"

namespace Forests {

class MeshGeometryCache;

// A page drawn as one merged buffer per material: every entity's triangles,
// moved into place, in a single object. Built in steps of a bounded number of
// vertices.
class BatchPage : public GeometryPage
{
public:
    ~BatchPage() override;

    void init(PagedGeometry* geom, const Ogre::Any& data) override;
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                   const Ogre::Vector3& scale, const Ogre::ColourValue& color) override;
    void build() override;
    bool buildStep() override;
    void removeEntities() override;

    // At most this many vertices are written in one step (one instance's
    // part more, when a part is larger).
    static constexpr std::size_t kVerticesPerStep = 10000;
    void setVisible(bool visible) override;

private:
    struct CInstance
    {
        Ogre::Entity* m_Entity;
        Ogre::Vector3 m_Position;
        Ogre::Quaternion m_Rotation;
        Ogre::Vector3 m_Scale;
    };

    // The parts of one material, each an instance's submesh: gathered first,
    // so that the vertices go straight into the page's object without a
    // merged copy of the page beside it, whose growing buffers would leave
    // the heap in holes each time the camera pages trees in.
    struct CMaterialBatch
    {
        struct CPart
        {
            const CInstance* m_Instance;
            const wrappers::CMeshGeometry::CVertices* m_Source;
            const std::vector<std::uint32_t>* m_Indices;
        };
        Ogre::MaterialPtr m_Material;
        std::vector<CPart> m_Parts;
        std::size_t m_VertexCount = 0;
        std::size_t m_IndexCount = 0;
    };

    void Gather();
    // Writes a part's vertices and its indices past the vertices written before it.
    void WritePart(const CMaterialBatch::CPart& part);

    Ogre::SceneManager* m_SceneMgr = nullptr;
    Ogre::SceneNode* m_Node = nullptr;
    Ogre::ManualObject* m_Batch = nullptr;
    std::shared_ptr<MeshGeometryCache> m_Meshes;
    std::vector<CInstance> m_Instances;
    // The build in progress: the batches by material name, the batch and
    // part to write next, and the vertices of the batch written so far.
    std::vector<CMaterialBatch> m_Batches;
    std::size_t m_NextBatch = 0;
    std::size_t m_NextPart = 0;
    std::uint32_t m_FirstVertex = 0;
    bool m_Built = false;
};

} // namespace Forests
