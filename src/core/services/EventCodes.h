#pragma once

#include <cstdint>

// The codes of the program's events and the names the bindings call them by:
// the one table that the bindings, the jumper, the camera, the menus and the
// level mods share. The codes are fixed numbers, part of the bindings file.
namespace sds::EventCodes {

// The jumper's controls.
constexpr std::int32_t TurnLeft = 2;
constexpr std::int32_t TurnRight = 3;
constexpr std::int32_t TurnLeftToggle = 4;
constexpr std::int32_t TurnRightToggle = 5;
constexpr std::int32_t TurnLeftRearRiser = 6;
constexpr std::int32_t TurnRightRearRiser = 7;
constexpr std::int32_t TurnLeftFrontRiser = 8;
constexpr std::int32_t TurnRightFrontRiser = 9;
constexpr std::int32_t TurnLeftHarness = 10;
constexpr std::int32_t TurnRightHarness = 11;
constexpr std::int32_t ControlLeftRearRiser = 12;
constexpr std::int32_t ControlRightRearRiser = 13;
constexpr std::int32_t ControlLeftFrontRiser = 14;
constexpr std::int32_t ControlRightFrontRiser = 15;
constexpr std::int32_t ControlLeftToggle = 16;
constexpr std::int32_t ControlRightToggle = 17;
constexpr std::int32_t FeetUp = 18;
constexpr std::int32_t Forward = 19;
constexpr std::int32_t Back = 20;
// Codes without a name: body positions of free fall.
constexpr std::int32_t Tracking = 21;
constexpr std::int32_t SlideLeft = 22;
constexpr std::int32_t SlideRight = 23;
constexpr std::int32_t OpenCanopy = 27;
constexpr std::int32_t NextCanopyControlType = 28;
constexpr std::int32_t LetGoFromPlane = 29;
constexpr std::int32_t CutAway = 30;
constexpr std::int32_t FoldCanopy = 31;

// The camera's; the script cameras' codes are also their camera modes.
constexpr std::int32_t CameraYaw = 44;
constexpr std::int32_t CameraPitch = 45;
constexpr std::int32_t CameraForward = 46;
constexpr std::int32_t CameraSlowMovement = 47;
constexpr std::int32_t CameraAcceleratedMovement = 48;
constexpr std::int32_t CameraBack = 49;
constexpr std::int32_t CameraRight = 50;
constexpr std::int32_t CameraLeft = 51;
constexpr std::int32_t CameraUp = 52;
constexpr std::int32_t CameraDown = 53;
constexpr std::int32_t CameraHorizontalForward = 54;
constexpr std::int32_t CameraHorizontalBack = 55;
constexpr std::int32_t CameraSwitchDetails = 56;
constexpr std::int32_t Camera3dPerspective = 57;
constexpr std::int32_t CameraBehind = 58;
constexpr std::int32_t CameraAround = 59;
constexpr std::int32_t CameraSideways = 60;
constexpr std::int32_t CameraFree = 61;
constexpr std::int32_t CameraScript1 = 62;
constexpr std::int32_t CameraScript2 = 63;
constexpr std::int32_t CameraScript3 = 64;
constexpr std::int32_t CameraScript4 = 65;
constexpr std::int32_t CameraFixed = 66;
constexpr std::int32_t CameraNone = 67;

// The application's.
constexpr std::int32_t MenuMode = 92;
constexpr std::int32_t LoadingStart = 93;
constexpr std::int32_t LoadingDone = 94;
constexpr std::int32_t MenuCancel = 95;
constexpr std::int32_t Exit = 96;
constexpr std::int32_t End = 97;
constexpr std::int32_t Continue = 98;
constexpr std::int32_t Pause = 99;
constexpr std::int32_t Restart = 100;
constexpr std::int32_t GuiCopy = 111;
constexpr std::int32_t GuiPaste = 112;
constexpr std::int32_t ScreenShot = 113;
constexpr std::int32_t SwitchHud = 114;
constexpr std::int32_t SwitchFps = 115;

struct CNamedCode
{
    const char* Name;
    std::int32_t Code;
};

// The named events, as the bindings file writes them.
inline constexpr CNamedCode kNamedCodes[] = {
    {"turn_left", TurnLeft},
    {"turn_right", TurnRight},
    {"turn_left_toggle", TurnLeftToggle},
    {"turn_right_toggle", TurnRightToggle},
    {"turn_left_rear_riser", TurnLeftRearRiser},
    {"turn_right_rear_riser", TurnRightRearRiser},
    {"turn_left_front_riser", TurnLeftFrontRiser},
    {"turn_right_front_riser", TurnRightFrontRiser},
    {"turn_left_harness", TurnLeftHarness},
    {"turn_right_harness", TurnRightHarness},
    {"control_left_rear_riser", ControlLeftRearRiser},
    {"control_right_rear_riser", ControlRightRearRiser},
    {"control_left_front_riser", ControlLeftFrontRiser},
    {"control_right_front_riser", ControlRightFrontRiser},
    {"control_left_toggle", ControlLeftToggle},
    {"control_right_toggle", ControlRightToggle},
    {"feet_up", FeetUp},
    {"forward", Forward},
    {"back", Back},
    {"open_canopy", OpenCanopy},
    {"next_canopy_control_type", NextCanopyControlType},
    {"letgo_from_plane", LetGoFromPlane},
    {"cut_away", CutAway},
    {"fold_canopy", FoldCanopy},
    {"camera_yaw", CameraYaw},
    {"camera_pitch", CameraPitch},
    {"camera_forward", CameraForward},
    {"camera_slow_movement", CameraSlowMovement},
    {"camera_accelerated_movement", CameraAcceleratedMovement},
    {"camera_back", CameraBack},
    {"camera_right", CameraRight},
    {"camera_left", CameraLeft},
    {"camera_up", CameraUp},
    {"camera_down", CameraDown},
    {"camera_horizontal_forward", CameraHorizontalForward},
    {"camera_horizontal_back", CameraHorizontalBack},
    {"camera_switch_details", CameraSwitchDetails},
    {"camera_3dperspective", Camera3dPerspective},
    {"camera_behind", CameraBehind},
    {"camera_around", CameraAround},
    {"camera_sideways", CameraSideways},
    {"camera_free", CameraFree},
    {"camera_script1", CameraScript1},
    {"camera_script2", CameraScript2},
    {"camera_script3", CameraScript3},
    {"camera_script4", CameraScript4},
    {"camera_fixed", CameraFixed},
    {"camera_none", CameraNone},
    {"menu_mode", MenuMode},
    {"loading_start", LoadingStart},
    {"loading_done", LoadingDone},
    {"menu_cancel", MenuCancel},
    {"exit", Exit},
    {"end", End},
    {"continue", Continue},
    {"pause", Pause},
    {"restart", Restart},
    {"gui_copy", GuiCopy},
    {"gui_paste", GuiPaste},
    {"screen_shot", ScreenShot},
    {"switch_hud", SwitchHud},
    {"switch_fps", SwitchFps},
};

} // namespace sds::EventCodes
