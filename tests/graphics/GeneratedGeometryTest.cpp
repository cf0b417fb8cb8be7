#include <cmath>

#include <gtest/gtest.h>

#include "support/VectorNear.h"

#include "core/Exception.h"
#include "core/XmlFile.h"
#include "graphics/GfxConfig.h"
#include "graphics/RibbonTrailDesc.h"
#include "graphics/RopeGeometry.h"
#include "graphics/TriangleGeometry.h"

namespace {

xml::CNodePtr Element(const std::string& xml)
{
    return xml::LoadXmlFromMemory(xml, "test")->GetChildren().begin()->second;
}

sds::CVector VertexAt(const sds::CRopeGeometry& rope, unsigned vertex)
{
    return sds::CVector(rope.m_Vertices[6 * vertex], rope.m_Vertices[6 * vertex + 1], rope.m_Vertices[6 * vertex + 2]);
}

} // namespace

TEST(RopeGeometry, TubeOfRingsCappedAtBothEnds)
{
    const sds::CRopeGeometry rope(4.0f, 0.02f, 4);
    ASSERT_EQ(20u, rope.GetNumVertices());
    ASSERT_EQ(4u * 24u + 12u, rope.m_Indices.size());
    EXPECT_VECTOR_NEAR(sds::CVector(-0.01f, 0, -0.01f), VertexAt(rope, 0), 1e-6f);
    EXPECT_VECTOR_NEAR(sds::CVector(0.01f, -4, 0.01f), VertexAt(rope, 18), 1e-6f);
    // v counts the rings, u goes round.
    EXPECT_FLOAT_EQ(4.0f, rope.m_TexCoords[2 * 19 + 1]);
    EXPECT_FLOAT_EQ(0.75f, rope.m_TexCoords[2 * 19]);
    // Normals point away from the axis, as the sides face: a side's first
    // triangle turns counter-clockwise seen from outside.
    EXPECT_FLOAT_EQ(-0.70710677f, rope.m_Vertices[3]);
    EXPECT_FLOAT_EQ(-0.70710677f, rope.m_Vertices[5]);
    const sds::CVector a = VertexAt(rope, 0), b = VertexAt(rope, 1), c = VertexAt(rope, 4);
    EXPECT_LT((b - a).Cross(c - a).z, 0.0f);
    // The last segment's first side, then the caps at the top and the bottom.
    const std::vector<std::uint16_t> lastSide(rope.m_Indices.begin() + 72, rope.m_Indices.begin() + 75);
    EXPECT_EQ((std::vector<std::uint16_t>{12, 13, 16}), lastSide);
    const std::vector<std::uint16_t> caps(rope.m_Indices.end() - 12, rope.m_Indices.end());
    EXPECT_EQ((std::vector<std::uint16_t>{0, 2, 1, 2, 0, 3, 16, 17, 18, 18, 19, 16}), caps);
}

TEST(RopeGeometry, RingsFollowTheBonesAroundThem)
{
    const sds::CRopeGeometry rope(3.0f, 0.1f, 3);
    ASSERT_EQ(5u, rope.m_Bones.size());
    EXPECT_EQ("RootBone", rope.m_Bones[0].m_Name);
    const float y[5] = {0, 0, -1, -2, -1};
    for (std::size_t handle = 0; handle < 5; ++handle) {
        EXPECT_EQ(handle == 0 ? -1 : 0, rope.m_Bones[handle].m_Parent);
        EXPECT_VECTOR_NEAR(sds::CVector(0, y[handle], 0), rope.m_Bones[handle].m_Pos, 1e-6f);
    }
    // Every vertex is fully weighted; ring 0 on bone 1, ring r on bones r and r + 1, the last on bone n.
    std::vector<float> total(rope.GetNumVertices(), 0.0f);
    for (const auto& weight : rope.m_Weights) {
        total[weight.m_Vertex] += weight.m_Weight;
        const unsigned ring = weight.m_Vertex / 4;
        if (ring == 0 || ring == 3)
            EXPECT_EQ(ring == 0 ? 1 : 3, weight.m_Bone);
        else
            EXPECT_TRUE(weight.m_Bone == ring || weight.m_Bone == ring + 1);
        EXPECT_NE(4, weight.m_Bone);
    }
    for (float sum : total)
        EXPECT_FLOAT_EQ(1.0f, sum);
    EXPECT_VECTOR_NEAR(sds::CVector(-0.05f, -3, -0.05f), rope.m_Bounds.m_Min, 1e-6f);
    EXPECT_VECTOR_NEAR(sds::CVector(0.05f, 0, 0.05f), rope.m_Bounds.m_Max, 1e-6f);
    // The last ring hangs a segment below its bone.
    EXPECT_GE(rope.m_BoneRadius, 1.0f + 0.05f * std::sqrt(2.0f) - 1e-6f);
}

TEST(RopeGeometry, OneSegmentIsTheLeast)
{
    const sds::CRopeGeometry single(1.0f, 0.02f, 1);
    EXPECT_EQ(8u, single.GetNumVertices());
    EXPECT_EQ(3u, single.m_Bones.size());
    EXPECT_THROW(sds::CRopeGeometry(1.0f, 0.02f, 0), sds::CException);
    EXPECT_THROW(sds::CRopeGeometry(1.0f, 0.02f, sds::CRopeGeometry::kMaxSegments + 1), sds::CException);
    const sds::CRopeGeometry longest(10.0f, 0.02f, sds::CRopeGeometry::kMaxSegments);
    EXPECT_EQ(65532u, longest.m_Indices[longest.m_Indices.size() - 6]);
}

