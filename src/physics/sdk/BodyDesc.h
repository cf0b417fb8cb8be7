#pragma once

#include <cstdint>

#include "core/Vector.h"
#include "physics/sdk/SdkConstants.h"

namespace physics::sdk {

// What makes an actor dynamic. The mass frame and inertia follow from the shapes.
struct CBodyDesc
{
    float m_Mass = 0.0f; // 0: from the actor's density, or the shapes' densities and masses
    sds::CVector m_LinearVelocity;
    sds::CVector m_AngularVelocity;
    float m_LinearDamping = 0.0f;  // per second
    float m_AngularDamping = 0.05f; // per second
    std::uint32_t m_Flags = BF_VISUALIZATION | BF_ENERGY_SLEEP_TEST; // EBodyFlag bits
    float m_SleepLinearVelocity = -1.0f;  // below 0: the default
    float m_SleepAngularVelocity = -1.0f; // below 0: the default
};

} // namespace physics::sdk
