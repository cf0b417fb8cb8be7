#include "physics/sdk/bullet/BulletConvexMesh.h"

#include <cmath>

#include <BulletCollision/CollisionShapes/btConvexHullShape.h>
#include <LinearMath/btConvexHullComputer.h>

#include "core/BoundingBox.h"
#include "physics/sdk/bullet/BulletMath.h"

namespace physics::sdk {

namespace {

// The engine keeps this gap around a hull; the hull is shrunk by it first, so
// that the gap brings the surface back where the points put it.
const btScalar MARGIN = 0.04f;
// A small hull is shrunk by at most this part of its inner radius.
const btScalar MARGIN_CLAMP = 0.25f;

struct CMassFrame
{
    btScalar m_Volume = 0;
    btVector3 m_Centroid = btVector3(0, 0, 0);
};

// Volume and centroid of a hull, summed over the tetrahedra that fan out from
// a point inside it to every face.
CMassFrame MassOf(const btConvexHullComputer& hull)
{
    CMassFrame frame;
    if (hull.vertices.size() < 4)
        return frame;
    btVector3 inside(0, 0, 0);
    for (int i = 0; i < hull.vertices.size(); ++i)
        inside += hull.vertices[i];
    inside /= btScalar(hull.vertices.size());
    btVector3 moment(0, 0, 0);
    for (int f = 0; f < hull.faces.size(); ++f)
    {
        const btConvexHullComputer::Edge* first = &hull.edges[hull.faces[f]];
        const btVector3& a = hull.vertices[first->getSourceVertex()];
        for (const btConvexHullComputer::Edge* edge = first->getNextEdgeOfFace();
             edge->getTargetVertex() != first->getSourceVertex(); edge = edge->getNextEdgeOfFace())
        {
            const btVector3& b = hull.vertices[edge->getSourceVertex()];
            const btVector3& c = hull.vertices[edge->getTargetVertex()];
            const btScalar volume = std::fabs((a - inside).dot((b - inside).cross(c - inside))) / 6;
            frame.m_Volume += volume;
            moment += volume * (inside + a + b + c) / 4;
        }
    }
    if (frame.m_Volume > 0)
        frame.m_Centroid = moment / frame.m_Volume;
    return frame;
}

} // namespace

CBulletConvexMesh::CBulletConvexMesh(const CCookedMesh& mesh) : m_VertexCount(std::uint32_t(mesh.m_Points.size()))
{
    const auto* coords = reinterpret_cast<const float*>(mesh.m_Points.data());
    const int stride = int(sizeof(sds::CVector));
    const int count = int(mesh.m_Points.size());
    btConvexHullComputer hull;
    hull.compute(coords, stride, count, 0, 0);
    const CMassFrame frame = MassOf(hull);
    if (frame.m_Volume > 0)
    {
        m_Centre = FromBt(frame.m_Centroid);
        m_Volume = float(frame.m_Volume);
    }
    else
    {
        // A flat hull weighs nothing of its own; it sits on the middle of its points.
        sds::CBoundingBox bounds;
        for (const sds::CVector& p : mesh.m_Points)
            bounds.Merge(p);
        m_Centre = bounds.GetCenter();
    }

    m_Shape = std::make_unique<btConvexHullShape>();
    btConvexHullComputer shrunk;
    const btScalar shrink = frame.m_Volume > 0 ? shrunk.compute(coords, stride, count, MARGIN, MARGIN_CLAMP) : -1;
    if (shrink >= 0 && shrunk.vertices.size() >= 4)
    {
        for (int i = 0; i < shrunk.vertices.size(); ++i)
            m_Shape->addPoint(shrunk.vertices[i] - frame.m_Centroid, false);
        m_Shape->setMargin(shrink);
    }
    else
    {
        for (const sds::CVector& p : mesh.m_Points)
            m_Shape->addPoint(ToBt(p - m_Centre), false);
    }
    m_Shape->recalcLocalAabb();
}

CBulletConvexMesh::~CBulletConvexMesh() = default;

} // namespace physics::sdk
