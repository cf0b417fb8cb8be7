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

// The input library reports the summed motion of a poll with every callback:
// a move, then a press and a release in one poll must move the pointer once.
TEST(PointerPosition, AMotionSummedOverAPollIsAppliedOnce)
{
    sds::CPointerPosition pointer;
    CAnalogEvent event;
    pointer.BeginPoll();
    ASSERT_TRUE(pointer.MoveBySum(100, 60, 0, 1000, 600, event)) << "the button press reports the move";
    EXPECT_FLOAT_EQ(0.1f, event.Rel[0]);
    EXPECT_FLOAT_EQ(0.1f, event.Rel[1]);
    EXPECT_FALSE(pointer.MoveBySum(100, 60, 0, 1000, 600, event)) << "the release repeats it";
    EXPECT_FALSE(pointer.MoveBySum(100, 60, 0, 1000, 600, event)) << "so does the poll's end";
    EXPECT_EQ(sds::CVector(0.6f, 0.6f, 0.0f), pointer.Get());

    // A later motion of the same poll counts by what it adds.
    ASSERT_TRUE(pointer.MoveBySum(10, 120, 120, 1000, 600, event));
    EXPECT_FLOAT_EQ(-0.09f, event.Rel[0]);
    EXPECT_FLOAT_EQ(0.1f, event.Rel[1]);
    EXPECT_FLOAT_EQ(120.0f, event.Rel[2]);
    EXPECT_FLOAT_EQ(0.51f, event.Pos[0]);

    // The next poll sums from nothing again.
    pointer.BeginPoll();
    EXPECT_FALSE(pointer.MoveBySum(0, 0, 0, 1000, 600, event));
    ASSERT_TRUE(pointer.MoveBySum(-10, 0, 0, 1000, 600, event));
    EXPECT_FLOAT_EQ(-0.01f, event.Rel[0]);
    EXPECT_FLOAT_EQ(0.5f, event.Pos[0]);
}
