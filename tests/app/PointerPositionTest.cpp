#include <gtest/gtest.h>

#include "app/PointerPosition.h"

using sds::CAnalogEvent;

TEST(PointerPosition, StopsAtTheWindowEdgesWhileTheMotionGoesOn)
{
    sds::CPointerPosition pointer;
    EXPECT_EQ(sds::CVector(0.5f, 0.5f, 0.0f), pointer.Get());

    CAnalogEvent event = pointer.Move(256, -192, 0, 1024, 768);
    EXPECT_EQ(sds::EVENT_MOUSE_MOVED, event.Type);
    EXPECT_FLOAT_EQ(0.75f, event.Pos[0]);
    EXPECT_FLOAT_EQ(0.25f, event.Pos[1]);

    event = pointer.Move(1024, -768, 0, 1024, 768);
    EXPECT_FLOAT_EQ(1.0f, event.Pos[0]);
    EXPECT_FLOAT_EQ(0.0f, event.Pos[1]);
    EXPECT_FLOAT_EQ(1.0f, event.Rel[0]) << "the whole motion";
    EXPECT_FLOAT_EQ(-1.0f, event.Rel[1]);

    // Back from the edge at once, not after the motion beyond it is undone.
    event = pointer.Move(-512, 384, 0, 1024, 768);
    EXPECT_FLOAT_EQ(0.5f, event.Pos[0]);
    EXPECT_FLOAT_EQ(0.5f, event.Pos[1]);
}

TEST(PointerPosition, TheWheelCountsAsItIsAndHasNoEdge)
{
    sds::CPointerPosition pointer;
    CAnalogEvent event = pointer.Move(0, 0, 120, 800, 600);
    EXPECT_EQ(sds::CVector(0.0f, 0.0f, 120.0f), sds::CVector(event.Rel[0], event.Rel[1], event.Rel[2]));
    event = pointer.Move(0, 0, 240, 800, 600);
    EXPECT_FLOAT_EQ(360.0f, event.Pos[2]);
    EXPECT_EQ(sds::CVector(0.5f, 0.5f, 360.0f), pointer.Get());
}
