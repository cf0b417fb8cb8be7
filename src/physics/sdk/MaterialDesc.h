#pragma once

namespace physics::sdk {

// Two touching shapes combine their materials by the average of each value.
struct CMaterialDesc
{
    float m_Restitution = 0.0f;
    float m_StaticFriction = 0.5f;
    float m_DynamicFriction = 0.5f;
};

} // namespace physics::sdk
