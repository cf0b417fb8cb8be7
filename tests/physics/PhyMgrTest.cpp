#include "WorldFixture.h"

#include <cmath>

#include "core/Helpers.h"
#include "core/XmlException.h"
#include "physics/BoxActor.h"
#include "physics/FlagNames.h"
#include "physics/IPhyJumper.h"
#include "physics/IPhyRagDoll.h"
#include "physics/IWindRegion.h"
#include "physics/PhyException.h"
#include "physics/PhyObj.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/IShape.h"
#include "physics/sdk/ITriangleMesh.h"
#include "physics/sdk/IUserData.h"
#include "core/services/ILevelResourceLoader.h"
#include "core/services/TriangleMesh.h"
#include "support/FakePhyJumper.h"

using physics::CPhyMgr;
using physics::CPhyMgrException;
using physics::IPhyCollisionEvent;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

// A square of ground at y = 0 made of two triangles.
sds::CTriangleMesh GroundMesh(const std::string& material, float half = 20.0f)
{
    sds::CTriangleMesh mesh;
    mesh.m_Vertices = {{-half, 0, -half}, {half, 0, -half}, {half, 0, half}, {-half, 0, half}};
    mesh.m_Indices = {0, 2, 1, 0, 3, 2};
    mesh.m_MaterialName = material;
    return mesh;
}

} // namespace

TEST_F(WorldTest, StepsFollowTheFrameTime)
{
    const float step = 0.016667f;
    EXPECT_EQ(step, m_World->GetMaxTimeStep());
    auto body = std::make_shared<CRecordingBody>();
    m_World->AddMovingBody(body);
    Frames(1, 0.010f);
    EXPECT_EQ(0u, body->m_Timings.size());
    Frames(1, 0.010f);
    EXPECT_EQ(1u, body->m_Timings.size());
    EXPECT_NEAR(0.020f - step, m_World->GetAccumulator(), 1e-6f); // the rest carries over
    Frames(1, 0.010f);
    EXPECT_EQ(1u, body->m_Timings.size());

    // A broken frame time does not stop the world for good.
    m_World->Update({std::nanf(""), 0.0f});
    EXPECT_TRUE(HasError("Physics frame time nan ignored"));
    Frames(1, 0.010f);
    EXPECT_EQ(2u, body->m_Timings.size());

    // A long frame is caught up step by step, each with the step and the frame's clock.
    m_World.reset();
    m_World = CPhyMgr::Create(m_Physics, m_Materials);
    body = std::make_shared<CRecordingBody>();
    m_World->AddMovingBody(body);
    m_World->Update({0.1f, 7.5f});
    ASSERT_EQ(5u, body->m_Timings.size());
    for (const sds::CTiming& t : body->m_Timings)
    {
        EXPECT_EQ(step, t.m_Elapsed);
        EXPECT_EQ(7.5f, t.m_Global);
    }

    // A whole step's time from an empty accumulator waits for the next frame.
    m_World.reset();
    m_World = CPhyMgr::Create(m_Physics, m_Materials);
    body = std::make_shared<CRecordingBody>();
    m_World->AddMovingBody(body);
    Frames(1, step);
    EXPECT_EQ(0u, body->m_Timings.size());
    Frames(1, 0.001f);
    EXPECT_EQ(1u, body->m_Timings.size());
}

namespace {

// A stand-in for the jumper's body that writes down when it is driven.
class CJumperStandIn : public CFakePhyJumper
{
public:
    CJumperStandIn(std::vector<std::string>& log, const std::string& name) : m_Log(log), m_Name(name) {}
    void Update(const sds::CTiming& step) override { m_Log.push_back(m_Name + " " + sds::ToString(step.m_Global)); }
    void DrawForces() override { m_Log.push_back(m_Name + " forces"); }

private:
    std::vector<std::string>& m_Log;
    std::string m_Name;
};

class CLoggingBody : public CRecordingBody
{
public:
    explicit CLoggingBody(std::vector<std::string>& log) : m_Log(log) {}
    void Update(const sds::CTiming& timing) override
    {
        m_Log.push_back("body " + sds::ToString(timing.m_Global));
        CRecordingBody::Update(timing);
    }
    void DrawForces() override { m_Log.push_back("body forces"); }

private:
    std::vector<std::string>& m_Log;
};

} // namespace

