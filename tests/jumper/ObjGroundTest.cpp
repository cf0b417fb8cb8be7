#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/services/TriangleMesh.h"
#include "jumper/ObjGround.h"
#include "physics/PhyObj.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IShape.h"
#include "physics/sdk/ITriangleMesh.h"
#include "JumperWorld.h"

using sds::CObjGround;

namespace {

// A strip of `triangles` triangles along x at height 2.
std::shared_ptr<sds::CTriangleMesh> Strip(unsigned triangles)
{
    auto mesh = std::make_shared<sds::CTriangleMesh>();
    for (unsigned i = 0; i <= triangles; ++i) {
        mesh->m_Vertices.emplace_back(static_cast<float>(i), 2.0f, 0.0f);
        mesh->m_Vertices.emplace_back(static_cast<float>(i), 2.0f, 1.0f);
    }
    for (unsigned i = 0; i < triangles; ++i)
        mesh->m_Indices.insert(mesh->m_Indices.end(), {i, i + 1, i + 2});
    mesh->m_MaterialName = "Terrain";
    return mesh;
}

unsigned TriangleCount(const std::shared_ptr<physics::IPhyObj>& object)
{
    const auto& body = static_cast<const physics::CPhyObj&>(*object);
    return body.GetActor()->GetShapes()[0]->GetTriangleMesh()->GetTriangleCount();
}

} // namespace

// Terrain meshes queued by the in-memory graphics, baked into the real world.
class ObjGroundTest : public JumperTest
{
protected:
    ObjGroundTest() { CObjGround::ClearRegistry(); }
    ~ObjGroundTest() override { CObjGround::ClearRegistry(); }

    std::unique_ptr<CObjGround> MakeGround(bool show, const std::string& budget)
    {
        m_Scene->GetAttribute("TimeLimitForBakingMeshes")->SetValue(budget);
        return std::make_unique<CObjGround>(show, m_Gfx, *m_World, m_Scene, [this] { return m_ClockMs += m_Tick; });
    }
    sds::IGfxMgr::CObjectQueue& Queue() { return m_Gfx.GetObjectQueue(); }

    xml::CNodePtr m_Scene = xml::CNode::Clone(m_App.m_Config->GetChild("Scene"));
    std::uint64_t m_ClockMs = 1000;
    // Milliseconds the clock moves on at each reading.
    std::uint64_t m_Tick = 0;
};

TEST_F(ObjGroundTest, AnEmptyQueueReadsNoSettingAndLeavesTheRegistryAlone)
{
    // A scene without the budget would throw if it were read.
    CObjGround ground(true, m_Gfx, *m_World, xml::CNodePtr(new xml::CNode("Scene", false)));
    ground.Update(m_Frame);
    EXPECT_TRUE(ground.GetMeshes().empty());
    EXPECT_TRUE(CObjGround::GetRegistry().empty());
}

TEST_F(ObjGroundTest, TheBudgetOnTheWallClockBoundsTheMeshesOfAFrame)
{
    struct CCase
    {
        const char* m_Budget;
        std::uint64_t m_Tick;
        std::size_t m_Baked;
    };
    // A positive budget always bakes the first mesh; 0 bakes none.
    const CCase cases[] = {{"0", 0, 0}, {"0.001", 0, 3}, {"0.0025", 1, 2}};
    for (const CCase& c : cases) {
        SCOPED_TRACE(std::string(c.m_Budget) + " s, tick " + std::to_string(c.m_Tick));
        Queue().clear();
        for (unsigned triangles : {1u, 2u, 3u})
            Queue().push_back(Strip(triangles));
        m_Tick = c.m_Tick;
        const std::unique_ptr<CObjGround> ground = MakeGround(false, c.m_Budget);
        ground->Update(m_Frame);
        EXPECT_EQ(c.m_Baked, ground->GetMeshes().size());
        EXPECT_EQ(3 - c.m_Baked, Queue().size());
    }
    EXPECT_TRUE(CObjGround::GetRegistry().empty());
}

TEST_F(ObjGroundTest, MeshesBakeInQueueOrderAcrossFrames)
{
    for (unsigned triangles : {1u, 2u, 3u, 4u})
        Queue().push_back(Strip(triangles));
    m_Tick = 1;
    const std::unique_ptr<CObjGround> ground = MakeGround(false, "0.0015");
    std::vector<unsigned> baked;
    for (int frame = 0; frame < 4; ++frame) {
        ground->Update(m_Frame);
        EXPECT_EQ(static_cast<std::size_t>(frame + 1), ground->GetMeshes().size());
    }
    for (const auto& mesh : ground->GetMeshes())
        baked.push_back(TriangleCount(mesh));
    EXPECT_EQ((std::vector<unsigned>{1, 2, 3, 4}), baked);
    EXPECT_TRUE(Queue().empty());
    // The budget was read once: changing it later changes nothing.
    Queue().push_back(Strip(1));
    Queue().push_back(Strip(1));
    m_Scene->GetAttribute("TimeLimitForBakingMeshes")->SetValue("0");
    ground->Update(m_Frame);
    EXPECT_EQ(1u, Queue().size());
}

