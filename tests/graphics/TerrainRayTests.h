#pragma once

#include <limits>
#include <memory>

#include <gtest/gtest.h>

#include "FlatGround.h"
#include "graphics/IGfxMgr.h"

// The distance queries merge the terrain's own ray test with the scene's
// objects, on either implementation (the world type gives Mgr()).
template <class World>
class TerrainRayTest : public ::testing::Test
{
protected:
    sds::IGfxMgr& Mgr() { return m_World.Mgr(); }

    World m_World;
};

TYPED_TEST_SUITE_P(TerrainRayTest);

TYPED_TEST_P(TerrainRayTest, DistanceQueriesMergeTheTerrain)
{
    sds::IGfxMgr& mgr = this->Mgr();
    const sds::CGfxObjPtr box = mgr.CreateBox(sds::CVector(4, 4, 4));
    box->SetPos(sds::CVector(0, -5, 0));
    mgr.GetRootObject()->UpdateTransform();
    EXPECT_FLOAT_EQ(55.0f, mgr.GetDistanceBelow(sds::CVector(0, 50, 0)));

    mgr.SetTerrainRayTest(std::make_shared<CFlatGround>(0.0f));
    // The ground is nearer than the box buried under it; away from the box it is all there is.
    EXPECT_FLOAT_EQ(50.0f, mgr.GetDistanceBelow(sds::CVector(0, 50, 0)));
    EXPECT_FLOAT_EQ(50.0f, mgr.GetDistanceBelow(sds::CVector(20, 50, 0)));
    // Distances along a direction of any length compare alike.
    EXPECT_FLOAT_EQ(50.0f, mgr.GetDistanceAlong(sds::CVector(0, 50, 0), sds::CVector(0, -2, 0)));
    box->SetPos(sds::CVector(0, 10, 0));
    mgr.GetRootObject()->UpdateTransform();
    EXPECT_FLOAT_EQ(40.0f, mgr.GetDistanceBelow(sds::CVector(0, 50, 0)));
    EXPECT_EQ(std::numeric_limits<float>::infinity(),
              mgr.GetDistanceAlong(sds::CVector(0, 50, 0), sds::CVector(0, 1, 0)));
}

REGISTER_TYPED_TEST_SUITE_P(TerrainRayTest, DistanceQueriesMergeTheTerrain);
