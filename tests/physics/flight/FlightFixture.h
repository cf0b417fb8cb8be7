#pragma once

#include <cmath>

#include "physics/SdkFixture.h"
#include "physics/WorldFixture.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IScene.h"

// A world of the physics fixtures with plain boxes to lead and follow.
// The two rotations are the same (q and -q are one rotation).
#define EXPECT_SAME_ROTATION(expected, actual, tolerance)                                                         \
    do {                                                                                                           \
        const sds::CQuaternion e_ = (expected), a_ = (actual);                                                     \
        EXPECT_NEAR(1.0f, std::abs(e_.w * a_.w + e_.x * a_.x + e_.y * a_.y + e_.z * a_.z), tolerance);             \
    } while (false)

class FlightTest : public WorldTest
{
protected:
    physics::sdk::IScene& Scene() { return m_World->GetScene(); }

    // A box of half extents `half`; static without a mass.
    physics::sdk::IActor& Box(const sds::CVector& position, const sds::CVector& half = {0.5f, 0.5f, 0.5f},
                              float mass = 1.0f, std::uint32_t bodyFlags = 0)
    {
        physics::sdk::CActorDesc desc;
        desc.m_Shapes.push_back(physics::sdk::CShapeDesc::Box(half));
        desc.m_GlobalPosition = position;
        if (mass > 0.0f)
        {
            desc.m_Body = physics::sdk::CBodyDesc();
            desc.m_Body->m_Mass = mass;
            desc.m_Body->m_AngularDamping = 0.0f;
            desc.m_Body->m_Flags |= bodyFlags;
        }
        physics::sdk::IActor* actor = Scene().CreateActor(desc);
        EXPECT_TRUE(actor);
        return *actor;
    }

    // Fixed steps of the scene alone, without the world's calls after them.
    void Steps(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            Scene().Simulate(m_World->GetMaxTimeStep());
            Scene().FetchResults(true);
        }
    }
};
