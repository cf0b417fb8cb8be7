#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BoundingBox.h"
#include "core/Vector.h"

namespace sds {

// The generated mesh of a rope: a thin square tube hanging from its origin
// along −y in equal segments, skinned to a chain of bones that the rope logic
// poses by hand. Bone 0 ("RootBone") is the root; bone 1 sits at the top ring,
// bone k (2 … n) at ring k − 1, and bone n + 1, which no vertex follows, one
// segment down.
struct CRopeGeometry
{
    struct CBone
    {
        std::string m_Name;
        // The parent's handle; −1 for the root.
        int m_Parent = -1;
        CVector m_Pos;
    };

    struct CWeight
    {
        std::uint16_t m_Vertex = 0;
        std::uint16_t m_Bone = 0;
        float m_Weight = 0.0f;
    };

    // The 16-bit indices reach the 4 × (n + 1) vertices.
    static const unsigned kMaxSegments = 16383;

    // Throws for no segment, more than kMaxSegments, or a length or width
    // that is not a finite number of at least 0.
    CRopeGeometry(float length, float width, unsigned segments);

    unsigned GetNumVertices() const { return static_cast<unsigned>(m_TexCoords.size() / 2); }

    float m_Length;
    float m_Width;
    unsigned m_Segments;
    // Position then normal, six floats per vertex; ring r holds vertices 4r … 4r + 3.
    std::vector<float> m_Vertices;
    // u, v per vertex: v is the ring, so the texture repeats once a segment.
    std::vector<float> m_TexCoords;
    std::vector<std::uint16_t> m_Indices;
    // By handle.
    std::vector<CBone> m_Bones;
    std::vector<CWeight> m_Weights;
    // The tube in its binding pose.
    CBoundingBox m_Bounds;
    // How far the tube reaches from the bones it follows, wherever they go:
    // the binding pose's bounds do not hold once the bones move.
    float m_BoneRadius;
};

} // namespace sds
