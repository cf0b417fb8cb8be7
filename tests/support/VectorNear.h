#pragma once

#include <gtest/gtest.h>

#include "core/Vector.h"

// Each component of `actual` within `tolerance` of `expected`.
#define EXPECT_VECTOR_NEAR(expected, actual, tolerance)                                                            \
    do {                                                                                                           \
        const sds::CVector e_ = (expected), a_ = (actual);                                                         \
        EXPECT_NEAR(e_.x, a_.x, tolerance);                                                                        \
        EXPECT_NEAR(e_.y, a_.y, tolerance);                                                                        \
        EXPECT_NEAR(e_.z, a_.z, tolerance);                                                                        \
    } while (false)
