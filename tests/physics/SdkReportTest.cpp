#include "SdkFixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "physics/MemoryReadBuffer.h"
#include "physics/MemoryWriteBuffer.h"
#include "physics/sdk/ConvexMeshDesc.h"
#include "physics/sdk/Cooking.h"
#include "physics/sdk/ITriangleMesh.h"
#include "physics/sdk/TriangleMeshDesc.h"

using physics::details::MemoryReadBuffer;
using physics::details::MemoryWriteBuffer;
using sds::CVector;

namespace {

// A flat square of `cells` x `cells` quads, `size` metres a side, at y = 0.
struct CGrid
{
    CGrid(int cells, float size)
    {
        for (int z = 0; z <= cells; ++z)
            for (int x = 0; x <= cells; ++x)
                m_Points.push_back({size * (float(x) / cells - 0.5f), 0.0f, size * (float(z) / cells - 0.5f)});
        for (int z = 0; z < cells; ++z)
            for (int x = 0; x < cells; ++x)
            {
                const std::uint32_t i = std::uint32_t(z * (cells + 1) + x);
                const std::uint32_t quad[6] = {i, i + std::uint32_t(cells) + 1, i + 1,
                                               i + 1, i + std::uint32_t(cells) + 1, i + std::uint32_t(cells) + 2};
                m_Indices.insert(m_Indices.end(), quad, quad + 6);
            }
    }

    sdk::CTriangleMeshDesc Desc() const
    {
        sdk::CTriangleMeshDesc desc;
        desc.m_NumVertices = std::uint32_t(m_Points.size());
        desc.m_Points = m_Points.data();
        desc.m_NumTriangles = std::uint32_t(m_Indices.size() / 3);
        desc.m_Triangles = m_Indices.data();
        return desc;
    }

    std::vector<CVector> m_Points;
    std::vector<std::uint32_t> m_Indices;
};

// A convex mesh of the points, cooked and read back by the SDK.
sdk::IConvexMesh* CookHull(sdk::ISdk& sdk, const std::vector<CVector>& points)
{
    sdk::CConvexMeshDesc desc;
    desc.m_NumVertices = std::uint32_t(points.size());
    desc.m_Points = points.data();
    MemoryWriteBuffer cooked;
    EXPECT_TRUE(sdk::CookConvexMesh(desc, cooked));
    MemoryReadBuffer reader(cooked.GetData(), cooked.GetCurrentSize());
    return sdk.CreateConvexMesh(reader);
}

} // namespace

TEST_F(SdkTest, CookedMeshesReadBack)
{
    const CGrid grid(2, 4.0f);
    MemoryWriteBuffer cooked;
    ASSERT_TRUE(sdk::CookTriangleMesh(grid.Desc(), cooked));
    MemoryReadBuffer reader(cooked.GetData(), cooked.GetCurrentSize());
    sdk::ITriangleMesh* mesh = m_Sdk->CreateTriangleMesh(reader);
    ASSERT_TRUE(mesh);
    EXPECT_EQ(9u, mesh->GetVertexCount());
    EXPECT_EQ(8u, mesh->GetTriangleCount());
    EXPECT_EQ(0u, reader.GetBytesLeft());

    sdk::IConvexMesh* hullMesh = CookHull(*m_Sdk, {{-1, -1, -1}, {1, -1, -1}, {0, 1, -1}, {0, 0, 1}});
    ASSERT_TRUE(hullMesh);
    sdk::CActorDesc rock;
    rock.m_Shapes.push_back(sdk::CShapeDesc::Convex(hullMesh));
    rock.m_Body = sdk::CBodyDesc();
    rock.m_Body->m_Mass = 3.0f;
    sdk::IActor* actor = m_Scene->CreateActor(rock);
    ASSERT_TRUE(actor);
    EXPECT_VECTOR_NEAR(CVector(0, -0.25f, -0.5f), actor->GetCMassLocalPosition(), 1e-5f); // its centroid

    // Descriptors with an index past the points, or no triangles, are not cooked.
    sdk::CTriangleMeshDesc bad = grid.Desc();
    std::vector<std::uint32_t> indices = grid.m_Indices;
    indices[5] = 9;
    bad.m_Triangles = indices.data();
    MemoryWriteBuffer refused;
    EXPECT_FALSE(sdk::CookTriangleMesh(bad, refused));
    bad.m_NumTriangles = 0;
    EXPECT_FALSE(sdk::CookTriangleMesh(bad, refused));
    EXPECT_EQ(0u, refused.GetCurrentSize());

    // Bytes that are not a cooked mesh, or too few of them, give no mesh.
    const std::uint8_t garbage[16] = {'n', 'o', 't', ' ', 'a', ' ', 'm', 'e', 's', 'h'};
    MemoryReadBuffer notMesh(garbage, sizeof garbage);
    EXPECT_FALSE(m_Sdk->CreateTriangleMesh(notMesh));
    EXPECT_TRUE(m_Output.HasContaining("CreateTriangleMesh: not a cooked triangle mesh"));
    MemoryReadBuffer truncated(cooked.GetData(), cooked.GetCurrentSize() - 1);
    EXPECT_FALSE(m_Sdk->CreateTriangleMesh(truncated));
    EXPECT_TRUE(m_Output.HasContaining("passes the end"));
    std::vector<std::uint8_t> corrupt(cooked.GetData(), cooked.GetData() + cooked.GetCurrentSize());
    const std::uint32_t hugeCount = 0x7FFFFFFF;
    std::memcpy(corrupt.data() + 8, &hugeCount, 4); // the vertex count
    MemoryReadBuffer lying(corrupt.data(), std::uint32_t(corrupt.size()));
    EXPECT_FALSE(m_Sdk->CreateTriangleMesh(lying));
}

