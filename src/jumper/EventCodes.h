#pragma once

#include <cstdint>

// The codes of the program's events that the jumper's states act on; the
// event-name table of the engine gives them their names.
namespace sds::EventCodes {

constexpr std::int32_t TurnLeft = 2;
constexpr std::int32_t TurnRight = 3;
constexpr std::int32_t TurnLeftToggle = 4;
constexpr std::int32_t TurnRightToggle = 5;
constexpr std::int32_t TurnLeftRearRiser = 6;
constexpr std::int32_t TurnRightRearRiser = 7;
constexpr std::int32_t TurnLeftFrontRiser = 8;
constexpr std::int32_t TurnRightFrontRiser = 9;
constexpr std::int32_t ControlLeftRearRiser = 12;
constexpr std::int32_t ControlRightRearRiser = 13;
constexpr std::int32_t ControlLeftFrontRiser = 14;
constexpr std::int32_t ControlRightFrontRiser = 15;
constexpr std::int32_t ControlLeftToggle = 16;
constexpr std::int32_t ControlRightToggle = 17;
constexpr std::int32_t Forward = 19;
constexpr std::int32_t Back = 20;
// Codes without a name in the event table: body positions of free fall.
constexpr std::int32_t Tracking = 21;
constexpr std::int32_t SlideLeft = 22;
constexpr std::int32_t SlideRight = 23;
constexpr std::int32_t OpenCanopy = 27;
constexpr std::int32_t LetGoFromPlane = 29;

} // namespace sds::EventCodes
