#pragma once

#include <memory>
#include <vector>

#include "physics/sdk/CookedFormat.h"
#include "physics/sdk/ITriangleMesh.h"

class btBvhTriangleMeshShape;
class btTriangleIndexVertexArray;

namespace physics::sdk {

// A triangle mesh with its bounding-volume tree, shared by every shape that uses it.
class CBulletTriangleMesh final : public ITriangleMesh
{
public:
    explicit CBulletTriangleMesh(const CCookedMesh& mesh);
    ~CBulletTriangleMesh();

    std::uint32_t GetVertexCount() const override;
    std::uint32_t GetTriangleCount() const override;
    btBvhTriangleMeshShape& GetShape() const { return *m_Shape; }

private:
    std::vector<float> m_Points;
    std::vector<int> m_Indices;
    std::unique_ptr<btTriangleIndexVertexArray> m_Array;
    std::unique_ptr<btBvhTriangleMeshShape> m_Shape;
};

} // namespace physics::sdk
