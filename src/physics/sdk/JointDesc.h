#pragma once

#include <cfloat>
#include <cstdint>

#include "core/Vector.h"
#include "physics/sdk/SdkConstants.h"

namespace physics::sdk {

class IActor;

struct CJointLimit
{
    float m_Value = 0.0f; // radians for angles
    float m_Restitution = 0.0f;
};

struct CJointLimitPair
{
    CJointLimit m_Low;
    CJointLimit m_High;
};

struct CSpringDesc
{
    float m_Spring = 0.0f;
    float m_Damper = 0.0f;
    float m_TargetValue = 0.0f;
};

struct CMotorDesc
{
    float m_VelTarget = 0.0f;
    float m_MaxForce = 0.0f;
};

// A joint between two actors, or between one actor and the world (a null or
// static actor). Joint space is given in each actor's frame: its origin is the
// anchor, its x axis the axis and its y axis the normal. A fixed joint keeps the
// two actors as they are when it is made. What a kind does not use is ignored.
struct CJointDesc
{
    explicit CJointDesc(EJointType type = JOINT_FIXED) : m_Type(type) {}

    // Sets both local anchors from one world point, with the actors' present poses.
    void SetGlobalAnchor(const sds::CVector& worldAnchor);
    // Sets both local axes from one world direction, and normals square to it.
    void SetGlobalAxis(const sds::CVector& worldAxis);

    EJointType m_Type;
    IActor* m_Actors[2] = {nullptr, nullptr};
    sds::CVector m_LocalAnchor[2];
    sds::CVector m_LocalAxis[2] = {{0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f}};
    sds::CVector m_LocalNormal[2] = {{1.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}};
    float m_MaxForce = FLT_MAX;  // the joint breaks above these
    float m_MaxTorque = FLT_MAX;
    std::uint32_t m_JointFlags = JF_VISUALIZATION; // EJointFlag bits
    std::uint32_t m_Flags = 0;                     // EJointOptionFlag bits of the kind

    CJointLimitPair m_Limit;       // revolute angle, spherical twist
    CJointLimit m_SwingLimit;      // spherical: the largest angle off the axis
    CSpringDesc m_Spring;          // revolute; spherical twist; distance (past a limit only; no target)
    CSpringDesc m_SwingSpring;     // spherical
    CSpringDesc m_JointSpring;     // spherical: pulls the anchors together
    CMotorDesc m_Motor;            // revolute
    float m_MinDistance = 0.0f;    // distance
    float m_MaxDistance = 0.0f;    // distance
};

} // namespace physics::sdk