// A hull weighs what its own volume holds and balances on its centroid; the
// engine's gap around it does not make a small hull larger.
TEST_F(SdkTest, AHullWeighsItsOwnVolume)
{
    const auto hull = [this](float size) {
        sdk::CActorDesc actor;
        actor.m_Shapes.push_back(
            sdk::CShapeDesc::Convex(CookHull(*m_Sdk, {{0, 0, 0}, {size, 0, 0}, {0, 0, size}, {0, size, 0}})));
        actor.m_Body = sdk::CBodyDesc();
        actor.m_Density = 600.0f;
        actor.m_GlobalPosition = {0, 0.5f, 0};
        return m_Scene->CreateActor(actor);
    };
    sdk::IActor* unit = hull(1.0f);
    ASSERT_TRUE(unit);
    EXPECT_NEAR(100.0f, unit->GetMass(), 1.0f); // a sixth of a cubic metre
    EXPECT_VECTOR_NEAR(CVector(0.25f, 0.25f, 0.25f), unit->GetCMassLocalPosition(), 1e-4f);
    m_Scene->ReleaseActor(*unit);

    // A hull of 10 cm comes to rest on its base, sunk by the skin width as any
    // shape is, not on a cushion of the gap.
    Ground();
    sdk::IActor* small = hull(0.1f);
    EXPECT_NEAR(0.1f, small->GetMass(), 0.001f);
    Step(120);
    EXPECT_NEAR(-m_Sdk->GetParameter(sdk::PARAM_SKIN_WIDTH), small->GetGlobalPosition().y, 0.005f);
}

// A box dropped on a triangle-mesh ground: one report when the touch begins,
// carrying every contact point, and nothing while it rests.
TEST_F(SdkTest, ContactReportsAtTheStartOfATouch)
{
    const CGrid grid(10, 20.0f);
    MemoryWriteBuffer cooked;
    ASSERT_TRUE(sdk::CookTriangleMesh(grid.Desc(), cooked));
    MemoryReadBuffer reader(cooked.GetData(), cooked.GetCurrentSize());
    sdk::ITriangleMesh* mesh = m_Sdk->CreateTriangleMesh(reader);
    sdk::CActorDesc terrain;
    terrain.m_Shapes.push_back(sdk::CShapeDesc::TriangleMesh(mesh));
    terrain.m_Shapes.back().m_Material = 7;
    sdk::IActor* ground = m_Scene->CreateActor(terrain);
    ASSERT_TRUE(ground);
    m_Sdk->ReleaseTriangleMesh(*mesh); // the shape keeps it
    EXPECT_EQ(mesh, ground->GetShapes()[0]->GetTriangleMesh());

    m_Scene->SetActorGroupPairFlags(0, 0, sdk::NOTIFY_ON_START_TOUCH | sdk::NOTIFY_ON_END_TOUCH);
    sdk::IActor* box = Box({0.3f, 1.0f, 0.2f}, {0.5f, 0.5f, 0.5f}, 5.0f, 3);
    Step(240);
    ASSERT_EQ(1u, m_Contacts.size());
    const CContactRecord& start = m_Contacts.front();
    EXPECT_EQ(sdk::NOTIFY_ON_START_TOUCH, start.m_Events);
    EXPECT_LT(start.m_Step, 30);
    EXPECT_EQ(ground, start.m_Pair.m_Actors[0]); // made first
    EXPECT_EQ(box, start.m_Pair.m_Actors[1]);
    ASSERT_FALSE(start.m_Pair.m_Points.empty());
    for (const sdk::CContactPoint& point : start.m_Pair.m_Points)
    {
        EXPECT_EQ(7, point.m_Shapes[0]->GetMaterial());
        EXPECT_EQ(3, point.m_Shapes[1]->GetMaterial());
        EXPECT_NEAR(0.0f, point.m_Position.y, 0.05f);
        EXPECT_NEAR(1.0f, point.m_Normal.y, 0.01f);
    }
    EXPECT_NEAR(0.5f, box->GetGlobalPosition().y, 0.05f);
    EXPECT_TRUE(box->IsSleeping());
    box->WakeUp();
    EXPECT_FALSE(box->IsSleeping());

    // Lifted away: the end of the touch, without points.
    box->SetGlobalPosition({0, 5, 0});
    Step(2);
    ASSERT_EQ(2u, m_Contacts.size());
    EXPECT_EQ(sdk::NOTIFY_ON_END_TOUCH, m_Contacts.back().m_Events);
    EXPECT_TRUE(m_Contacts.back().m_Pair.m_Points.empty());
}

