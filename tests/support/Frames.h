#pragma once

#include "core/Timing.h"

namespace sds {
namespace test {

// The timing of one frame of `elapsed` seconds.
inline CTiming Frame(float elapsed, float global = 0.0f)
{
    CTiming timing;
    timing.m_Elapsed = elapsed;
    timing.m_Global = global;
    return timing;
}

} // namespace test
} // namespace sds
