#pragma once

#include <string>
#include <vector>

#include "core/Quaternion.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "core/services/EventCodes.h"
#include "core/services/Events.h"
#include "graphics/IGfxObj.h"

namespace sds {

class ICameraMotionController;

// The camera's event codes under the names the event vocabulary gives them;
// the camera modes are the codes from 57 to 67.
namespace CameraEvents {
enum ECode : int
{
    camera_yaw = EventCodes::CameraYaw,
    camera_pitch = EventCodes::CameraPitch,
    camera_forward = EventCodes::CameraForward,
    camera_slow_movement = EventCodes::CameraSlowMovement,
    camera_accelerated_movement = EventCodes::CameraAcceleratedMovement,
    camera_back = EventCodes::CameraBack,
    camera_right = EventCodes::CameraRight,
    camera_left = EventCodes::CameraLeft,
    camera_up = EventCodes::CameraUp,
    camera_down = EventCodes::CameraDown,
    camera_horizontal_forward = EventCodes::CameraHorizontalForward,
    camera_horizontal_back = EventCodes::CameraHorizontalBack,
    camera_switch_details = EventCodes::CameraSwitchDetails,
    camera_3dperspective = EventCodes::Camera3dPerspective,
    camera_behind = EventCodes::CameraBehind,
    camera_around = EventCodes::CameraAround,
    camera_sideways = EventCodes::CameraSideways,
    camera_free = EventCodes::CameraFree,
    camera_script1 = EventCodes::CameraScript1,
    camera_script2 = EventCodes::CameraScript2,
    camera_script3 = EventCodes::CameraScript3,
    camera_script4 = EventCodes::CameraScript4,
    camera_fixed = EventCodes::CameraFixed,
    camera_none = EventCodes::CameraNone,
};
} // namespace CameraEvents

// The one viewpoint of the 3D view. Its mode decides how it moves: the user
// flies it, it follows an object, or a script drives it. The names of the
// operations are those the camera scripts call.
class ICamera : public IUpdate
{
public:
    // The movement flags of IsMovingIn and SetMovingIn.
    enum EDirection : unsigned
    {
        MOVING_UP = 0,
        MOVING_DOWN = 1,
        MOVING_LEFT = 2,
        MOVING_RIGHT = 3,
        MOVING_FORWARD = 4,
        MOVING_BACKWARDS = 5,
        CAMERA_HORIZONTAL_FORWARD = 6,
        CAMERA_HORIZONTAL_BACK = 7,
        MOVING_MAX = 8,
    };

    // The view frustum's corners for GetWorldSpaceCorner.
    enum ECorner : unsigned
    {
        TOP_RIGHT_NEAR = 0,
        TOP_LEFT_NEAR = 1,
        BOTTOM_LEFT_NEAR = 2,
        BOTTOM_RIGHT_NEAR = 3,
        TOP_RIGHT_FAR = 4,
        TOP_LEFT_FAR = 5,
        BOTTOM_LEFT_FAR = 6,
        BOTTOM_RIGHT_FAR = 7,
        CORNERS_MAX = 8,
    };

    // What FindObjUnderCursor records.
    enum EPickKind : int
    {
        PICK_TERRAIN = 0,
        PICK_OBJECTS = 1,
        PICK_ALL = 2,
    };

    // One thing under the cursor: "Terrain", an object's name, or "_Static".
    struct CPickResult
    {
        CVector m_Point;
        std::string m_Name;
        float m_Distance = 0.0f;
    };

    ~ICamera() override = default;