// After each step: the step's queued calls, the jumpers in the order they
// came, then the moving bodies; a jumper that has gone is skipped.
TEST_F(WorldTest, JumpersAreDrivenAfterTheQueuedCallsAndBeforeTheBodies)
{
    std::vector<std::string> log;
    auto first = std::make_shared<CJumperStandIn>(log, "first");
    auto gone = std::make_shared<CJumperStandIn>(log, "gone");
    auto second = std::make_shared<CJumperStandIn>(log, "second");
    auto body = std::make_shared<CLoggingBody>(log);
    m_World->AddMovingBody(body);
    m_World->AddJumper(first);
    m_World->AddJumper(gone);
    m_World->AddJumper(second);
    gone.reset();

    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
    desc.m_Shapes.back().m_Material = m_World->GetMaterialIndex("Grass");
    physics::CPhyObj ground(desc);
    m_World->SetCollisionCallback([&log](const IPhyCollisionEvent&) { log.push_back("contact"); });
    sdk::CContactPair pair;
    pair.m_Actors[0] = pair.m_Actors[1] = ground.GetActor();
    sdk::CContactPoint point;
    point.m_Shapes[0] = point.m_Shapes[1] = ground.GetActor()->GetShapes()[0];
    pair.m_Points.push_back(point);
    m_World->OnContactNotify(pair, sdk::NOTIFY_ON_START_TOUCH);

    m_World->Update({0.04f, 3.0f}); // two steps
    const std::vector<std::string> steps = {"contact", "first 3", "second 3", "body 3",
                                            "first 3", "second 3", "body 3"};
    EXPECT_EQ(steps, log);

    log.clear();
    m_World->SetDebugDrawCallbacks(nullptr, nullptr);
    m_World->DrawDebug(false);
    EXPECT_TRUE(log.empty());
    m_World->DrawDebug(true);
    const std::vector<std::string> drawn = {"first forces", "second forces", "body forces"};
    EXPECT_EQ(drawn, log);
}

TEST_F(WorldTest, MaxTimeStepMustBePositive)
{
    // 0 or less would never use up the frame time.
    for (const char* text : {"0", "-0.016", "nan", "abc", "inf"})
    {
        xml::CNodePtr physics = xml::CNode::Clone(m_Physics);
        physics->GetAttribute("MaxTimeStep")->SetValue(text);
        try
        {
            CPhyMgr::Create(physics, m_Materials);
            ADD_FAILURE() << text;
        }
        catch (const CPhyMgrException& e)
        {
            EXPECT_EQ(std::string("MaxTimeStep must be a positive number of seconds, not '") + text + "'", e.what());
        }
    }
    EXPECT_NE(nullptr, CPhyMgr::GetSingleton()); // the fixture's world is still there
}

TEST_F(WorldTest, MaterialsAndSurfaces)
{
    EXPECT_EQ(0, m_World->GetMaterialIndex("Unknown"));
    const std::uint16_t body = m_World->GetMaterialIndex("JumperBody");
    const std::uint16_t grass = m_World->GetMaterialIndex("Grass");
    EXPECT_NE(0, body);
    EXPECT_NE(body, grass);
    EXPECT_EQ(grass, m_World->GetGfxMaterialIndex("Terrain"));
    EXPECT_EQ(grass, m_World->GetGfxMaterialIndex("Terrain/Grass")); // after ", "
    EXPECT_EQ(m_World->GetMaterialIndex("Ice"), m_World->GetGfxMaterialIndex("Terrain/Ice"));
    EXPECT_TRUE(m_Log.m_Lines.empty());
    EXPECT_EQ(0, m_World->GetGfxMaterialIndex("X"));
    EXPECT_TRUE(m_Log.Has("Warning: Gfx material 'X' does not have corresponding physical material"));

    const sdk::CMaterialDesc ice = m_World->GetScene().GetMaterial(m_World->GetMaterialIndex("Ice"));
    EXPECT_FLOAT_EQ(0.02f, ice.m_DynamicFriction);
    EXPECT_FLOAT_EQ(0.5f, m_World->GetScene().GetMaterial(0).m_DynamicFriction);

    m_World.reset();
    auto noMaterials = Xml("<Materials><DefaultMaterial Restitution=\"0\" StaticFriction=\"1\" DynamicFriction=\"1\" />"
                           "<Surface Type=\"Grass\" Materials=\"A\" /></Materials>");
    auto world = CPhyMgr::Create(m_Physics, noMaterials);
    EXPECT_EQ(0, world->GetGfxMaterialIndex("A"));
    world.reset();
    auto noSurface = Xml("<Materials><DefaultMaterial Restitution=\"0\" StaticFriction=\"1\" DynamicFriction=\"1\" />"
                         "<Material Name=\"Grass\" Restitution=\"0\" StaticFriction=\"1\" DynamicFriction=\"1\" />"
                         "</Materials>");
    EXPECT_THROW(CPhyMgr::Create(m_Physics, noSurface), xml::CNoNodeException);
}

TEST_F(WorldTest, FlagNames)
{
    std::uint32_t flags = 0;
    physics::AddFlagByName(flags, "NX_BF_DISABLE_GRAVITY");
    physics::AddFlagByName(flags, "NX_BF_FROZEN_ROT");
    physics::AddFlagByName(flags, "NX_AF_DISABLE_RESPONSE"); // either word takes either name
    EXPECT_EQ(sdk::BF_DISABLE_GRAVITY | sdk::BF_FROZEN_ROT | sdk::AF_DISABLE_RESPONSE, flags);
    physics::AddFlagByName(flags, "NX_BF_BOGUS");
    EXPECT_EQ(sdk::BF_DISABLE_GRAVITY | sdk::BF_FROZEN_ROT | sdk::AF_DISABLE_RESPONSE, flags);
    EXPECT_TRUE(m_Log.Has("Warning: Unsupported physics flag: NX_BF_BOGUS"));
}

