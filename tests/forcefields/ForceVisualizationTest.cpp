#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "core/XmlFile.h"
#include "forcefields/ForceVisualization.h"
#include "graphics/memory/MemGfxMgr.h"
#include "graphics/memory/MemRibbonTrail.h"
#include "graphics/memory/MemStaticGeometry.h"
#include "physics/IPhyObj.h"
#include "physics/PhyMgr.h"
#include "support/CapturingLogMgr.h"
#include "support/VectorNear.h"
#include "support/Frames.h"

using sds::test::Frame;

using namespace sds;

namespace {

CBoundingBox Box(const CVector& a, const CVector& b)
{
    CBoundingBox box;
    box.Reset(a);
    box.Merge(b);
    return box;
}

xml::CNodePtr Xml(const std::string& text)
{
    return xml::LoadXmlFromMemory(text, "test")->GetChildren().begin()->second;
}

xml::CNodePtr Fixture(const std::string& name)
{
    return xml::LoadXmlFile(std::string(SDS_SOURCE_DIR) + "/tests/physics/fixtures/" + name)
        ->GetChildren()
        .begin()
        ->second;
}

class ForceVisualizationTest : public ::testing::Test
{
protected:
    ForceVisualizationTest()
        : m_World(physics::CPhyMgr::Create(Fixture("physics.xml"), Fixture("materials.conf"))),
          m_Trail(Xml("<Trail><Chain Index='0' InitialColor='1 1 1 1' ColorChange='0 0 0 1' InitialWidth='1' "
                      "WidthChange='0'/></Trail>")),
          m_Boundary(Xml("<Mesh Mesh='Wall'/>"))
    {
        m_Gfx.DefineMesh("Wall.mesh", mem::CMeshDesc());
    }

    std::unique_ptr<CForceVisualization> Make(int count, const CVector& timeToLive,
                                              const CBoundingBox& area = Box(CVector(-50, 0, -9), CVector(50, 60, 9)))
    {
        return std::make_unique<CForceVisualization>(*m_World, count, m_Trail, area, timeToLive, m_Boundary);
    }

    CCapturingLogMgr m_Log;
    CMemGfxMgr m_Gfx;
    std::shared_ptr<physics::CPhyMgr> m_World;
    xml::CNodePtr m_Trail;
    xml::CNodePtr m_Boundary;
};

} // namespace

TEST(ForceVisualizationCount, IsTheMaximumScaledByTheSettingRoundedDown)
{
    EXPECT_EQ(200, CForceVisualization::ParticleCount(400, 0.5f));
    EXPECT_EQ(133, CForceVisualization::ParticleCount(400, 1.0f / 3));
    // The setting is a fraction: values outside it are clamped.
    EXPECT_EQ(400, CForceVisualization::ParticleCount(400, 7.0f));
    EXPECT_EQ(0, CForceVisualization::ParticleCount(400, -1.0f));
    EXPECT_EQ(0, CForceVisualization::ParticleCount(400, std::nanf("")));
}

TEST_F(ForceVisualizationTest, KeepsTheCountWithLivesInTheRange)
{
    auto vis = Make(CForceVisualization::ParticleCount(400, 0.5f), CVector(2, 5, 0));
    // Kept alive, so that no new particle takes a known one's address.
    std::vector<std::shared_ptr<CForceVisualization::CForceVisParticle>> kept;
    std::set<const void*> seen;
    for (const auto& particle : vis->GetParticles()) {
        EXPECT_GE(particle->GetLife(), 0.0f);
        EXPECT_LT(particle->GetLife(), 5.0f);
        seen.insert(particle.get());
        kept.push_back(particle);
    }
    EXPECT_EQ(200u, seen.size());

    int renewed = 0;
    for (int frame = 0; frame < 7; ++frame) {
        vis->Update(Frame(1.0f));
        ASSERT_EQ(200u, vis->GetParticles().size());
        for (const auto& particle : vis->GetParticles()) {
            if (!seen.insert(particle.get()).second)
                continue;
            kept.push_back(particle);
            ++renewed;
            EXPECT_GE(particle->GetLife(), 2.0f);
            EXPECT_LT(particle->GetLife(), 5.0f);
            const CVector pos = particle->GetSimObj()->GetPos();
            EXPECT_EQ(0.0f, pos.z);
            EXPECT_TRUE(pos.x >= -50 && pos.x <= 50 && pos.y >= 0 && pos.y <= 60) << pos.x << "," << pos.y;
        }
    }
    EXPECT_GT(renewed, 200);
}

