#pragma once

#include <functional>

#include <bitset>
#include <map>
#include <vector>

#include "graphics/ICamera.h"

namespace sds {

// A camera that keeps what it is told, for headless tests of the code that
// drives the camera: the mode (and every mode set), offsets, bounds, position,
// look-at point, attached object, controllers and the events handed to it. It
// does not move by itself: GetPos answers the last SetPos.
class CMemCamera : public ICamera
{
public:
    enum EOffset
    {
        OFFSET_PERSPECTIVE,
        OFFSET_BEHIND,
        OFFSET_SIDEWAYS,
        OFFSET_FIXED,
        OFFSET_AROUND,
        OFFSET_FREE,
        OFFSET_COUNT
    };

    void Update(const CTiming& timing) override { m_Updates.push_back(timing); }
    bool IsSlowMovement() const override { return m_SlowMovement; }
    void SetSlowMovement(bool slow) override { m_SlowMovement = slow; }
    bool IsAcceleratedMovement() const override { return m_AcceleratedMovement; }
    void SetAcceleratedMovement(bool accelerated) override { m_AcceleratedMovement = accelerated; }
    bool IsMoving() const override { return m_Moving.any(); }
    bool IsMovingIn(unsigned direction) const override;
    void SetMovingIn(unsigned direction, bool moving) override;
    float GetAcceleration() const override { return m_Acceleration; }
    void SetAcceleration(float acceleration) override { m_Acceleration = acceleration; }
    float GetAccelerationInc() const override { return m_AccelerationInc; }
    void SetAccelerationInc(float increment) override { m_AccelerationInc = increment; }
    float GetMouseScale() const override { return m_MouseScale; }
    void SetMouseScale(float scale) override { m_MouseScale = scale; }
    float GetMoveScale() const override { return m_MoveScale; }
    void SetMoveScale(float scale) override { m_MoveScale = scale; }
    bool IsInvertFreeY() const override { return m_InvertFreeY; }
    void SetInvertFreeY(bool invert) override { m_InvertFreeY = invert; }
    float GetRotX() const override { return m_RotX; }
    void SetRotX(float radians) override { m_RotX = radians; }
    float GetRotY() const override { return m_RotY; }
    void SetRotY(float radians) override { m_RotY = radians; }
    float GetTotalRotX() const override { return m_TotalRotX; }
    void SetTotalRotX(float radians) override { m_TotalRotX = radians; }
    float GetTotalRotY() const override { return m_TotalRotY; }
    void SetTotalRotY(float radians) override { m_TotalRotY = radians; }
    // The position, whatever the corner (0 to 7).
    CVector GetWorldSpaceCorner(unsigned corner) const override;
    void SetMotionController(int mode, ICameraMotionController* controller) override
    {
        m_Controllers[mode] = controller;
    }
    void ResetMotionController(int mode) override { m_Controllers.erase(mode); }
    int GetMode() const override { return m_Mode; }
    // Records the mode; a mode outside 57 to 67 is refused as the real camera refuses it.
    void SetMode(int mode) override;
    void SetProjection(const std::string& name) override { m_Projection = name; }
    void SetNearClipDistance(float distance) override { m_NearClipDistance = distance; }
    float GetNearClipDistance() const override { return m_NearClipDistance; }
    void SetWorldUpDown(bool worldUpDown) override { m_WorldUpDown = worldUpDown; }
    bool IsWorldUpDown() const override { return m_WorldUpDown; }
    // True in the modes that ride on an object (3D perspective, behind, around, sideways).
    bool IsAttached() const override;
    void Attach(const CGfxObjPtr& object) override { m_Attached = object; }
    CGfxObjPtr GetAttached() const override { return m_Attached; }
    void EnableInput() override { m_InputEnabled = true; }
    void DisableInput() override { m_InputEnabled = false; }
    void SetPos(const CVector& pos) override { m_Pos = pos; }
    bool IsInBounds(const CVector& point) const override;
    void SetBounds(const CVector& minimum, const CVector& maximum) override;
    CVector GetPos() const override { return m_Pos; }
    CVector GetRot() const override { return CVector::ZERO; }
    CVector GetDir() const override { return CVector::NEGATIVE_UNIT_Z; }
    CQuaternion GetOrientation() const override { return CQuaternion::IDENTITY; }
    CQuaternion GetHorizontalOrientation() const override { return CQuaternion::IDENTITY; }
    void LookAt(const CVector& point) override { m_LookAt.push_back(point); }
    void OnEvent(const CInternalEvent& event) override { m_Events.push_back(event); }
    // Records m_Hits, nearest first as the test lists them.
    bool FindObjUnderCursor(float x, float y, int kind) override;
    // m_ViewportToPlane of the viewport position, the plane aside; without it
    // the ray meets no plane.
    CVector ViewportPosToWorldPos(float x, float y, const CVector&, const CVector&) override
    {
        return m_ViewportToPlane ? m_ViewportToPlane(x, y) : CVector::MAX_NEGATIVE;
    }
    void Shake() override {}
    CVector GetPrevModeLastPos() const override { return m_PrevModeLastPos; }
    CQuaternion GetPrevModeLastOrientation() const override { return CQuaternion::IDENTITY; }
    void SetPerspectiveOffset(const CVector& offset) override { m_Offsets[OFFSET_PERSPECTIVE] = offset; }
    void SetBehindOffset(const CVector& offset) override { m_Offsets[OFFSET_BEHIND] = offset; }
    void SetSidewaysOffset(const CVector& offset) override { m_Offsets[OFFSET_SIDEWAYS] = offset; }
    void SetFixedOffset(const CVector& offset) override { m_Offsets[OFFSET_FIXED] = offset; }
    void SetAroundOffset(const CVector& offset) override { m_Offsets[OFFSET_AROUND] = offset; }
    void SetFreeOffset(const CVector& offset) override { m_Offsets[OFFSET_FREE] = offset; }
    const std::vector<CPickResult>& GetPickResults() const override { return m_PickResults; }

    // The controller installed for the mode, or null.
    ICameraMotionController* GetController(int mode) const;

    // What the camera was told.
    int m_Mode = CameraEvents::camera_free;
    std::vector<int> m_Modes;
    CVector m_Offsets[OFFSET_COUNT];
    CVector m_BoundsMin = CVector::MAX_NEGATIVE;
    CVector m_BoundsMax = CVector::MAX_POSITIVE;
    CVector m_Pos;
    CVector m_PrevModeLastPos;
    std::vector<CVector> m_LookAt;
    CGfxObjPtr m_Attached;
    std::map<int, ICameraMotionController*> m_Controllers;
    std::vector<CInternalEvent> m_Events;
    std::vector<CTiming> m_Updates;
    std::string m_Projection;
    bool m_InputEnabled = true;
    // What the picks and the plane queries answer; a test sets them.
    std::vector<CPickResult> m_Hits;
    std::function<CVector(float, float)> m_ViewportToPlane;

private:
    std::vector<CPickResult> m_PickResults;
    std::bitset<8> m_Moving;
    bool m_SlowMovement = false;
    bool m_AcceleratedMovement = false;
    float m_Acceleration = 1.0f;
    float m_AccelerationInc = 0.0f;
    float m_MouseScale = 1.0f;
    float m_MoveScale = 1.0f;
    bool m_InvertFreeY = false;
    float m_RotX = 0.0f;
    float m_RotY = 0.0f;
    float m_TotalRotX = 0.0f;
    float m_TotalRotY = 0.0f;
    float m_NearClipDistance = 0.1f;
    bool m_WorldUpDown = true;
};

} // namespace sds