// The scene hands out a placement again each time it pages it in: a key baked
// once, or refused once, is not baked again. Meshes without a key always are.
TEST_F(ObjGroundTest, AKeyIsBakedOnce)
{
    auto keyed = [](unsigned triangles, const std::string& key) {
        auto mesh = Strip(triangles);
        mesh->m_Key = key;
        return mesh;
    };
    auto refused = keyed(1, "broken");
    refused->m_Indices.back() = 99;
    for (const auto& mesh : {keyed(1, "tree#0"), keyed(2, "tree#1"), keyed(3, "tree#0"), Strip(4), Strip(4), refused,
                             keyed(5, "broken"), keyed(6, "tree#1")})
        Queue().push_back(mesh);
    const std::unique_ptr<CObjGround> ground = MakeGround(false, "0.001");
    ground->Update(m_Frame);
    EXPECT_TRUE(Queue().empty());
    std::vector<unsigned> baked;
    for (const auto& mesh : ground->GetMeshes())
        baked.push_back(TriangleCount(mesh));
    EXPECT_EQ((std::vector<unsigned>{1, 2, 4, 4}), baked);
    for (const char* key : {"tree#0", "tree#1", "broken"})
        EXPECT_TRUE(ground->IsBaked(key)) << key;
    EXPECT_FALSE(ground->IsBaked("tree#2"));
    EXPECT_FALSE(ground->IsBaked(""));

    // On a later frame too.
    Queue().push_back(keyed(7, "tree#0"));
    ground->Update(m_Frame);
    EXPECT_EQ(4u, ground->GetMeshes().size());
}

TEST_F(ObjGroundTest, AMeshTheWorldRefusesIsLoggedAndBlocksNoOther)
{
    const auto broken = std::make_shared<sds::CTriangleMesh>(*Strip(2));
    broken->m_Indices.back() = 99;
    Queue().push_back(Strip(1));
    Queue().push_back(std::make_shared<sds::CTriangleMesh>());
    Queue().push_back(broken);
    Queue().push_back(Strip(3));
    const std::unique_ptr<CObjGround> ground = MakeGround(true, "0.001");
    ground->Update(m_Frame);
    EXPECT_TRUE(Queue().empty());
    std::vector<unsigned> baked;
    for (const auto& mesh : ground->GetMeshes())
        baked.push_back(TriangleCount(mesh));
    EXPECT_EQ((std::vector<unsigned>{1, 3}), baked);
    EXPECT_TRUE(m_Log.Has("Error: Ground mesh not baked: CPhyTriMesh is initialized with an empty mesh"));
    // Only the broken mesh's whole triangle is drawn.
    EXPECT_EQ(1u + 1u + 3u, CObjGround::GetRegistry().size());
}

TEST_F(ObjGroundTest, TheShowFlagDrawsEveryQueuedTriangleGreenHalfAMetreUp)
{
    Queue().push_back(Strip(2));
    Queue().push_back(Strip(1));
    // Nothing bakes, so each frame draws the whole queue again.
    const std::unique_ptr<CObjGround> ground = MakeGround(true, "0");
    ground->Update(m_Frame);
    ASSERT_EQ(3u, CObjGround::GetRegistry().size());
    const sds::CGfxObjPtr first = CObjGround::GetRegistry().front();
    const sds::CBoundingBox box = first->GetBoundingBox();
    EXPECT_VECTOR_NEAR(CVector(0, 2.5f, 0), box.m_Min, 1e-6f);
    EXPECT_VECTOR_NEAR(CVector(1, 2.5f, 1), box.m_Max, 1e-6f);
    for (const sds::CGfxObjPtr& triangle : CObjGround::GetRegistry()) {
        const sds::CFourFloats colour = m_Gfx.GetMaterial(triangle->GetSubEntityMaterialName(0))->m_Diffuse;
        EXPECT_EQ((std::vector<float>{0, 1, 0, 1}), std::vector<float>(colour.v, colour.v + 4));
    }
    ground->Update(m_Frame);
    EXPECT_EQ(6u, CObjGround::GetRegistry().size());

    // The level's own objects join the registry until it is cleared.
    CObjGround::Register(m_Gfx.CreateObject(">novis", nullptr));
    EXPECT_EQ(7u, CObjGround::GetRegistry().size());
    CObjGround::ClearRegistry();
    EXPECT_TRUE(CObjGround::GetRegistry().empty());
}
