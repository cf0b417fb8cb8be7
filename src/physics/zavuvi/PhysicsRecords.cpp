#include "physics/zavuvi/PhysicsRecords.h"

#include <algorithm>

#include "physics/zavuvi/LittleEndian.h"

namespace Zavuvi {

namespace {

namespace LE = LittleEndian;

// Byte offsets of the fields in a joint record.
enum EJointOffset : std::size_t
{
    OFFSET_ANCHOR = 0,
    OFFSET_NORMAL = 12,
    OFFSET_AXIS = 24,
    OFFSET_KIND = 48,
    OFFSET_LIMIT_A = 88,
    OFFSET_LIMIT_B = 92,
    OFFSET_LIMIT_C = 96,
    OFFSET_LIMITS_ENABLED = 104,
    OFFSET_ACTOR_1 = 108,
    OFFSET_ACTOR_2 = 112,
    OFFSET_MAX_FORCE = 116,
    OFFSET_MAX_TORQUE = 120,
    OFFSET_COLLIDE = 124,
    OFFSET_PROJECTION_MODE = 220,
    OFFSET_PROJECTION_DISTANCE = 224,
    OFFSET_PROJECTION_ANGLE = 228,
    OFFSET_MOTOR_ENABLED = 248,
    OFFSET_MOTOR = 252,
    OFFSET_SPRING_1 = 264, // enabled byte, then target, spring, damper
    OFFSET_SPRING_STRIDE = 16,
    OFFSET_NAME = 312,
};

Vector3 ReadVector(const std::uint8_t* p)
{
    return {LE::ReadF32(p), LE::ReadF32(p + 4), LE::ReadF32(p + 8)};
}

void WriteVector(std::uint8_t* p, const Vector3& v)
{
    LE::WriteF32(p, v.x);
    LE::WriteF32(p + 4, v.y);
    LE::WriteF32(p + 8, v.z);
}

} // namespace

PhysicsJoint PhysicsJoint::Decode(const std::uint8_t* bytes, std::size_t size)
{
    PhysicsJoint joint;
    std::copy(bytes, bytes + std::min(size, kSize), joint.m_Raw.begin());
    const std::uint8_t* p = joint.m_Raw.data();
    joint.m_Anchor = ReadVector(p + OFFSET_ANCHOR);
    joint.m_Normal = ReadVector(p + OFFSET_NORMAL);
    joint.m_Axis = ReadVector(p + OFFSET_AXIS);
    joint.m_Kind = LE::ReadI32(p + OFFSET_KIND);
    joint.m_LimitA = LE::ReadF32(p + OFFSET_LIMIT_A);
    joint.m_LimitB = LE::ReadF32(p + OFFSET_LIMIT_B);
    joint.m_LimitC = LE::ReadF32(p + OFFSET_LIMIT_C);
    joint.m_LimitsEnabled = p[OFFSET_LIMITS_ENABLED] != 0;
    joint.m_Actors[0] = LE::ReadI32(p + OFFSET_ACTOR_1);
    joint.m_Actors[1] = LE::ReadI32(p + OFFSET_ACTOR_2);
    joint.m_MaxForce = LE::ReadF32(p + OFFSET_MAX_FORCE);
    joint.m_MaxTorque = LE::ReadF32(p + OFFSET_MAX_TORQUE);
    joint.m_CollideConnected = p[OFFSET_COLLIDE] != 0;
    joint.m_ProjectionMode = LE::ReadI32(p + OFFSET_PROJECTION_MODE);
    joint.m_ProjectionDistance = LE::ReadF32(p + OFFSET_PROJECTION_DISTANCE);
    joint.m_ProjectionAngle = LE::ReadF32(p + OFFSET_PROJECTION_ANGLE);
    joint.m_MotorEnabled = p[OFFSET_MOTOR_ENABLED] != 0;
    joint.m_Motor[0] = LE::ReadF32(p + OFFSET_MOTOR);
    joint.m_Motor[1] = LE::ReadF32(p + OFFSET_MOTOR + 4);
    for (int i = 0; i < 3; ++i)
    {
        const std::uint8_t* s = p + OFFSET_SPRING_1 + i * OFFSET_SPRING_STRIDE;
        joint.m_Springs[i].m_Enabled = s[0] != 0;
        joint.m_Springs[i].m_Target = LE::ReadF32(s + 4);
        joint.m_Springs[i].m_Spring = LE::ReadF32(s + 8);
        joint.m_Springs[i].m_Damper = LE::ReadF32(s + 12);
    }
    if (size >= kSize)
    {
        // Zero-terminated within its 300 bytes; a name that fills them all has no terminator.
        const char* name = reinterpret_cast<const char*>(p + OFFSET_NAME);
        joint.m_Name.assign(name, std::find(name, name + kJointNameSize, '\0'));
    }
    else
    {
        joint.m_Name = "Joint";
    }
    return joint;
}

std::array<std::uint8_t, PhysicsJoint::kSize> PhysicsJoint::Encode() const
{
    std::array<std::uint8_t, kSize> bytes = m_Raw;
    std::uint8_t* p = bytes.data();
    WriteVector(p + OFFSET_ANCHOR, m_Anchor);
    WriteVector(p + OFFSET_NORMAL, m_Normal);
    WriteVector(p + OFFSET_AXIS, m_Axis);
    LE::WriteI32(p + OFFSET_KIND, m_Kind);
    LE::WriteF32(p + OFFSET_LIMIT_A, m_LimitA);
    LE::WriteF32(p + OFFSET_LIMIT_B, m_LimitB);
    LE::WriteF32(p + OFFSET_LIMIT_C, m_LimitC);
    p[OFFSET_LIMITS_ENABLED] = m_LimitsEnabled;
    LE::WriteI32(p + OFFSET_ACTOR_1, m_Actors[0]);
    LE::WriteI32(p + OFFSET_ACTOR_2, m_Actors[1]);
    LE::WriteF32(p + OFFSET_MAX_FORCE, m_MaxForce);
    LE::WriteF32(p + OFFSET_MAX_TORQUE, m_MaxTorque);
    p[OFFSET_COLLIDE] = m_CollideConnected;
    LE::WriteI32(p + OFFSET_PROJECTION_MODE, m_ProjectionMode);
    LE::WriteF32(p + OFFSET_PROJECTION_DISTANCE, m_ProjectionDistance);
    LE::WriteF32(p + OFFSET_PROJECTION_ANGLE, m_ProjectionAngle);
    p[OFFSET_MOTOR_ENABLED] = m_MotorEnabled;
    LE::WriteF32(p + OFFSET_MOTOR, m_Motor[0]);
    LE::WriteF32(p + OFFSET_MOTOR + 4, m_Motor[1]);
    for (int i = 0; i < 3; ++i)
    {
        std::uint8_t* s = p + OFFSET_SPRING_1 + i * OFFSET_SPRING_STRIDE;
        s[0] = m_Springs[i].m_Enabled;
        LE::WriteF32(s + 4, m_Springs[i].m_Target);
        LE::WriteF32(s + 8, m_Springs[i].m_Spring);
        LE::WriteF32(s + 12, m_Springs[i].m_Damper);
    }
    std::fill(p + OFFSET_NAME, p + kSize, 0);
    std::copy_n(m_Name.begin(), std::min(m_Name.size(), kJointNameSize), p + OFFSET_NAME);
    return bytes;
}

} // namespace Zavuvi