// A box dropped on triangle-mesh ground gives one event per contact point when
// it lands, to both owners and the global callback, and nothing while it rests.
TEST_F(WorldTest, CollisionEventsWhenATouchBegins)
{
    std::vector<IPhyCollisionEvent> global;
    m_World->SetCollisionCallback([&](const IPhyCollisionEvent& e) { global.push_back(e); });
    auto ground = std::static_pointer_cast<physics::CPhyObj>(m_World->CreateTriMesh(GroundMesh("Terrain")));
    std::vector<IPhyCollisionEvent> onGround;
    ground->SetCollisionCallback([&](const IPhyCollisionEvent& e) { onGround.push_back(e); });

    auto box = std::static_pointer_cast<physics::CPhyObj>(
        m_World->CreateBox({0.2f, 1.0f, -0.3f}, {1, 1, 1}, 100.0f, "JumperBody"));
    std::vector<IPhyCollisionEvent> onBox;
    std::vector<int> frames;
    int frame = 0;
    box->SetCollisionCallback([&](const IPhyCollisionEvent& e) {
        onBox.push_back(e);
        frames.push_back(frame);
    });
    for (; frame < 300; ++frame)
        Frames(1);

    ASSERT_FALSE(global.empty());
    EXPECT_EQ(global.size(), onBox.size());
    EXPECT_EQ(global.size(), onGround.size());
    EXPECT_EQ(frames.front(), frames.back()); // all in the landing step, none while resting
    const std::uint16_t grass = m_World->GetMaterialIndex("Grass");
    const std::uint16_t body = m_World->GetMaterialIndex("JumperBody");
    for (const IPhyCollisionEvent& e : global)
    {
        EXPECT_EQ(std::min(grass, body), e.m_FirstMaterial);
        EXPECT_EQ(std::max(grass, body), e.m_SecondMaterial);
        EXPECT_NEAR(0.0f, e.m_Point.y, 0.05f);
    }

    // Both shapes of the default material: no event at all.
    global.clear();
    auto plain = m_World->CreateBox({50, 1, 50}, {1, 1, 1}, 100.0f, "");
    auto base = m_World->CreateBox({50, -0.5f, 50}, {4, 1, 4}, 0.0f, "Unknown");
    Frames(120);
    EXPECT_TRUE(global.empty());
    EXPECT_NEAR(0.5f, plain->GetPos().y, 0.05f);
}

// A body 0.3 m thick falling at 60 m/s moves a metre a step: swept, it meets
// the terrain mesh and is told so; unswept, it passes through.
TEST_F(WorldTest, AFastBodyDoesNotTunnelThroughTheTerrain)
{
    auto ground = m_World->CreateTriMesh(GroundMesh("Terrain", 50.0f));
    for (bool swept : {true, false})
    {
        SCOPED_TRACE(swept);
        sdk::CActorDesc desc;
        desc.m_Shapes.push_back(sdk::CShapeDesc::Box({0.15f, 0.15f, 0.15f}));
        desc.m_Shapes.back().m_Material = m_World->GetMaterialIndex("JumperBody");
        desc.m_Body = sdk::CBodyDesc();
        desc.m_Body->m_Mass = 80.0f;
        desc.m_Body->m_LinearVelocity = {0.0f, -60.0f, 0.0f};
        if (swept)
            desc.m_Body->m_Flags |= sdk::BF_CONTINUOUS_COLLISION;
        desc.m_GlobalPosition = {swept ? 0.0f : 10.0f, 10.3f, 0.0f};
        physics::CPhyObj body(desc);
        int contacts = 0;
        body.SetCollisionCallback([&contacts](const IPhyCollisionEvent& e) {
            ++contacts;
            EXPECT_NEAR(0.0f, e.m_Point.y, 0.2f);
        });
        Frames(30);
        if (swept)
        {
            EXPECT_GT(contacts, 0);
            EXPECT_GT(body.GetPos().y, 0.0f);
        }
        else
        {
            EXPECT_EQ(0, contacts);
            EXPECT_LT(body.GetPos().y, -1.0f);
        }
    }
}

// A body whose middle has got just under the ground mesh's surface, as a doll
// thrown at it leaves a limb or its head, is pushed back up on top, not on
// down through: the mesh is solid from its front. Whichever of the two the
// world was given first.
TEST_F(WorldTest, ABodyHalfUnderTheTerrainComesUpOnTop)
{
    sds::CQuaternion lying;
    lying.FromAngleAxis(1.5707963f, {0, 0, 1});
    struct CCase
    {
        const char* m_What;
        sdk::CShapeDesc m_Shape;
        sds::CQuaternion m_Orientation;
        float m_Depth; // of its middle under the surface
        float m_Thickness; // from its middle down
    };
    const CCase cases[] = {{"a trunk", sdk::CShapeDesc::Box({0.12f, 0.12f, 0.2f}), {}, 0.02f, 0.12f},
                           {"a head", sdk::CShapeDesc::Sphere(0.055f), {}, 0.03f, 0.055f},
                           {"a limb", sdk::CShapeDesc::Capsule(0.025f, 0.2f), lying, 0.01f, 0.025f}};
    for (const CCase& c : cases)
        for (bool groundFirst : {true, false})
        {
            SCOPED_TRACE(std::string(c.m_What) + (groundFirst ? ", ground first" : ", body first"));
            std::shared_ptr<physics::IPhyObj> ground;
            if (groundFirst)
                ground = m_World->CreateTriMesh(GroundMesh("Terrain"));
            sdk::CActorDesc desc;
            desc.m_Shapes.push_back(c.m_Shape);
            desc.m_Shapes.back().m_Material = m_World->GetMaterialIndex("JumperBody");
            desc.m_Body = sdk::CBodyDesc();
            desc.m_Body->m_Mass = 5.0f;
            desc.m_GlobalPosition = {0.0f, -c.m_Depth, 0.0f};
            desc.m_GlobalOrientation = c.m_Orientation;
            physics::CPhyObj body(desc);
            if (!groundFirst)
                ground = m_World->CreateTriMesh(GroundMesh("Terrain"));
            for (int second = 1; second <= 3; ++second)
            {
                Frames(60);
                EXPECT_GT(body.GetPos().y, 0.5f * c.m_Thickness) << second << " s on";
                EXPECT_LT(body.GetPos().y, c.m_Thickness + 0.05f) << second << " s on";
            }
        }
}