// A trigger tells of a moving shape on entering, on every step it stays and on leaving.
TEST_F(SdkTest, TriggerReportsEnterStayLeave)
{
    m_Scene->SetGravity(CVector::ZERO);
    sdk::CActorDesc region;
    region.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
    region.m_Shapes.back().m_Flags = sdk::SF_TRIGGER_ENABLE | sdk::SF_VISUALIZATION;
    sdk::IActor* trigger = m_Scene->CreateActor(region);
    ASSERT_TRUE(trigger);
    Box({0, 0, 0.5f}, {0.2f, 0.2f, 0.2f}); // static: never reported

    sdk::IActor* body = Box({-2, 0, 0}, {0.2f, 0.2f, 0.2f}, 1.0f);
    body->SetLinearVelocity({3.0f, 0.0f, 0.0f}); // through the box in about 1.1 s
    Step(120);
    ASSERT_GE(m_Triggers.size(), 3u);
    EXPECT_EQ(sdk::TRIGGER_ON_ENTER, m_Triggers.front().m_Status);
    EXPECT_EQ(sdk::TRIGGER_ON_LEAVE, m_Triggers.back().m_Status);
    for (std::size_t i = 1; i + 1 < m_Triggers.size(); ++i)
    {
        EXPECT_EQ(sdk::TRIGGER_ON_STAY, m_Triggers[i].m_Status);
        EXPECT_EQ(m_Triggers[i - 1].m_Step + 1, m_Triggers[i].m_Step); // every step
    }
    for (const CTriggerRecord& r : m_Triggers)
    {
        EXPECT_EQ(trigger->GetShapes()[0], r.m_Trigger);
        EXPECT_EQ(body->GetShapes()[0], r.m_Other);
    }
    EXPECT_NEAR(1.0f / 3.0f * 60 * 2.4f, float(m_Triggers.size()), 6.0f); // about 2.4 m inside at 3 m/s
    EXPECT_NEAR(-2.0f + 3.0f * 2.0f, body->GetGlobalPosition().x, 0.01f); // a trigger does not push

    // Moved onto a resting body, the trigger reports it from the next step.
    m_Triggers.clear();
    body->SetLinearVelocity(CVector::ZERO);
    trigger->SetGlobalPosition(body->GetGlobalPosition());
    Step();
    ASSERT_EQ(1u, m_Triggers.size());
    EXPECT_EQ(sdk::TRIGGER_ON_ENTER, m_Triggers[0].m_Status);
    trigger->SetGlobalPosition(CVector::ZERO);
    Step(2);

    // Grown around a resting body, the trigger reports it from the next step.
    m_Triggers.clear();
    body->SetLinearVelocity(CVector::ZERO);
    body->SetGlobalPosition({0, 0, 3});
    trigger->GetShapes()[0]->SetDimensions({4, 4, 4});
    EXPECT_VECTOR_NEAR(CVector(4, 4, 4), trigger->GetShapes()[0]->GetDimensions(), 0.0f);
    Step(2);
    ASSERT_EQ(2u, m_Triggers.size());
    EXPECT_EQ(sdk::TRIGGER_ON_ENTER, m_Triggers[0].m_Status);
    EXPECT_EQ(sdk::TRIGGER_ON_STAY, m_Triggers[1].m_Status);
}