    virtual bool IsSlowMovement() const = 0;
    virtual void SetSlowMovement(bool slow) = 0;
    virtual bool IsAcceleratedMovement() const = 0;
    virtual void SetAcceleratedMovement(bool accelerated) = 0;
    virtual bool IsMoving() const = 0;
    // A direction of MOVING_MAX or more throws std::out_of_range.
    virtual bool IsMovingIn(unsigned direction) const = 0;
    virtual void SetMovingIn(unsigned direction, bool moving) = 0;
    virtual float GetAcceleration() const = 0;
    virtual void SetAcceleration(float acceleration) = 0;
    virtual float GetAccelerationInc() const = 0;
    virtual void SetAccelerationInc(float increment) = 0;
    // Degrees of turn per unit of mouse movement.
    virtual float GetMouseScale() const = 0;
    virtual void SetMouseScale(float scale) = 0;
    // World units per second.
    virtual float GetMoveScale() const = 0;
    virtual void SetMoveScale(float scale) = 0;
    virtual bool IsInvertFreeY() const = 0;
    virtual void SetInvertFreeY(bool invert) = 0;
    // This frame's pending turns in radians: about the vertical (X) and the
    // horizontal (Y) axis; the totals sum what was applied.
    virtual float GetRotX() const = 0;
    virtual void SetRotX(float radians) = 0;
    virtual float GetRotY() const = 0;
    virtual void SetRotY(float radians) = 0;
    virtual float GetTotalRotX() const = 0;
    virtual void SetTotalRotX(float radians) = 0;
    virtual float GetTotalRotY() const = 0;
    virtual void SetTotalRotY(float radians) = 0;
    // A corner outside 0 to 7 throws std::out_of_range.
    virtual CVector GetWorldSpaceCorner(unsigned corner) const = 0;
    // The controller (not owned) drives the script mode from its next SetMode on.
    virtual void SetMotionController(int mode, ICameraMotionController* controller) = 0;
    virtual void ResetMotionController(int mode) = 0;
    virtual int GetMode() const = 0;
    // A mode outside 57 to 67 is refused with a warning.
    virtual void SetMode(int mode) = 0;
    // The projection of that name among the configured ones; others are ignored.
    virtual void SetProjection(const std::string& name) = 0;
    virtual void SetNearClipDistance(float distance) = 0;
    virtual float GetNearClipDistance() const = 0;
    virtual void SetWorldUpDown(bool worldUpDown) = 0;
    virtual bool IsWorldUpDown() const = 0;
    // Whether the current mode rides on an object.
    virtual bool IsAttached() const = 0;
    // The object the modes chosen from now on follow (null: none).
    virtual void Attach(const CGfxObjPtr& object) = 0;
    virtual CGfxObjPtr GetAttached() const = 0;
    virtual void EnableInput() = 0;
    virtual void DisableInput() = 0;
    virtual void SetPos(const CVector& pos) = 0;
    // Whether the camera stands at least 0.1 inside the bounds; the point is not used.
    virtual bool IsInBounds(const CVector& point) const = 0;
    virtual void SetBounds(const CVector& minimum, const CVector& maximum) = 0;
    // World position, (pitch, yaw, roll) in degrees, view direction, orientation.
    virtual CVector GetPos() const = 0;
    virtual CVector GetRot() const = 0;
    virtual CVector GetDir() const = 0;
    virtual CQuaternion GetOrientation() const = 0;
    // The heading without the pitch.
    virtual CQuaternion GetHorizontalOrientation() const = 0;
    virtual void LookAt(const CVector& point) = 0;
    virtual void OnEvent(const CInternalEvent& event) = 0;
    // Casts a ray through the viewport position (0 to 1 from the left and the
    // top) and records what it meets, nearest first (GetPickResults); kind is
    // an EPickKind. True when anything was recorded.
    virtual bool FindObjUnderCursor(float x, float y, int kind) = 0;
    // Where the ray through the viewport position meets the plane, or
    // CVector::MAX_NEGATIVE when it does not (parallel, or behind the camera).
    virtual CVector ViewportPosToWorldPos(float x, float y, const CVector& planeNormal, const CVector& planePoint) = 0;
    virtual void Shake() = 0;
    // Where the mode before the last SetMode left the camera.
    virtual CVector GetPrevModeLastPos() const = 0;
    virtual CQuaternion GetPrevModeLastOrientation() const = 0;
    // The modes' starting offsets, used from the next SetMode on.
    virtual void SetPerspectiveOffset(const CVector& offset) = 0;
    virtual void SetBehindOffset(const CVector& offset) = 0;
    virtual void SetSidewaysOffset(const CVector& offset) = 0;
    virtual void SetFixedOffset(const CVector& offset) = 0;
    virtual void SetAroundOffset(const CVector& offset) = 0;
    virtual void SetFreeOffset(const CVector& offset) = 0;

    // What the last FindObjUnderCursor recorded.
    virtual const std::vector<CPickResult>& GetPickResults() const = 0;

    // Rules every camera keeps. A direction of MOVING_MAX or more throws
    // std::out_of_range "invalid bitset<N> position", the same text whatever
    // the standard library says; so does a corner of CORNERS_MAX or more, with
    // its own text.
    static void CheckDirection(unsigned direction);
    static void CheckCorner(unsigned corner);
    // Whether the point stands at least 0.1 inside the box on every axis.
    static bool IsWellInside(const CVector& point, const CVector& minimum, const CVector& maximum);
};

} // namespace sds