// A handler may release objects: calls queued for an object gone since are dropped.
TEST_F(WorldTest, QueuedCallsSkipObjectsThatHaveGone)
{
    auto ground = m_World->CreateTriMesh(GroundMesh("Terrain"));
    auto box = [&](float x) {
        sdk::CActorDesc desc;
        desc.m_Shapes.push_back(sdk::CShapeDesc::Box({0.5f, 0.5f, 0.5f}));
        desc.m_Shapes.back().m_Material = m_World->GetMaterialIndex("JumperBody");
        desc.m_Body = sdk::CBodyDesc();
        desc.m_Body->m_Mass = 100.0f;
        desc.m_GlobalPosition = {x, 1, 0};
        return std::make_shared<physics::CPhyObj>(desc);
    };
    auto first = box(-3); // lands in the same step as the second, and is told first
    auto second = box(3);
    int firstCalls = 0, secondCalls = 0, globalCalls = 0;
    first->SetCollisionCallback([&](const IPhyCollisionEvent&) {
        ++firstCalls;
        second.reset();
    });
    second->SetCollisionCallback([&](const IPhyCollisionEvent&) { ++secondCalls; });
    m_World->SetCollisionCallback([&](const IPhyCollisionEvent&) { ++globalCalls; });
    Frames(60);
    EXPECT_GT(firstCalls, 0);
    EXPECT_EQ(nullptr, second);
    EXPECT_EQ(0, secondCalls);
    EXPECT_GT(globalCalls, firstCalls); // the second box's events still reach the global callback
}

// The world's handling of one report: records per contact point, each to the
// first actor's owner, the second's, then the global callback; an end-of-touch
// report gives nothing.
TEST_F(WorldTest, ContactReportOfThreePoints)
{
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
    desc.m_Shapes.back().m_Material = m_World->GetMaterialIndex("JumperBody");
    physics::CPhyObj jumper(desc);
    desc.m_Shapes.back().m_Material = m_World->GetMaterialIndex("Grass");
    desc.m_GlobalPosition = {10, 0, 0};
    physics::CPhyObj ground(desc);

    std::vector<std::string> calls;
    jumper.SetCollisionCallback([&](const IPhyCollisionEvent& e) { calls.push_back("jumper " + std::to_string(int(e.m_Point.x))); });
    ground.SetCollisionCallback([&](const IPhyCollisionEvent& e) { calls.push_back("ground " + std::to_string(int(e.m_Point.x))); });
    m_World->SetCollisionCallback([&](const IPhyCollisionEvent& e) { calls.push_back("global " + std::to_string(int(e.m_Point.x))); });

    sdk::CContactPair pair;
    pair.m_Actors[0] = jumper.GetActor();
    pair.m_Actors[1] = ground.GetActor();
    for (int i = 1; i <= 3; ++i)
    {
        sdk::CContactPoint point;
        point.m_Position = {float(i), 0, 0};
        point.m_Shapes[0] = jumper.GetActor()->GetShapes()[0];
        point.m_Shapes[1] = ground.GetActor()->GetShapes()[0];
        pair.m_Points.push_back(point);
    }
    m_World->OnContactNotify(pair, sdk::NOTIFY_ON_END_TOUCH);
    m_World->OnContactNotify(pair, sdk::NOTIFY_ON_START_TOUCH);
    EXPECT_TRUE(calls.empty()); // queued until after the step
    Frames(2);
    const std::vector<std::string> expected = {"jumper 1", "ground 1", "global 1", "jumper 2", "ground 2",
                                               "global 2", "jumper 3", "ground 3", "global 3"};
    EXPECT_EQ(expected, calls);
}

