#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "jumper/ICanopy.h"
#include "jumper/IContainer.h"
#include "jumper/ISlider.h"
#include "support/ScriptedJump.h"

namespace {

// The lines of the log among `wanted`, in order.
std::vector<std::string> Lines(const CCapturingLogMgr& log, const std::vector<std::string>& wanted)
{
    std::vector<std::string> lines;
    for (const std::string& line : log.m_Lines)
        if (std::find(wanted.begin(), wanted.end(), line) != wanted.end())
            lines.push_back(line);
    return lines;
}

// The mode on top after each change.
std::vector<std::string> TopModes(const CCapturingLogMgr& log)
{
    std::vector<std::string> modes;
    for (const std::string& line : log.m_Lines)
        for (const std::string prefix : {"New input mode: ", "Restored input mode: "})
            if (line.compare(0, prefix.size(), prefix) == 0)
                modes.push_back(line.substr(prefix.size()));
    return modes;
}

// The angle in degrees between two orientations.
float TurnDegrees(const sds::CQuaternion& a, const sds::CQuaternion& b)
{
    const float dot = std::fabs(a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z);
    return 2.0f * std::acos(std::min(1.0f, dot)) * 57.29578f;
}

} // namespace

TEST(ScriptedJump, FromTheDoorToTheLandingWithTheShippedKeys)
{
    CScriptedJump jump;
    ASSERT_EQ("", jump.Fly());

    const std::vector<std::string> stages = {"CExitPlaneState", "HangingOutOfPlaneState", "CFreeFallState",
                                             "Reaching Main Handle", "Pulling Main Handle", "CDeploymentState",
                                             "Deploying pilot chute", "Pilot chute is catching air", "Extracting DBag",
                                             "Extracting canopy", "Inflating canopy", "Slider slides down",
                                             "CCanopyRideState", "CLandingNormalState", "CDoneState"};
    EXPECT_EQ(stages, Lines(jump.m_Log, stages));
    EXPECT_EQ((std::vector<std::string>{"Global", "ExitPlane", "Global", "HangingOutOfPlane", "Global", "FreeFall",
                                        "Global", "CanopyRide", "Global", "LandingNormal", "Global"}),
              TopModes(jump.m_Log));
    EXPECT_FLOAT_EQ(1.0f, jump.m_LeftToggle);
    EXPECT_FLOAT_EQ(1.0f, jump.m_RightToggle);
    EXPECT_EQ((std::vector<std::pair<bool, std::string>>{{true, ""}}), jump.m_JumpEnd.m_Shown);

    // The path runs from the door; the canopy's figures from its opening: no
    // free-fall speed passes for the canopy's.
    const sds::CTrajectory& trajectory = jump.m_Jumper->GetTrajectory();
    const auto& points = trajectory.GetPoints();
    ASSERT_LE(2u, points.size());
    const float wholePath = points.back().Time - points.front().Time;
    EXPECT_LT(trajectory.GetDuration(), wholePath - 3.0f);
    EXPECT_GT(trajectory.GetDuration(), 10.0f);
    const sds::CVector mean = trajectory.GetAverageVelocity();
    EXPECT_LT(std::fabs(mean.y), 8.0f) << "a canopy's sink rate";
    EXPECT_LT(std::sqrt(mean.x * mean.x + mean.z * mean.z), 15.0f) << "a canopy's forward speed";

    // Landed on the feet, the jumper stands: after the touch-down's own frame its body reports no speed.
    ASSERT_GT(jump.m_StandingSpeeds.size(), 30u);
    for (std::size_t frame = 1; frame < jump.m_StandingSpeeds.size(); ++frame)
        EXPECT_LT(jump.m_StandingSpeeds[frame], 0.3f) << "frame " << frame << " after the touch-down";
}

// What each frame shows, as the renderer places it: the body turns smoothly
// from the door to the ground (letting go of the aircraft too), and the canopy
// and the slider, once shown, stay by the rig on their lines.
TEST(ScriptedJump, NothingJumpsBetweenTwoFrames)
{
    CScriptedJump jump;
    const sds::CGfxObjPtr body = jump.m_Jumper->GetBodyObj();
    const std::shared_ptr<sds::IContainer> rig = jump.m_Jumper->GetContainer();
    sds::CQuaternion last = body->GetWorldOrientation();
    float largestTurn = 0.0f, farthestCanopy = 0.0f, farthestSlider = 0.0f;
    std::string turnAt, canopyAt, sliderAt;
    jump.m_AfterFrame = [&] {
        jump.m_Gfx.GetRootObject()->UpdateTransform();
        const std::string state = jump.m_Log.m_Lines.back();
        const std::string when = "frame " + std::to_string(jump.m_Frames) + " (" + state + ")";
        const sds::CQuaternion now = body->GetWorldOrientation();
        const float turn = TurnDegrees(last, now);
        if (turn > largestTurn) {
            largestTurn = turn;
            turnAt = when;
        }
        last = now;
        const sds::CVector at = rig->GetGfxObj()->GetWorldPos();
        const sds::CGfxObjPtr canopy = rig->GetCanopy()->GetGfxObj();
        const sds::CGfxObjPtr slider = rig->GetSlider()->GetGfxObj();
        if (canopy->IsVisible() && (canopy->GetWorldPos() - at).Length() > farthestCanopy) {
            farthestCanopy = (canopy->GetWorldPos() - at).Length();
            canopyAt = when;
        }
        if (slider->IsVisible() && (slider->GetWorldPos() - at).Length() > farthestSlider) {
            farthestSlider = (slider->GetWorldPos() - at).Length();
            sliderAt = when;
        }
    };
    ASSERT_EQ("", jump.Fly());
    EXPECT_LT(largestTurn, 30.0f) << "the body turned at " << turnAt;
    EXPECT_LT(farthestCanopy, 15.0f) << "the canopy was drawn away from the rig at " << canopyAt;
    EXPECT_LT(farthestSlider, 15.0f) << "the slider was drawn away from the rig at " << sliderAt;
}