TEST(TriangleGeometry, NormalFollowsTheCornerOrder)
{
    struct Case
    {
        sds::CVector a, b, c, normal;
    };
    const Case cases[] = {
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
        {{0, 0, 0}, {0, 0, 1e-4f}, {1e-4f, 0, 0}, {0, 1, 0}},
        {{0, 0, 0}, {2e4f, 0, 0}, {0, 0, -2e4f}, {0, 1, 0}},
    };
    for (const Case& c : cases)
        EXPECT_VECTOR_NEAR(c.normal, sds::CTriangleGeometry(c.a, c.b, c.c).m_Normal, 1e-5f);
}

TEST(TriangleGeometry, CornersOnOneLineGetAUnitNormalAcrossIt)
{
    const sds::CVector lines[][3] = {{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}},
                                     {{0, 0, 0}, {1, 0, 0}, {3, 0, 0}},
                                     {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}},
                                     {{0, 0, 0}, {0, 0, 0}, {0, 4, 0}},
                                     {{0, 0, 0}, {std::nanf(""), 0, 0}, {1, 1, 1}}};
    for (const auto& corners : lines) {
        const sds::CTriangleGeometry triangle(corners[0], corners[1], corners[2]);
        EXPECT_NEAR(1.0f, triangle.m_Normal.Length(), 1e-5f);
        const sds::CVector along = corners[2] - corners[0];
        if (std::isfinite(along.Length())) {
            EXPECT_NEAR(0.0f, triangle.m_Normal.Dot(along), 1e-4f);
        }
    }
    const sds::CTriangleGeometry box({0, 0, 0}, {2, 0, 0}, {0, 3, 1});
    EXPECT_VECTOR_NEAR(sds::CVector(0, 0, 0), box.m_Bounds.m_Min, 1e-6f);
    EXPECT_VECTOR_NEAR(sds::CVector(2, 3, 1), box.m_Bounds.m_Max, 1e-6f);
}

TEST(GfxConfig, ColourTextsOfUpToFourNumbers)
{
    struct Case
    {
        const char* text;
        float r, g, b, a;
    };
    const Case cases[] = {{"0.1 0.2 0.3 0.4", 0.1f, 0.2f, 0.3f, 0.4f},
                          {"0.1 0.2 0.3", 0.1f, 0.2f, 0.3f, 1.0f},
                          {" 0.5 ", 0.5f, 1.0f, 1.0f, 1.0f},
                          {"0\t0\n0 0", 0.0f, 0.0f, 0.0f, 0.0f}};
    for (const Case& c : cases) {
        const sds::CFourFloats colour = sds::ReadColour(Element(std::string("<C Colour='") + c.text + "'/>"), "Colour");
        EXPECT_FLOAT_EQ(c.r, colour.v[0]) << c.text;
        EXPECT_FLOAT_EQ(c.g, colour.v[1]) << c.text;
        EXPECT_FLOAT_EQ(c.b, colour.v[2]) << c.text;
        EXPECT_FLOAT_EQ(c.a, colour.v[3]) << c.text;
    }
    for (const char* bad : {"", "  ", "red", "1 2 3 4 5", "1,2,3", "0.5 nan", "1 inf"})
        EXPECT_THROW(sds::ReadColour(Element(std::string("<C Colour='") + bad + "'/>"), "Colour"),
                     xml::CBadValueException)
            << bad;
    EXPECT_THROW(sds::ReadColour(Element("<C/>"), "Colour"), xml::CNoNodeException);
}

TEST(RibbonTrailDesc, KeylessTrailTakesTheDefaults)
{
    const sds::CRibbonTrailDesc desc = sds::CRibbonTrailDesc::Read(Element("<Trail/>"));
    EXPECT_EQ(1, desc.m_NumberOfChains);
    EXPECT_EQ(20, desc.m_MaxElements);
    EXPECT_EQ(400, desc.m_TrailLength);
    EXPECT_EQ("LightRibbonTrail", desc.m_Material);
    EXPECT_EQ("", desc.m_HeadMaterial);
    EXPECT_TRUE(desc.m_UseColours);
    EXPECT_TRUE(desc.m_UseTextureCoords);
    EXPECT_EQ(1, desc.m_HeadWidth);
    EXPECT_TRUE(desc.m_Chains.empty());

    const sds::CRibbonTrailDesc chains = sds::CRibbonTrailDesc::Read(
        Element("<Trail NumberOfChains='3'><Chain Index='2' InitialColor='1 0 0' ColorChange='0 0 0 1' "
                "InitialWidth='0.5' WidthChange='-0.1'/><Chain Index='0' InitialColor='0 1 0' ColorChange='0 0 0 0' "
                "InitialWidth='1' WidthChange='0'/></Trail>"));
    ASSERT_EQ(2u, chains.m_Chains.size());
    EXPECT_EQ(2u, chains.m_Chains[0].m_Index);
    EXPECT_FLOAT_EQ(1.0f, chains.m_Chains[0].m_InitialColour.v[3]);
    EXPECT_FLOAT_EQ(-0.1f, chains.m_Chains[0].m_WidthChange);
    EXPECT_EQ(0u, chains.m_Chains[1].m_Index);
}