namespace {

// A wind region as the world sees one: its trigger actor's user data.
class CTestRegion : public physics::IWindRegion, public sdk::IUserData
{
public:
    CTestRegion(sdk::IScene& scene, const CVector& wind) : m_Scene(scene), m_Wind(wind)
    {
        sdk::CActorDesc desc;
        desc.m_Shapes.push_back(sdk::CShapeDesc::Box({5, 5, 5}));
        desc.m_Shapes.back().m_Flags = sdk::SF_TRIGGER_ENABLE | sdk::SF_VISUALIZATION;
        desc.m_UserData = this;
        m_Actor = scene.CreateActor(desc);
    }
    ~CTestRegion() override { m_Scene.ReleaseActor(*m_Actor); }
    void Update(const sds::CTiming&) override {}
    CVector GetWind(const CVector&) override { return m_Wind; }
    void Load(const xml::CNodePtr&) override {}
    xml::CNodePtr GetNode() const override { return nullptr; }

    sdk::IScene& m_Scene;
    sdk::IActor* m_Actor;
    CVector m_Wind;
};

// A body that counts the wind it is given.
class CWindBody : public CRecordingBody
{
public:
    // Two boxes side by side, out of the scene's gravity.
    explicit CWindBody(const CVector& position)
    {
        sdk::CActorDesc desc;
        for (float x : {-0.5f, 0.5f})
        {
            desc.m_Shapes.push_back(sdk::CShapeDesc::Box({0.25f, 0.25f, 0.25f}));
            desc.m_Shapes.back().m_LocalPosition = {x, 0, 0};
        }
        desc.m_Body = sdk::CBodyDesc();
        desc.m_Body->m_Mass = 100.0f;
        desc.m_Body->m_Flags |= sdk::BF_DISABLE_GRAVITY;
        desc.m_GlobalPosition = position;
        CreateActor(desc);
    }
    void ApplyWind(physics::IWindMgr& source) override
    {
        ++m_Winds;
        CRecordingBody::ApplyWind(source);
    }
    int m_Winds = 0;
};

} // namespace

// A body whose two shapes lie in two overlapping regions is given the wind
// once a step: the regions' sum, no stronger than the strongest wind. Wind
// that a body does not use is gone by the next step.
TEST_F(WorldTest, WindReachesABodyOnceAStepUpToTheStrongestWind)
{
    auto east = std::make_shared<CTestRegion>(m_World->GetScene(), CVector(25, 0, 0));
    auto north = std::make_shared<CTestRegion>(m_World->GetScene(), CVector(0, 0, 25));
    m_World->GetWindMgr().GetRegions() = {east, north};
    auto moving = std::make_shared<CWindBody>(CVector(0, 0, 0));
    auto idle = std::make_shared<CWindBody>(CVector(0, 1, 0)); // never updated
    auto outside = std::make_shared<CWindBody>(CVector(0, 20, 0));
    m_World->AddMovingBody(moving);
    m_World->AddMovingBody(outside);

    Frames(1, 0.02f); // one step
    ASSERT_EQ(1u, moving->m_Timings.size());
    EXPECT_EQ(1, moving->m_Winds);
    // 35 m/s of wind capped at 30 on a body at rest: 0.5 x 1.23 x 30 x 30.
    const CVector drag = moving->GetDrag().GetForce();
    EXPECT_NEAR(553.5f, drag.Length(), 0.5f);
    EXPECT_NEAR(drag.x, drag.z, 1e-3f);

    Frames(4, 0.02f);
    EXPECT_EQ(5u, moving->m_Timings.size());
    EXPECT_EQ(5, moving->m_Winds);
    EXPECT_EQ(5, idle->m_Winds);
    EXPECT_NEAR(30.0f, idle->GetDrag().GetWind().Length(), 1e-4f); // this step's wind alone
    EXPECT_EQ(0, outside->m_Winds);
    EXPECT_EQ(CVector::ZERO, outside->GetActor()->GetLinearVelocity());

    idle->SetPos({0, 50, 0});
    Frames(1, 0.02f);
    EXPECT_EQ(CVector::ZERO, idle->GetDrag().GetWind());
    m_World->GetWindMgr().GetRegions().clear();
}

namespace {

// An object told of the triggers it is in.
class CTriggeredBody : public physics::CPhyObj
{
public:
    explicit CTriggeredBody(const sdk::CActorDesc& desc) : CPhyObj(desc) {}
    void OnTrigger(sdk::IShape& trigger, sdk::IShape& other, std::uint32_t) override
    {
        m_Triggers.push_back(&trigger);
        EXPECT_EQ(GetActor(), &other.GetActor());
        if (m_OnTrigger)
            m_OnTrigger();
    }
    std::vector<sdk::IShape*> m_Triggers;
    std::function<void()> m_OnTrigger;
};

} // namespace

// A trigger released by the handler of an earlier call of the same step takes
// the calls still queued for it along.
TEST_F(WorldTest, QueuedTriggerCallsSkipTriggersThatHaveGone)
{
    sdk::CActorDesc box;
    box.m_Shapes.push_back(sdk::CShapeDesc::Box({4, 4, 4}));
    box.m_Shapes.back().m_Flags = sdk::SF_TRIGGER_ENABLE;
    auto trigger = std::make_shared<physics::CPhyObj>(box);
    box.m_Shapes.back() = sdk::CShapeDesc::Box({0.5f, 0.5f, 0.5f});
    box.m_Body = sdk::CBodyDesc();
    box.m_Body->m_Flags |= sdk::BF_DISABLE_GRAVITY;
    box.m_GlobalPosition = {-1, 0, 0};
    CTriggeredBody first(box); // told first: made first
    box.m_GlobalPosition = {1, 0, 0};
    CTriggeredBody second(box);

    Frames(1, 0.02f);
    ASSERT_EQ(1u, first.m_Triggers.size());
    EXPECT_EQ(trigger->GetActor()->GetShapes()[0], first.m_Triggers[0]);
    EXPECT_EQ(1u, second.m_Triggers.size());

    first.m_Triggers.clear();
    second.m_Triggers.clear();
    first.m_OnTrigger = [&trigger]() { trigger.reset(); };
    Frames(1, 0.02f);
    EXPECT_EQ(1u, first.m_Triggers.size());
    EXPECT_TRUE(second.m_Triggers.empty());
}

