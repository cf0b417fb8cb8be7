#pragma once

#include <cstdint>

// Flag words and kinds of the physics layer. The bit values of the flag words
// match the names the configuration files use ("NX_BF_DISABLE_GRAVITY", ...).
namespace physics::sdk {

enum EBodyFlag : std::uint32_t
{
    BF_DISABLE_GRAVITY = 1u << 0,
    BF_FROZEN_POS_X = 1u << 1,
    BF_FROZEN_POS_Y = 1u << 2,
    BF_FROZEN_POS_Z = 1u << 3,
    BF_FROZEN_ROT_X = 1u << 4,
    BF_FROZEN_ROT_Y = 1u << 5,
    BF_FROZEN_ROT_Z = 1u << 6,
    BF_FROZEN_POS = BF_FROZEN_POS_X | BF_FROZEN_POS_Y | BF_FROZEN_POS_Z,
    BF_FROZEN_ROT = BF_FROZEN_ROT_X | BF_FROZEN_ROT_Y | BF_FROZEN_ROT_Z,
    BF_FROZEN = BF_FROZEN_POS | BF_FROZEN_ROT,
    BF_KINEMATIC = 1u << 7,
    // Accepted and kept; sleeping follows the engine's own rules.
    BF_VISUALIZATION = 1u << 8,
    BF_POSE_SLEEP_TEST = 1u << 9,
    BF_FILTER_SLEEP_VEL = 1u << 10,
    BF_ENERGY_SLEEP_TEST = 1u << 11,
    // Swept against what it meets when it moves more than its own thickness in
    // a step, so that a fast body does not pass through thin ground. A body of
    // one shape only.
    BF_CONTINUOUS_COLLISION = 1u << 12,
};

enum EActorFlag : std::uint32_t
{
    AF_DISABLE_COLLISION = 1u << 0, // no contacts at all
    AF_DISABLE_RESPONSE = 1u << 1,  // contacts are found and reported, nothing is pushed
    // Accepted and kept without effect.
    AF_LOCK_COM = 1u << 2,
    AF_FLUID_DISABLE_COLLISION = 1u << 3,
    AF_CONTACT_MODIFICATION = 1u << 4,
    AF_FORCE_CONE_FRICTION = 1u << 5,
    AF_USER_ACTOR_PAIR_FILTERING = 1u << 6,
};

enum EShapeFlag : std::uint32_t
{
    SF_TRIGGER_ON_ENTER = 1u << 0,
    SF_TRIGGER_ON_LEAVE = 1u << 1,
    SF_TRIGGER_ON_STAY = 1u << 2,
    SF_TRIGGER_ENABLE = SF_TRIGGER_ON_ENTER | SF_TRIGGER_ON_LEAVE | SF_TRIGGER_ON_STAY,
    SF_VISUALIZATION = 1u << 3,
};

// The status handed to a trigger report.
enum ETriggerStatus : std::uint32_t
{
    TRIGGER_ON_ENTER = 1u << 0,
    TRIGGER_ON_LEAVE = 1u << 1,
    TRIGGER_ON_STAY = 1u << 2,
};

// Pair flags of two actors or two actor groups; the notify bits are also the
// event bits of a contact report.
enum EPairFlag : std::uint32_t
{
    PAIR_IGNORE = 1u << 0,
    NOTIFY_ON_START_TOUCH = 1u << 1,
    NOTIFY_ON_END_TOUCH = 1u << 2,
    NOTIFY_ON_TOUCH = 1u << 3,
};

enum EShapeType
{
    SHAPE_PLANE,
    SHAPE_SPHERE,
    SHAPE_BOX,
    SHAPE_CAPSULE,
    SHAPE_CONVEX,
    SHAPE_TRIANGLE_MESH,
};

enum EJointType
{
    JOINT_PRISMATIC,
    JOINT_REVOLUTE,
    JOINT_CYLINDRICAL,
    JOINT_SPHERICAL,
    JOINT_POINT_ON_LINE,
    JOINT_DISTANCE,
    JOINT_FIXED,
};

enum EJointState
{
    JS_UNBOUND,    // one of its actors was released
    JS_SIMULATING,
    JS_BROKEN,     // a break limit was passed
};

enum EJointFlag : std::uint32_t
{
    JF_COLLISION_ENABLED = 1u << 0, // the two actors still collide with each other
    JF_VISUALIZATION = 1u << 1,
};

// Flags of the joint kinds that have options.
enum EJointOptionFlag : std::uint32_t
{
    REVOLUTE_LIMIT_ENABLED = 1u << 0,
    REVOLUTE_MOTOR_ENABLED = 1u << 1,
    REVOLUTE_SPRING_ENABLED = 1u << 2,

    SPHERICAL_TWIST_LIMIT_ENABLED = 1u << 0,
    SPHERICAL_SWING_LIMIT_ENABLED = 1u << 1,
    SPHERICAL_TWIST_SPRING_ENABLED = 1u << 2,
    SPHERICAL_SWING_SPRING_ENABLED = 1u << 3,
    SPHERICAL_JOINT_SPRING_ENABLED = 1u << 4,

    DISTANCE_MAX_ENABLED = 1u << 0,
    DISTANCE_MIN_ENABLED = 1u << 1,
    DISTANCE_SPRING_ENABLED = 1u << 2,
};

// Codes of the reports sent to the output stream: below DB_INFO are errors.
enum EErrorCode
{
    ERR_INVALID_PARAMETER = 1,
    ERR_INVALID_OPERATION = 2,
    ERR_OUT_OF_MEMORY = 3,
    ERR_INTERNAL_ERROR = 4,
    DB_INFO = 205,
    DB_WARNING = 206,
};

enum ESdkParameter
{
    // How deep shapes may sink into each other at rest, in metres.
    PARAM_SKIN_WIDTH,
};

} // namespace physics::sdk
