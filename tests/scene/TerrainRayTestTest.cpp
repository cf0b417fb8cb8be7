#include <gtest/gtest.h>

#include <cmath>

#include "dzgen/HomeField.h"
#include "dzgen/TerrainTiles.h"
#include "scene/TerrainRayTest.h"

namespace {

using dzgen::CHomeField;

// The triangles of one of Home Field's tiles in world space, as the zone's
// terrain loader hands them to the ray test.
std::vector<std::shared_ptr<sds::CTriangleMesh>> TileTriangles(int x, int z)
{
    const float ox = static_cast<float>(CHomeField::kMin + x * CHomeField::kTileSize);
    const float oz = static_cast<float>(CHomeField::kMin + z * CHomeField::kTileSize);
    std::vector<std::shared_ptr<sds::CTriangleMesh>> meshes;
    for (const meshgen::CSubMesh& sub : dzgen::TileMesh(x, z).m_SubMeshes) {
        auto mesh = std::make_shared<sds::CTriangleMesh>();
        mesh->m_MaterialName = sub.m_Material;
        for (const meshgen::CVertex& v : sub.m_Geometry.m_Vertices)
            mesh->m_Vertices.emplace_back(ox + v.m_Pos.x, v.m_Pos.y, oz + v.m_Pos.z);
        mesh->m_Indices = sub.m_Geometry.m_Indices;
        meshes.push_back(mesh);
    }
    return meshes;
}

// The ground as the tiles draw it: the height field at the grid's points,
// flat across each of a cell's two triangles.
double GroundAt(double x, double z)
{
    const double c = CHomeField::kCell;
    const double x0 = std::floor(x / c) * c, z0 = std::floor(z / c) * c;
    const double fx = (x - x0) / c, fz = (z - z0) / c;
    auto h = [](double px, double pz) { return static_cast<double>(static_cast<float>(CHomeField::Height(px, pz))); };
    const double a = h(x0, z0), b = h(x0, z0 + c), cc = h(x0 + c, z0 + c), d = h(x0 + c, z0);
    return fz >= fx ? a + fx * (cc - b) + fz * (b - a) : a + fx * (d - a) + fz * (cc - d);
}

class TerrainRayTestTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_Test = new sds::CTerrainRayTest();
        for (int x = 0; x < CHomeField::kTiles; ++x)
            for (int z = 0; z < CHomeField::kTiles; ++z)
                s_Test->AddTile({x, z}, TileTriangles(x, z));
    }
    static void TearDownTestSuite() { delete s_Test; }

    static sds::CTerrainRayTest* s_Test;
};

sds::CTerrainRayTest* TerrainRayTestTest::s_Test = nullptr;

// Points spread over the zone, a fifth of them on the seams between tiles.
std::vector<sds::CVector> GroundPoints()
{
    std::vector<sds::CVector> points;
    std::uint32_t seed = 7;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
    };
    for (int i = 0; i < 100; ++i) {
        double x = CHomeField::kMin + 1 + random() * (CHomeField::kMax - CHomeField::kMin - 2);
        double z = CHomeField::kMin + 1 + random() * (CHomeField::kMax - CHomeField::kMin - 2);
        if (i % 5 == 0)
            x = CHomeField::kMin + CHomeField::kTileSize * (1 + i % 7);
        if (i % 10 == 0)
            z = CHomeField::kMin + CHomeField::kTileSize * (1 + i % 6);
        points.emplace_back(static_cast<float>(x), 1000.0f, static_cast<float>(z));
    }
    return points;
}

} // namespace

TEST_F(TerrainRayTestTest, DownwardRaysMeetTheGroundItself)
{
    EXPECT_EQ(64u, s_Test->GetTileCount());
    for (const sds::CVector& point : GroundPoints()) {
        const auto hit = s_Test->RayTest(point, sds::CVector(0, -3, 0));
        ASSERT_TRUE(hit) << point.x << ", " << point.z;
        EXPECT_NEAR(1000.0 - GroundAt(point.x, point.z), hit->m_Distance, 0.01) << point.x << ", " << point.z;
        EXPECT_NEAR(GroundAt(point.x, point.z), hit->m_Point.y, 0.01);
    }
}

TEST_F(TerrainRayTestTest, SlantedRaysStopAtTheFirstGround)
{
    for (const sds::CVector& point : GroundPoints()) {
        const sds::CVector from(point.x * 0.7f, 300.0f, point.z * 0.7f);
        const auto hit = s_Test->RayTest(from, sds::CVector(0.35f, -1.0f, -0.2f));
        ASSERT_TRUE(hit);
        EXPECT_NEAR(GroundAt(hit->m_Point.x, hit->m_Point.z), hit->m_Point.y, 0.01);
        EXPECT_NEAR((hit->m_Point - from).Length(), hit->m_Distance, 0.01);
    }
}

TEST_F(TerrainRayTestTest, MissesWhereNoTileIsLoaded)
{
    EXPECT_FALSE(s_Test->RayTest(sds::CVector(0, 100, 0), sds::CVector(0, 1, 0)));
    EXPECT_FALSE(s_Test->RayTest(sds::CVector(5000, 100, 0), sds::CVector(0, -1, 0)));
    EXPECT_FALSE(s_Test->RayTest(sds::CVector(0, 100, 0), sds::CVector(0, 0, 0)));
    sds::CTerrainRayTest one;
    one.AddTile({0, 0}, TileTriangles(0, 0));
    const sds::CVector above(-900, 500, -900);
    EXPECT_TRUE(one.RayTest(above, sds::CVector::NEGATIVE_UNIT_Y));
    one.RemoveTile({0, 0});
    EXPECT_FALSE(one.RayTest(above, sds::CVector::NEGATIVE_UNIT_Y));
}
