#pragma once

#include <memory>

#include "physics/sdk/CookedFormat.h"
#include "physics/sdk/IConvexMesh.h"

class btConvexHullShape;

namespace physics::sdk {

// A convex hull centred on its centroid, the centre of mass of a hull of one
// density, with the hull's own volume. The engine's gap around a hull is taken
// from inside it, so that a small hull is not made larger.
class CBulletConvexMesh final : public IConvexMesh
{
public:
    explicit CBulletConvexMesh(const CCookedMesh& mesh);
    ~CBulletConvexMesh();

    std::uint32_t GetVertexCount() const override { return m_VertexCount; }
    btConvexHullShape& GetShape() const { return *m_Shape; }
    // Where the hull's origin lies in the points' own frame.
    const sds::CVector& GetCentre() const { return m_Centre; }
    float GetVolume() const { return m_Volume; }

private:
    std::uint32_t m_VertexCount = 0;
    sds::CVector m_Centre;
    float m_Volume = 0.0f;
    std::unique_ptr<btConvexHullShape> m_Shape;
};

} // namespace physics::sdk
