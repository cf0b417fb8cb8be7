// One jumper-sized body, swept against fast motion, with ten light boxes fixed
// to it, pushed about over a 100 x 100-cell terrain mesh for 10,000 steps: once
// through the physics layer and once on the bare engine. Prints the time per
// step of each and the ratio.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include <btBulletDynamicsCommon.h>

#include "physics/MemoryReadBuffer.h"
#include "physics/MemoryWriteBuffer.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/Cooking.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/ISdk.h"
#include "physics/sdk/IUserContactReport.h"
#include "physics/sdk/JointDesc.h"
#include "physics/sdk/SceneDesc.h"
#include "physics/sdk/TriangleMeshDesc.h"

namespace sdk = physics::sdk;

namespace {

const int STEPS = 10000;
const float STEP = 0.016667f;
const int CELLS = 100;
const float TERRAIN_SIZE = 400.0f;
const float GRAVITY = -9.8f;
const int ITERATIONS = 8;
const float SKIN_WIDTH = 0.025f;
const sds::CVector BODY_HALF(0.15f, 0.75f, 0.25f);
const float BODY_MASS = 80.0f;
const sds::CVector BOX_HALF(0.25f, 0.1f, 0.5f);
const float BOX_MASS = 1.0f;
const sds::CVector START(0.0f, 12.0f, 0.0f);

// Rolling hills, so that the bodies keep finding new triangles.
struct CTerrain
{
    CTerrain()
    {
        for (int z = 0; z <= CELLS; ++z)
            for (int x = 0; x <= CELLS; ++x)
            {
                const float px = TERRAIN_SIZE * (float(x) / CELLS - 0.5f);
                const float pz = TERRAIN_SIZE * (float(z) / CELLS - 0.5f);
                m_Points.push_back({px, 2.0f * std::sin(px * 0.05f) * std::cos(pz * 0.05f), pz});
            }
        for (int z = 0; z < CELLS; ++z)
            for (int x = 0; x < CELLS; ++x)
            {
                const int i = z * (CELLS + 1) + x;
                const int quad[6] = {i, i + CELLS + 1, i + 1, i + 1, i + CELLS + 1, i + CELLS + 2};
                m_Indices.insert(m_Indices.end(), quad, quad + 6);
            }
    }
    std::vector<sds::CVector> m_Points;
    std::vector<int> m_Indices;
};

sds::CVector BoxPosition(int i) { return START + sds::CVector(float(i) - 4.5f, 3.0f, 0.0f); }

// The push on the body at step `step`: round and round, so that it keeps moving.
sds::CVector Push(int step)
{
    const float angle = float(step) * STEP * 0.5f;
    return {600.0f * std::cos(angle), 0.0f, 600.0f * std::sin(angle)};
}

class CCountingReport : public sdk::IUserContactReport
{
public:
    void OnContactNotify(const sdk::CContactPair& pair, std::uint32_t) override { m_Points += pair.m_Points.size(); }
    std::size_t m_Points = 0;
};

double TimeLayer(const CTerrain& terrain, sds::CVector& end)
{
    std::unique_ptr<sdk::ISdk> physicsSdk = sdk::CreatePhysicsSdk(nullptr);
    physicsSdk->SetParameter(sdk::PARAM_SKIN_WIDTH, SKIN_WIDTH);
    CCountingReport report;
    sdk::CSceneDesc sceneDesc;
    sceneDesc.m_Gravity = {0.0f, GRAVITY, 0.0f};
    sceneDesc.m_MaxIterations = ITERATIONS;
    sceneDesc.m_ContactReport = &report;
    sdk::IScene& scene = *physicsSdk->CreateScene(sceneDesc);
    scene.SetActorGroupPairFlags(0, 0, sdk::NOTIFY_ON_START_TOUCH);

    sdk::CTriangleMeshDesc meshDesc;
    meshDesc.m_NumVertices = std::uint32_t(terrain.m_Points.size());
    meshDesc.m_Points = terrain.m_Points.data();
    meshDesc.m_NumTriangles = std::uint32_t(terrain.m_Indices.size() / 3);
    meshDesc.m_Triangles = terrain.m_Indices.data();
    physics::details::MemoryWriteBuffer cooked;
    sdk::CookTriangleMesh(meshDesc, cooked);
    physics::details::MemoryReadBuffer reader(cooked.GetData(), cooked.GetCurrentSize());
    sdk::CActorDesc ground;
    ground.m_Shapes.push_back(sdk::CShapeDesc::TriangleMesh(physicsSdk->CreateTriangleMesh(reader)));
    ground.m_Shapes.back().m_Material = 1;
    scene.CreateActor(ground);

    sdk::CActorDesc bodyDesc;
    bodyDesc.m_Shapes.push_back(sdk::CShapeDesc::Box(BODY_HALF));
    bodyDesc.m_Body = sdk::CBodyDesc();
    bodyDesc.m_Body->m_Mass = BODY_MASS;
    bodyDesc.m_Body->m_Flags |= sdk::BF_CONTINUOUS_COLLISION;
    bodyDesc.m_GlobalPosition = START;
    sdk::IActor& body = *scene.CreateActor(bodyDesc);
    for (int i = 0; i < 10; ++i)
    {
        sdk::CActorDesc boxDesc;
        boxDesc.m_Shapes.push_back(sdk::CShapeDesc::Box(BOX_HALF));
        boxDesc.m_Body = sdk::CBodyDesc();
        boxDesc.m_Body->m_Mass = BOX_MASS;
        boxDesc.m_GlobalPosition = BoxPosition(i);
        sdk::CJointDesc joint(sdk::JOINT_FIXED);
        joint.m_Actors[0] = &body;
        joint.m_Actors[1] = scene.CreateActor(boxDesc);
        scene.CreateJoint(joint);
    }

    const auto start = std::chrono::steady_clock::now();
    for (int step = 0; step < STEPS; ++step)
    {
        body.AddForceAtLocalPos(Push(step), sds::CVector::ZERO);
        scene.Simulate(STEP);
        scene.FetchResults(true);
    }
    const auto stop = std::chrono::steady_clock::now();
    end = body.GetGlobalPosition();
    return std::chrono::duration<double, std::micro>(stop - start).count() / STEPS;
}

double TimeBare(const CTerrain& terrain, sds::CVector& end)
{
    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher(&configuration);
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world(&dispatcher, &broadphase, &solver, &configuration);
    world.setGravity(btVector3(0, GRAVITY, 0));
    world.getSolverInfo().m_numIterations = ITERATIONS;
    world.getSolverInfo().m_linearSlop = SKIN_WIDTH;

    std::vector<float> points;
    for (const sds::CVector& p : terrain.m_Points)
        points.insert(points.end(), {p.x, p.y, p.z});
    std::vector<int> indices = terrain.m_Indices;
    btTriangleIndexVertexArray array(int(indices.size() / 3), indices.data(), 3 * sizeof(int),
                                     int(terrain.m_Points.size()), points.data(), 3 * sizeof(float));
    btBvhTriangleMeshShape terrainShape(&array, true);
    btRigidBody ground(0.0f, nullptr, &terrainShape);
    // The engine multiplies frictions; the layer averages its materials' (0.5 both here).
    ground.setFriction(0.5f);
    world.addRigidBody(&ground);

    auto makeBody = [&](const sds::CVector& half, float mass, const sds::CVector& at, btCollisionShape*& shape) {
        shape = new btBoxShape(btVector3(half.x, half.y, half.z));
        btVector3 inertia;
        shape->calculateLocalInertia(mass, inertia);
        btRigidBody::btRigidBodyConstructionInfo info(mass, nullptr, shape, inertia);
        info.m_startWorldTransform.setOrigin(btVector3(at.x, at.y, at.z));
        info.m_angularDamping = 1.0f - std::exp(-0.05f);
        info.m_friction = 1.0f;
        auto* rigid = new btRigidBody(info);
        rigid->setSleepingThresholds(0.15f, 0.14f);
        world.addRigidBody(rigid);
        return rigid;
    };
    std::vector<btCollisionShape*> shapes(11);
    btRigidBody* body = makeBody(BODY_HALF, BODY_MASS, START, shapes[0]);
    // Swept as the layer sweeps a body that asks for it: its thinnest half.
    body->setCcdMotionThreshold(BODY_HALF.x);
    body->setCcdSweptSphereRadius(0.8f * BODY_HALF.x);
    std::vector<btRigidBody*> boxes;
    std::vector<btTypedConstraint*> joints;
    std::vector<btTransform> frames;
    for (int i = 0; i < 10; ++i)
    {
        boxes.push_back(makeBody(BOX_HALF, BOX_MASS, BoxPosition(i), shapes[i + 1]));
        frames.emplace_back(btQuaternion::getIdentity(), btVector3(float(i) - 4.5f, 3.0f, 0.0f));
        auto* joint = new btFixedConstraint(*body, *boxes.back(), frames.back(), btTransform::getIdentity());
        for (int axis = 0; axis < 6; ++axis)
            joint->setParam(BT_CONSTRAINT_STOP_ERP, 0.8f, axis);
        world.addConstraint(joint, true);
        joints.push_back(joint);
    }

    const auto start = std::chrono::steady_clock::now();
    for (int step = 0; step < STEPS; ++step)
    {
        const sds::CVector push = Push(step);
        body->applyCentralForce(btVector3(push.x, push.y, push.z));
        body->activate();
        world.stepSimulation(STEP, 0, STEP);
        // As the layer does after every step, each box goes back exactly where its
        // fixed joint holds it, moving with the body.
        for (int i = 0; i < 10; ++i)
        {
            const btTransform place = body->getWorldTransform() * frames[i];
            boxes[i]->setWorldTransform(place);
            boxes[i]->setInterpolationWorldTransform(place);
            boxes[i]->setLinearVelocity(body->getVelocityInLocalPoint(place.getOrigin() - body->getCenterOfMassPosition()));
            boxes[i]->setAngularVelocity(body->getAngularVelocity());
        }
    }
    const auto stop = std::chrono::steady_clock::now();
    const btVector3 p = body->getWorldTransform().getOrigin();
    end = {float(p.x()), float(p.y()), float(p.z())};

    for (btTypedConstraint* joint : joints)
    {
        world.removeConstraint(joint);
        delete joint;
    }
    for (btRigidBody* rigid : boxes)
    {
        world.removeRigidBody(rigid);
        delete rigid;
    }
    world.removeRigidBody(body);
    delete body;
    for (btCollisionShape* shape : shapes)
        delete shape;
    world.removeRigidBody(&ground);
    return std::chrono::duration<double, std::micro>(stop - start).count() / STEPS;
}

} // namespace

int main()
{
    const CTerrain terrain;
    sds::CVector layerEnd, bareEnd;
    // The best of three runs each, taken in turn, so that a busy machine counts less.
    double layer = 1e30, bare = 1e30;
    for (int run = 0; run < 3; ++run)
    {
        layer = std::min(layer, TimeLayer(terrain, layerEnd));
        bare = std::min(bare, TimeBare(terrain, bareEnd));
    }
    std::printf("%d steps of a jumper-sized body, 10 jointed boxes and a %dx%d-cell terrain\n", STEPS, CELLS, CELLS);
    std::printf("physics layer: %.1f us/step (body ends at %.1f, %.1f, %.1f)\n", layer, layerEnd.x, layerEnd.y,
                layerEnd.z);
    std::printf("bare engine:   %.1f us/step (body ends at %.1f, %.1f, %.1f)\n", bare, bareEnd.x, bareEnd.y,
                bareEnd.z);
    std::printf("ratio:         %.2f\n", layer / bare);
    std::printf("layer_us_per_step=%.1f\nbare_us_per_step=%.1f\nratio=%.2f\n", layer, bare, layer / bare);
    return 0;
}
