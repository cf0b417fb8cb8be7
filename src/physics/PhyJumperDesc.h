#pragma once

#include <string>

#include "core/Quaternion.h"
#include "core/Vector.h"

namespace physics {

// What the creator of a jumper's physical body chooses. The exit weight and
// the canopy size replace the configured ones when above 0, the canopy model
// and the input conversion when not empty.
struct CPhyJumperDesc
{
    std::string m_Name;  // the prefix of the body's data-log columns
    bool m_LogData = false;
    int m_Index = 0;     // the body's data-log columns are numbered from (index + 1) x 1000
    sds::CVector m_Position;        // where a jump that starts under canopy starts
    sds::CQuaternion m_Orientation; // how the canopy is turned then
    float m_ExitWeight = 0.0f;      // kilograms
    float m_CanopySize = 0.0f;      // square metres
    std::string m_CanopyModel;
    std::string m_InputConversion;
    bool m_ShowPilotChute = true;   // without it the canopy flies without a pilot chute
};

} // namespace physics