TEST_F(WorldTest, AirDensityAndResourceLoader)
{
    std::vector<std::pair<std::string, float>> progress;
    auto loader = m_World->CreateResourceLoader(
        LoadFixture("dropzone.xml"), [&](const std::string& m, float f) { progress.emplace_back(m, f); });
    ASSERT_EQ(1u, progress.size());
    EXPECT_EQ("Loading wind information", progress[0].first);
    EXPECT_EQ(0.0f, progress[0].second);
    EXPECT_TRUE(m_Log.Has("Resource loader: Physics"));
    EXPECT_EQ(1000.0f, m_World->GetDropZoneElevation());

    EXPECT_NEAR(1.12f, m_World->GetAirDensity(0.0f), 1e-5f);
    EXPECT_NEAR(1.01f, m_World->GetAirDensity(1000.0f), 1e-5f);
    EXPECT_NEAR(1.01f, m_World->GetAirDensity(5000.0f), 1e-5f);
    EXPECT_NEAR(1.23f, m_World->GetAirDensity(-3000.0f), 1e-5f);
    loader->Restart();
    loader->Update({0.1f, 0.0f});

    // A newer loader takes over; the old one leaves when its last holder does.
    auto next = m_World->CreateResourceLoader(LoadFixture("dropzone.xml"), [](const std::string&, float) {});
    loader.reset();
    EXPECT_TRUE(m_Log.Has("Resource unloaded: Physics"));

    EXPECT_THROW(m_World->CreateResourceLoader(Xml("<Physics><Info Name=\"Drop zone elevation\">5</Info></Physics>"),
                                               [](const std::string&, float) {}),
                 xml::CNoNodeException);
    EXPECT_THROW(m_World->CreateResourceLoader(Xml("<Physics><Wind /></Physics>"), [](const std::string&, float) {}),
                 xml::CNoNodeException);
}

// A level and then the next: once the first level's loader goes, its regions
// and their trigger boxes are gone and the new level's blow on.
TEST_F(WorldTest, TheNextLevelKeepsItsOwnWind)
{
    const auto level = [](const std::string& region) {
        return Xml("<Physics><Info Name=\"Drop zone elevation\">0</Info><Wind Enabled=\"true\">" + region +
                   "</Wind></Physics>");
    };
    const std::size_t actors = m_World->GetScene().GetActors().size();
    auto first = m_World->CreateResourceLoader(
        level("<Region Direction=\"1, 0, 0\" Speed=\"5\"><Shape Position=\"0, 0, 0\" Size=\"10, 10, 10\" /></Region>"),
        [](const std::string&, float) {});
    EXPECT_EQ(CVector(5, 0, 0), m_World->GetWindMgr().GetWind(CVector::ZERO));
    EXPECT_EQ(actors + 1, m_World->GetScene().GetActors().size());

    // No progress callback is as good as one that ignores the progress.
    auto next = m_World->CreateResourceLoader(
        level("<Region Direction=\"0, 0, 1\" Speed=\"3\"><Shape Position=\"100, 0, 0\" Size=\"10, 10, 10\" /></Region>"),
        nullptr);
    first.reset();
    ASSERT_EQ(1u, m_World->GetWindMgr().GetRegions().size());
    EXPECT_EQ(CVector::ZERO, m_World->GetWindMgr().GetWind(CVector::ZERO));
    EXPECT_EQ(CVector(0, 0, 3), m_World->GetWindMgr().GetWind({100, 0, 0}));
    EXPECT_EQ(actors + 1, m_World->GetScene().GetActors().size());

    next->Restart();
    EXPECT_EQ(CVector(0, 0, 3), m_World->GetWindMgr().GetWind({100, 0, 0}));
    EXPECT_EQ(actors + 1, m_World->GetScene().GetActors().size());

    // The world does not hold a level's loader: the level's wind goes with it.
    next.reset();
    EXPECT_TRUE(m_Log.Has("Resource unloaded: Physics"));
    EXPECT_TRUE(m_World->GetWindMgr().GetRegions().empty());
}