TEST_F(ForceVisualizationTest, TrailFadesOverTheLastSecond)
{
    auto vis = Make(20, CVector(1.4f, 1.4f, 0));
    vis->Update(Frame(1.5f)); // every first particle has gone: the new ones have 1.4 s
    vis->Update(Frame(1.0f));
    for (const auto& particle : vis->GetParticles()) {
        ASSERT_NEAR(0.4f, particle->GetLife(), 1e-5f);
        const auto& trail = dynamic_cast<const CMemRibbonTrail&>(*particle->GetTrail());
        EXPECT_NEAR(0.4f, trail.m_Chains[0].m_HeadColour.v[0], 1e-5f);
        EXPECT_EQ(particle->GetGfxObj()->GetName(), trail.m_Trailed.at(0));
    }
}

TEST_F(ForceVisualizationTest, AreaGetsAWallAndFourBoundaryBoxes)
{
    std::vector<std::pair<CVector, CVector>> boxes; // position, size
    m_World->SetDebugDrawCallbacks(
        [&boxes](const physics::sdk::IShape&, physics::sdk::EShapeType type, const CVector& pos, const CVector& size,
                 const CQuaternion&, const CFourFloats&, bool) {
            if (type == physics::sdk::SHAPE_BOX && size.x + size.y > 1.5f)
                boxes.emplace_back(pos, size);
        },
        nullptr);
    auto vis = Make(0, CVector(5, 10, 0), Box(CVector(2, 3, 4), CVector(12, 9, -4)));
    m_World->DrawDebug(false);
    m_World->SetDebugDrawCallbacks(nullptr, nullptr);

    const auto& walls = dynamic_cast<const CMemStaticGeometry&>(*vis->GetWalls());
    EXPECT_EQ(1, walls.m_Builds);
    ASSERT_EQ(2u * 8 + 2u * 4, walls.m_Placements.size());
    for (int i = 0; i < 8; ++i) {
        EXPECT_VECTOR_NEAR(CVector(3 + i, 9, 0), walls.m_Placements[2 * i].m_Position, 1e-5f);
        EXPECT_VECTOR_NEAR(CVector(3 + i, 3, 0), walls.m_Placements[2 * i + 1].m_Position, 1e-5f);
    }
    for (int i = 0; i < 4; ++i) {
        const auto& left = walls.m_Placements[16 + 2 * i];
        EXPECT_VECTOR_NEAR(CVector(2, 4 + i, 0), left.m_Position, 1e-5f);
        EXPECT_VECTOR_NEAR(CVector(12, 4 + i, 0), walls.m_Placements[17 + 2 * i].m_Position, 1e-5f);
        EXPECT_NEAR(std::sqrt(0.5f), left.m_Orientation.z, 1e-5f);
    }

    ASSERT_EQ(4u, vis->GetBoundaryBoxes().size());
    ASSERT_EQ(4u, boxes.size());
    const std::vector<std::pair<CVector, CVector>> expected = {
        {{2, 6, 0}, {1, 6, 1}}, {{12, 6, 0}, {1, 6, 1}}, {{7, 3, 0}, {10, 1, 1}}, {{7, 9, 0}, {10, 1, 1}}};
    for (const auto& box : expected) {
        const bool found = std::any_of(boxes.begin(), boxes.end(), [&box](const std::pair<CVector, CVector>& b) {
            return (b.first - box.first).Length() < 1e-3f && (b.second - box.second).Length() < 1e-3f;
        });
        EXPECT_TRUE(found) << box.first.x << "," << box.first.y;
    }
}