// A turned trigger box tells of each kind of convex shape, and of each child
// of a compound, on every step it lies in the box, however deep, and on none
// while it is clear of the box, though inside the box's bounds.
TEST_F(SdkTest, TurnedTriggerBoxTellsEveryShapeInIt)
{
    m_Scene->SetGravity(CVector::ZERO);
    sdk::CActorDesc region;
    region.m_Shapes.push_back(sdk::CShapeDesc::Box({50, 10, 5}));
    region.m_Shapes.back().m_Flags = sdk::SF_TRIGGER_ENABLE;
    // A slab crossed by the x axis over some 14 m, whose bounds span 78 m of it.
    region.m_GlobalOrientation.FromAngleAxis(0.25f * float(M_PI), CVector::UNIT_Y);
    sdk::IActor* trigger = m_Scene->CreateActor(region);
    ASSERT_TRUE(trigger);

    struct CCase
    {
        const char* m_Name;
        std::vector<sdk::CShapeDesc> m_Shapes;
        float m_Reach; // from a shape's centre to the farthest point of it
    };
    sdk::CShapeDesc left = sdk::CShapeDesc::Sphere(0.3f);
    left.m_LocalPosition = {0, 0, -0.5f};
    sdk::CShapeDesc right = sdk::CShapeDesc::Box({0.2f, 0.2f, 0.2f});
    right.m_LocalPosition = {0, 0, 0.5f};
    const CCase cases[] = {
        {"box", {sdk::CShapeDesc::Box({0.3f, 0.3f, 0.3f})}, 0.52f},
        {"sphere", {sdk::CShapeDesc::Sphere(0.3f)}, 0.3f},
        {"capsule", {sdk::CShapeDesc::Capsule(0.2f, 0.6f)}, 0.5f},
        {"compound", {left, right}, 0.35f},
    };
    std::vector<sdk::IActor*> bodies;
    float y = -6.0f;
    for (const CCase& c : cases)
    {
        sdk::CActorDesc desc;
        desc.m_Shapes = c.m_Shapes;
        desc.m_Body = sdk::CBodyDesc();
        desc.m_Body->m_Mass = 1.0f;
        desc.m_Body->m_LinearVelocity = {20, 0, 0};
        desc.m_Body->m_AngularVelocity = {0, 0, 3}; // tumbling through
        desc.m_GlobalPosition = {-30, y, 0};
        y += 4.0f;
        bodies.push_back(m_Scene->CreateActor(desc));
        ASSERT_TRUE(bodies.back());
    }

    // How far a point keeps inside the box's faces; negative outside, as far as it is from the box.
    const sds::CQuaternion turnBack = trigger->GetGlobalOrientation().Inverse();
    const auto inside = [&](const CVector& world) {
        const CVector p = turnBack * (world - trigger->GetGlobalPosition());
        const CVector half(50, 10, 5);
        const CVector over(std::max(std::abs(p.x) - half.x, 0.0f), std::max(std::abs(p.y) - half.y, 0.0f),
                           std::max(std::abs(p.z) - half.z, 0.0f));
        if (over.Length() > 0.0f)
            return -over.Length();
        return std::min({half.x - std::abs(p.x), half.y - std::abs(p.y), half.z - std::abs(p.z)});
    };
    int deep[4] = {}, clear[4] = {};
    for (int step = 0; step < 180; ++step)
    {
        // The step's reports are of the poses it starts from.
        std::vector<std::pair<sdk::IShape*, float>> shapes;
        for (std::size_t b = 0; b < bodies.size(); ++b)
            for (sdk::IShape* shape : bodies[b]->GetShapes())
                shapes.push_back({shape, inside(shape->GetGlobalPosition()) / cases[b].m_Reach});
        m_Triggers.clear();
        Step();
        for (std::size_t b = 0, s = 0; b < bodies.size(); ++b)
            for (std::size_t i = 0; i < bodies[b]->GetShapes().size(); ++i, ++s)
            {
                const auto& [shape, depth] = shapes[s];
                const auto told = std::count_if(m_Triggers.begin(), m_Triggers.end(), [&](const CTriggerRecord& r) {
                    return r.m_Other == shape && r.m_Status != sdk::TRIGGER_ON_LEAVE;
                });
                // Within 20 % of its reach of a face, a shape may or may not be told of.
                if (depth > 1.2f)
                {
                    ++deep[b];
                    EXPECT_EQ(1, told) << cases[b].m_Name << " shape " << i << " inside, step " << step;
                }
                else if (depth < -1.2f)
                {
                    ++clear[b];
                    EXPECT_EQ(0, told) << cases[b].m_Name << " shape " << i << " outside, step " << step;
                }
            }
    }
    for (std::size_t b = 0; b < bodies.size(); ++b)
    {
        EXPECT_GT(deep[b], 30) << cases[b].m_Name;
        EXPECT_GT(clear[b], 100) << cases[b].m_Name;
    }
}

