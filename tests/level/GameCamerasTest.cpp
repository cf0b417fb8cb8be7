#include <gtest/gtest.h>

#include <cmath>

#include "JumpWorld.h"
#include "graphics/script/ScriptCameraMotionController.h"

// The level's script cameras see the mouse of the program's event manager:
// the shipped camera 4 goes round the jumper as the pointer goes across the
// window, and nearer as the wheel turns.
TEST(GameCameras, TheOrbitCameraFollowsTheMouse)
{
    CJumpWorld world;
    world.Start();
    world.Jump();
    ASSERT_NE(nullptr, world.Jumper());
    sds::CMemCamera& camera = *world.m_Gfx.GetMemCamera();
    sds::ICameraMotionController* orbit = camera.GetController(sds::CameraEvents::camera_script4);
    ASSERT_NE(nullptr, orbit);
    const sds::CVector jumper = world.Jumper()->GetPos();
    const auto seenFrom = [&](const sds::CVector& mouse) {
        world.m_Events->m_MousePosition = mouse;
        orbit->Update(&camera, sds::CTiming{0.02f, 0.0f});
        return camera.GetPos() - jumper;
    };
    orbit->Initialize(&camera);
    const sds::CVector middle = seenFrom(sds::CVector(0.5f, 0.5f, 0.0f));
    const sds::CVector quarter = seenFrom(sds::CVector(0.75f, 0.5f, 0.0f));
    const sds::CVector wheeled = seenFrom(sds::CVector(0.75f, 0.5f, 500.0f));
    // A quarter of the window across is a quarter turn round him.
    EXPECT_NEAR(0.0f, middle.x * quarter.x + middle.z * quarter.z, 0.01f);
    EXPECT_GT(std::hypot(quarter.x, quarter.z), 1.0f);
    EXPECT_LT(wheeled.Length(), quarter.Length() - 1.0f);
    EXPECT_FALSE(world.m_Log.HasContaining("Could not run script"));
}