TEST_F(WorldTest, TriangleMeshes)
{
    auto mesh = std::static_pointer_cast<physics::CPhyObj>(m_World->CreateTriMesh(GroundMesh("Terrain/Ice", 1.0f)));
    const sdk::IShape& shape = *mesh->GetActor()->GetShapes()[0];
    EXPECT_EQ(sdk::SHAPE_TRIANGLE_MESH, shape.GetType());
    EXPECT_EQ(2u, shape.GetTriangleMesh()->GetTriangleCount());
    EXPECT_EQ(m_World->GetMaterialIndex("Ice"), shape.GetMaterial());
    EXPECT_FALSE(mesh->GetActor()->IsDynamic());

    m_World->CreateTriMesh(GroundMesh("Unmapped"));
    EXPECT_TRUE(m_Log.Has("Warning: Gfx material 'Unmapped' does not have corresponding physical material"));

    struct CBad
    {
        std::vector<CVector> m_Vertices;
        std::vector<std::uint32_t> m_Indices;
        const char* m_Message;
    };
    const CBad bad[] = {
        {{}, {0, 1, 2}, "CPhyTriMesh is initialized with an empty mesh"},
        {{{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}, {}, "CPhyTriMesh is initialized with an empty mesh"},
        {{{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}, {0, 1, 2, 0}, "CPhyTriMesh: the mesh has 4 indices, which is not three per triangle"},
        {{{0, 0, 0}, {1, 0, 0}, {0, 0, 1}}, {0, 1, 3}, "CPhyTriMesh: index 2 is 3, past the mesh's 3 vertices"},
        {{{0, 0, 0}, {std::nanf(""), 0, 0}, {0, 0, 1}}, {0, 1, 2}, "Error creating terrain from polygons"},
    };
    const std::size_t actors = m_World->GetScene().GetActors().size();
    for (const CBad& b : bad)
    {
        sds::CTriangleMesh m;
        m.m_Vertices = b.m_Vertices;
        m.m_Indices = b.m_Indices;
        try
        {
            m_World->CreateTriMesh(m);
            ADD_FAILURE() << b.m_Message;
        }
        catch (const physics::CPhyException& e)
        {
            EXPECT_STREQ(b.m_Message, e.what());
        }
    }
    EXPECT_EQ(actors, m_World->GetScene().GetActors().size());
}

TEST_F(WorldTest, ObjectsAndTheirActors)
{
    sdk::IScene& scene = m_World->GetScene();
    const std::size_t before = scene.GetActors().size();
    m_World->CreateGroundPlane();
    auto box = m_World->CreateBox({0, 3, 0}, {1, 1, 1}, 50.0f, "Grass");
    auto still = m_World->CreateBox({3, 3, 0}, {1, 1, 1}, 0.0f, "Grass");
    EXPECT_EQ(before + 3, scene.GetActors().size());
    Frames(120);
    EXPECT_NEAR(0.5f, box->GetPos().y, 0.05f); // fell onto the plane
    EXPECT_EQ(CVector(3, 3, 0), still->GetPos());

    {
        sdk::CActorDesc desc;
        desc.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
        desc.m_Body = sdk::CBodyDesc();
        auto own = std::make_shared<physics::CPhyObj>(desc);
        EXPECT_EQ(own.get(), own->GetActor()->GetUserData());
        EXPECT_EQ(before + 4, scene.GetActors().size());

        own->EnableCollision(false);
        EXPECT_TRUE(own->GetActor()->ReadActorFlag(sdk::AF_DISABLE_COLLISION | sdk::AF_DISABLE_RESPONSE));
        own->EnableCollision(true);
        EXPECT_FALSE(own->GetActor()->ReadActorFlag(sdk::AF_DISABLE_COLLISION));
        EXPECT_FALSE(own->GetActor()->ReadActorFlag(sdk::AF_DISABLE_RESPONSE));

        // Driving another object's actor for a while, then letting go.
        physics::CPhyObj driver;
        driver.BindActor(own);
        EXPECT_EQ(&driver, own->GetActor()->GetUserData());
        EXPECT_EQ(own->GetActor(), driver.GetActor());
        EXPECT_FALSE(driver.OwnsActor());
        driver.ReleaseActor();
        EXPECT_EQ(own.get(), own->GetActor()->GetUserData());

        // The owner goes first: the driver has no actor left to reach for.
        driver.BindActor(own);
        own.reset();
        EXPECT_EQ(nullptr, driver.GetActor());
        EXPECT_THROW(driver.GetPos(), std::runtime_error);
        driver.EnableCollision(false);
    }
    EXPECT_EQ(before + 3, scene.GetActors().size()); // released with its object
    EXPECT_THROW(physics::CPhyObj(sdk::CActorDesc()), physics::CPhyException);

    // An object that outlives the world does not reach for the gone scene.
    auto late = m_World->CreateBox({0, 10, 0}, {1, 1, 1}, 1.0f, "");
    m_World.reset();
    late.reset();
}

// Two pilot chutes bind one bone's actor in turn; whichever lets go last, the
// actor goes back to its owner, never to a binder that has gone.
TEST_F(WorldTest, BindersLetGoOfAnActorInEitherOrder)
{
    for (bool firstGoesFirst : {true, false})
    {
        SCOPED_TRACE(firstGoesFirst);
        sdk::CActorDesc desc;
        desc.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
        desc.m_Body = sdk::CBodyDesc();
        auto bone = std::make_shared<physics::CPhyObj>(desc);
        auto first = std::make_unique<physics::CPhyObj>();
        auto second = std::make_unique<physics::CPhyObj>();
        first->BindActor(bone);
        second->BindActor(bone);
        EXPECT_EQ(second.get(), bone->GetActor()->GetUserData());
        if (firstGoesFirst)
            first.reset();
        else
            second.reset();
        (firstGoesFirst ? second : first).reset();
        EXPECT_EQ(bone.get(), bone->GetActor()->GetUserData());
    }
}

// What a caller kept past its world must leave the next world alone, though
// that world's scene and actors often come to the same addresses.
TEST_F(WorldTest, ObjectsThatOutliveTheirWorldLeaveTheNextOneAlone)
{
    struct CKept
    {
        std::shared_ptr<physics::CPhyObj> m_Body;
        std::shared_ptr<physics::IWindRegion> m_Region;
        std::shared_ptr<physics::IPhyRagDoll> m_Doll;
    };
    const auto build = [this]() {
        sdk::CActorDesc desc;
        desc.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
        desc.m_Body = sdk::CBodyDesc();
        return CKept{std::make_shared<physics::CPhyObj>(desc),
                     m_World->GetWindMgr().CreateRegion(
                         Xml("<Region Speed=\"1\"><Shape Position=\"0, 0, 0\" Size=\"4, 4, 4\" /></Region>")),
                     std::dynamic_pointer_cast<physics::IPhyRagDoll>(m_World->CreateScyPhy(
                         std::string(SDS_TEST_PHS_DIR) + "/RagDoll.phs", {0, 5, 0}, sds::CQuaternion::IDENTITY,
                         nullptr))};
    };
    CKept old = build();
    m_World.reset();
    m_World = CPhyMgr::Create(m_Physics, m_Materials);
    m_World->SetLogCallbacks(nullptr, nullptr, [this](const std::string& t) { m_Errors.push_back(t); });
    CKept fresh = build();
    const std::size_t actors = m_World->GetScene().GetActors().size();
    const std::uint16_t joints = fresh.m_Doll->GetJointCount();
    ASSERT_GT(joints, 0);

    old = CKept();
    EXPECT_EQ(actors, m_World->GetScene().GetActors().size());
    EXPECT_EQ(joints, fresh.m_Doll->GetJointCount());
    fresh = CKept();
    EXPECT_TRUE(m_Errors.empty()) << m_Errors[0];
}

TEST_F(WorldTest, ProbesAndDebugDrawing)
{
    auto probe = m_World->CreateProbe({0, 50, 0}, 0.3f);
    EXPECT_EQ(0.3f, std::static_pointer_cast<physics::CPhyMovingBody>(probe)->GetDrag().GetArea());
    EXPECT_EQ("1", m_Physics->GetChild("Probe")->GetChildById("ForceDrag", "Drag", "Name,Id")->GetAttribute("Area")->GetValue());
    EXPECT_TRUE(std::static_pointer_cast<physics::CPhyObj>(probe)->GetActor()->ReadBodyFlag(sdk::BF_CONTINUOUS_COLLISION));
    Frames(60);
    EXPECT_LT(probe->GetPos().y, 47.0f); // slowed by its drag
    EXPECT_GT(probe->GetPos().y, 45.5f);
    EXPECT_EQ(sds::CQuaternion::IDENTITY, probe->GetOrientation()); // its rotation is frozen

    CTestRegion region(m_World->GetScene(), CVector::ZERO);
    struct CDrawn
    {
        sdk::EShapeType m_Kind;
        CVector m_Size;
        float m_Alpha;
    };
    std::vector<CDrawn> shapes;
    int forces = 0;
    m_World->SetDebugDrawCallbacks(
        [&](const sdk::IShape&, sdk::EShapeType kind, const CVector&, const CVector& size, const sds::CQuaternion&,
            const sds::CFourFloats& colour, bool) { shapes.push_back({kind, size, colour.v[3]}); },
        [&](const physics::IPhyForce&, const CVector&, const CVector&, const sds::CFourFloats&, bool) { ++forces; });
    m_World->DrawDebug(false);
    ASSERT_EQ(2u, shapes.size());
    EXPECT_EQ(CVector(0.2f, 0.2f, 0.2f), shapes[0].m_Size);
    EXPECT_EQ(1.0f, shapes[0].m_Alpha);
    EXPECT_EQ(CVector(10, 10, 10), shapes[1].m_Size);
    EXPECT_EQ(0.4f, shapes[1].m_Alpha); // a trigger
    EXPECT_EQ(0, forces);
    m_World->DrawDebug(true);
    EXPECT_EQ(2, forces); // the probe's gravity and drag
    m_World->SetDebugDrawCallbacks(nullptr, nullptr);
}

TEST_F(WorldTest, LayerErrorsReachTheErrorLog)
{
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
    desc.m_Body = sdk::CBodyDesc();
    physics::CPhyObj body(desc);
    body.SetPos({std::nanf(""), 0, 0});
    ASSERT_EQ(1u, m_Errors.size());
    EXPECT_EQ(0u, m_Errors[0].find("SDK error code = 1; message = 'SetGlobalPosition: position (nan,0,0) dropped'; "
                                   "file = 'BulletActor.cpp'; line = "))
        << m_Errors[0];
    EXPECT_EQ(CVector::ZERO, body.GetPos());
}
