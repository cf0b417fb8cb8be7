#include <memory>
#include <gtest/gtest.h>

#include "graphics/TrajectoryDisplay.h"
#include "graphics/memory/MemGfxMgr.h"
#include "graphics/memory/MemStaticGeometry.h"

namespace {

sds::CTrajectoryDisplay Display(const std::vector<sds::CVector>& points)
{
    sds::CTrajectoryDisplay display;
    display.m_NamePrefix = "Trajectory";
    display.m_MeshName = "UnitArrow";
    display.m_Colour = "1,0.5,0";
    display.m_MeshScale = 2.0f;
    display.m_Points = points;
    return display;
}

sds::CMemStaticGeometry& Geometry(const sds::CTrajectoryDisplay& display)
{
    return dynamic_cast<sds::CMemStaticGeometry&>(*display.m_StaticGeometry);
}

} // namespace

TEST(TrajectoryDisplay, EachSegmentButTheLastIsAStretchedMesh)
{
    sds::CMemGfxMgr mgr;
    sds::CTrajectoryDisplay display = Display({{0, 10, 0}, {3, 6, 0}, {3, 6, 5}});
    display.BuildTrajectoryMesh();

    const sds::CMemStaticGeometry& geometry = Geometry(display);
    EXPECT_EQ(1, geometry.m_Builds);
    ASSERT_EQ(1u, geometry.m_Placements.size());
    const auto& segment = geometry.m_Placements[0];
    EXPECT_EQ(sds::CVector(0, 10, 0), segment.m_Position);
    EXPECT_FLOAT_EQ(2.0f, segment.m_Scale.x);
    EXPECT_FLOAT_EQ(5.0f, segment.m_Scale.y);
    EXPECT_FLOAT_EQ(2.0f, segment.m_Scale.z);
    // The mesh's +Y runs along the segment.
    const sds::CVector along = segment.m_Orientation * sds::CVector::UNIT_Y;
    EXPECT_NEAR(0.6f, along.x, 1e-5f);
    EXPECT_NEAR(-0.8f, along.y, 1e-5f);

    EXPECT_FALSE(display.m_BoundingBox.m_Empty);
    EXPECT_EQ(sds::CVector(0, 6, 0), display.m_BoundingBox.m_Min);
    EXPECT_EQ(sds::CVector(3, 10, 0), display.m_BoundingBox.m_Max);
}

TEST(TrajectoryDisplay, ColourGoesOnTheObjectsOwnMaterial)
{
    sds::CMemGfxMgr mgr;
    mgr.DefineMaterial("Arrow", sds::mem::CMaterial());
    sds::mem::CMeshDesc arrow;
    arrow.m_SubEntityMaterials = {"Arrow"};
    mgr.DefineMesh("UnitArrow", arrow);
    sds::CTrajectoryDisplay display = Display({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}});
    display.BuildTrajectoryMesh();

    // The shared material is untouched; the object's own copy has the colour,
    // with alpha 1 where the text gives none.
    EXPECT_FLOAT_EQ(1.0f, mgr.GetMaterial("Arrow")->m_Diffuse.v[1]);
    int copies = 0;
    for (const std::string& name : mgr.GetMaterialNames()) {
        if (name.rfind("Arrow_", 0) != 0)
            continue;
        ++copies;
        const sds::CFourFloats& colour = mgr.GetMaterial(name)->m_Diffuse;
        EXPECT_FLOAT_EQ(1.0f, colour.v[0]);
        EXPECT_FLOAT_EQ(0.5f, colour.v[1]);
        EXPECT_FLOAT_EQ(0.0f, colour.v[2]);
        EXPECT_FLOAT_EQ(1.0f, colour.v[3]);
    }
    EXPECT_EQ(1, copies);
}

TEST(TrajectoryDisplay, ShortTrajectories)
{
    sds::CMemGfxMgr mgr;
    sds::CTrajectoryDisplay two = Display({{0, 0, 0}, {0, 1, 0}});
    two.BuildTrajectoryMesh();
    EXPECT_TRUE(Geometry(two).m_Placements.empty());
    EXPECT_EQ(1, Geometry(two).m_Builds);
    EXPECT_EQ(sds::CVector(0, 0, 0), two.m_BoundingBox.m_Max);

    // Without samples there is nothing to draw and nothing to read.
    sds::CTrajectoryDisplay none = Display({});
    none.BuildTrajectoryMesh();
    EXPECT_FALSE(none.m_StaticGeometry);
    EXPECT_TRUE(none.m_BoundingBox.m_Empty);
}