// A report for an actor released by an earlier report of the same step is dropped.
TEST_F(SdkTest, ReleasedActorsLeaveNoReports)
{
    class CReleaser : public sdk::IUserContactReport
    {
    public:
        void OnContactNotify(const sdk::CContactPair&, std::uint32_t) override
        {
            ++m_Reports;
            if (m_Victim)
                m_Scene->ReleaseActor(*m_Victim);
            m_Victim = nullptr;
        }
        sdk::IScene* m_Scene = nullptr;
        sdk::IActor* m_Victim = nullptr;
        int m_Reports = 0;
    };
    CReleaser releaser;
    sdk::CSceneDesc desc;
    desc.m_Gravity = {0, -9.8f, 0};
    desc.m_ContactReport = &releaser;
    sdk::IScene* scene = m_Sdk->CreateScene(desc);
    releaser.m_Scene = scene;
    scene->SetActorGroupPairFlags(0, 0, sdk::NOTIFY_ON_START_TOUCH);

    sdk::CActorDesc ground;
    ground.m_Shapes.push_back(sdk::CShapeDesc::Box({50, 0.5f, 50}));
    ground.m_GlobalPosition = {0, -0.5f, 0};
    ASSERT_TRUE(scene->CreateActor(ground));
    sdk::CActorDesc body;
    body.m_Shapes.push_back(sdk::CShapeDesc::Box({0.5f, 0.5f, 0.5f}));
    body.m_Body = sdk::CBodyDesc();
    body.m_Body->m_Mass = 1.0f;
    body.m_GlobalPosition = {-2, 1, 0};
    ASSERT_TRUE(scene->CreateActor(body));
    body.m_GlobalPosition = {2, 1, 0};
    releaser.m_Victim = scene->CreateActor(body); // lands in the same step, reported second

    for (int i = 0; i < 120; ++i)
    {
        scene->Simulate(1.0f / 60.0f);
        scene->FetchResults(true);
    }
    EXPECT_EQ(1, releaser.m_Reports);
    EXPECT_EQ(2u, scene->GetActors().size());
    m_Sdk->ReleaseScene(*scene);
}

// A trigger report's handler releases two of the bodies whose reports are
// still to come: neither of them is reported, and the scene goes on.
TEST_F(SdkTest, TwoActorsReleasedInOneDispatch)
{
    class CReleaser : public sdk::IUserTriggerReport
    {
    public:
        void OnTrigger(sdk::IShape&, sdk::IShape& other, std::uint32_t) override
        {
            m_Reported.push_back(&other.GetActor());
            for (sdk::IActor* victim : m_Victims)
                m_Scene->ReleaseActor(*victim);
            m_Victims.clear();
        }
        sdk::IScene* m_Scene = nullptr;
        std::vector<sdk::IActor*> m_Victims;
        std::vector<sdk::IActor*> m_Reported;
    };
    CReleaser releaser;
    sdk::CSceneDesc desc;
    desc.m_TriggerReport = &releaser;
    sdk::IScene* scene = m_Sdk->CreateScene(desc);
    releaser.m_Scene = scene;

    sdk::CActorDesc region;
    region.m_Shapes.push_back(sdk::CShapeDesc::Box({5, 5, 5}));
    region.m_Shapes.back().m_Flags = sdk::SF_TRIGGER_ENABLE;
    ASSERT_TRUE(scene->CreateActor(region));
    sdk::CActorDesc body;
    body.m_Shapes.push_back(sdk::CShapeDesc::Box({0.5f, 0.5f, 0.5f}));
    body.m_Body = sdk::CBodyDesc();
    std::vector<sdk::IActor*> bodies;
    for (float x : {-2.0f, 0.0f, 2.0f})
    {
        body.m_GlobalPosition = {x, 0, 0};
        bodies.push_back(scene->CreateActor(body)); // reported in the order made
    }
    releaser.m_Victims = {bodies[1], bodies[2]};
    scene->Simulate(1.0f / 60.0f);
    scene->FetchResults(true);
    EXPECT_EQ(std::vector<sdk::IActor*>{bodies[0]}, releaser.m_Reported);
    scene->Simulate(1.0f / 60.0f);
    scene->FetchResults(true);
    EXPECT_EQ(2u, releaser.m_Reported.size());
    EXPECT_EQ(2u, scene->GetActors().size());
    m_Sdk->ReleaseScene(*scene);
}
