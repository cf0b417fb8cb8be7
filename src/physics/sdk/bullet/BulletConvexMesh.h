#pragma once

#include <memory>

#include "physics/sdk/CookedFormat.h"
#include "physics/sdk/IConvexMesh.h"

class btConvexHullShape;

namespace physics::sdk {

// A convex hull centred on the middle of its bounds, which stands for its centre
// of mass; its volume is that of the bounds, as the engine's inertia of a hull is.
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
