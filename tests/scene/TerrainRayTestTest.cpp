#include <gtest/gtest.h>

#include <cmath>

#include "dzgen/HomeField.h"
#include "dzgen/TerrainTiles.h"
#include "scene/HomeFieldGround.h"
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
    for (const meshgen::CMeshPart& sub : dzgen::TileMesh(x, z).m_SubMeshes) {
        auto mesh = std::make_shared<sds::CTriangleMesh>();
        mesh->m_MaterialName = sub.m_Material;
        for (const meshgen::CMeshVertex& v : sub.m_Geometry.m_Vertices)
            mesh->m_Vertices.emplace_back(ox + v.m_Pos.x, v.m_Pos.y, oz + v.m_Pos.z);
        mesh->m_Indices = sub.m_Geometry.m_Indices;
        meshes.push_back(mesh);
    }
    return meshes;
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

} // namespace

TEST_F(TerrainRayTestTest, DownwardRaysMeetTheGroundItself)
{
    EXPECT_EQ(64u, s_Test->GetTileCount());
    for (const sds::CVector& point : HomeFieldPointsAbove()) {
        const auto hit = s_Test->RayTest(point, sds::CVector(0, -3, 0));
        ASSERT_TRUE(hit) << point.x << ", " << point.z;
        EXPECT_NEAR(1000.0 - HomeFieldGroundAt(point.x, point.z), hit->m_Distance, 0.01) << point.x << ", " << point.z;
        EXPECT_NEAR(HomeFieldGroundAt(point.x, point.z), hit->m_Point.y, 0.01);
    }
}

TEST_F(TerrainRayTestTest, SlantedRaysStopAtTheFirstGround)
{
    for (const sds::CVector& point : HomeFieldPointsAbove()) {
        const sds::CVector from(point.x * 0.7f, 300.0f, point.z * 0.7f);
        const auto hit = s_Test->RayTest(from, sds::CVector(0.35f, -1.0f, -0.2f));
        ASSERT_TRUE(hit);
        EXPECT_NEAR(HomeFieldGroundAt(hit->m_Point.x, hit->m_Point.z), hit->m_Point.y, 0.01);
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
