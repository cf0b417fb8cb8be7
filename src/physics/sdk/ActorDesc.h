#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/Quaternion.h"
#include "core/Vector.h"
#include "physics/sdk/BodyDesc.h"
#include "physics/sdk/ShapeDesc.h"

namespace physics::sdk {

class IUserData;

// An actor: static without a body, dynamic (or kinematic) with one.
struct CActorDesc
{
    std::vector<CShapeDesc> m_Shapes;
    std::optional<CBodyDesc> m_Body;
    float m_Density = 0.0f; // above 0 and no body mass: every shape's density
    sds::CVector m_GlobalPosition;
    sds::CQuaternion m_GlobalOrientation;
    std::uint32_t m_Flags = 0;     // EActorFlag bits
    std::uint16_t m_ActorGroup = 0; // chooses the pair flags of SetActorGroupPairFlags
    IUserData* m_UserData = nullptr;
};

} // namespace physics::sdk
