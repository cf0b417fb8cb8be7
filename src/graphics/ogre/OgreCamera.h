#pragma once

#include <map>
#include <memory>

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneQuery.h>
#include <OGRE/OgreViewport.h>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "graphics/ICamera.h"
#include "graphics/ICameraMotionController.h"
#include "graphics/IGfxMgr.h"
#include "graphics/ogre/MotionControl.h"

namespace wrappers {

class CCameraManipulator;

// The camera over the rendering engine's camera. It hangs that camera on a
// chain of scene nodes that one manipulator at a time moves the way the
// current mode wants; a script mode's motion comes from its controller.
class COgreCamera : public sds::ICamera, public CMotionControl, public CSingletonTmpl<COgreCamera>
{
public:
    // A script mode without a controller of its own stands still.
    class CDummyMotionController : public sds::ICameraMotionController
    {
    public:
        void Initialize(sds::ICamera*) override {}
        void Update(sds::ICamera*, const sds::CTiming&) override {}
    };

    // Reads the camera configuration ("Offset", "Manipulation", "Projections")
    // and starts in camera_free. The viewport may be null.
    COgreCamera(Ogre::Camera* camera, Ogre::Viewport* viewport, Ogre::SceneManager* sceneManager,
                sds::IGfxMgr* gfxMgr, const xml::CNodePtr& config, bool invertY, float lookSensitivity);
    ~COgreCamera() override;

    void Update(const sds::CTiming& timing) override;
    bool IsSlowMovement() const override { return m_SlowMovement; }
    void SetSlowMovement(bool slow) override { m_SlowMovement = slow; }
    bool IsAcceleratedMovement() const override { return m_AcceleratedMovement; }
    void SetAcceleratedMovement(bool accelerated) override { m_AcceleratedMovement = accelerated; }
    bool IsMoving() const override { return IsMovingAny(); }
    bool IsMovingIn(unsigned direction) const override { return IsMovingTo(direction); }
    void SetMovingIn(unsigned direction, bool moving) override { SetMovingTo(direction, moving); }
    float GetAcceleration() const override { return m_Acceleration; }
    void SetAcceleration(float acceleration) override { m_Acceleration = acceleration; }
    float GetAccelerationInc() const override { return m_AccelerationIncrement; }
    void SetAccelerationInc(float increment) override { m_AccelerationIncrement = increment; }
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
    sds::CVector GetWorldSpaceCorner(unsigned corner) const override;
    void SetMotionController(int mode, sds::ICameraMotionController* controller) override;
    void ResetMotionController(int mode) override { SetMotionController(mode, &m_DummyController); }
    int GetMode() const override { return m_Mode; }
    void SetMode(int mode) override;
    void SetProjection(const std::string& name) override;
    void SetNearClipDistance(float distance) override { m_pCamera->setNearClipDistance(distance); }
    float GetNearClipDistance() const override { return m_pCamera->getNearClipDistance(); }
    void SetWorldUpDown(bool worldUpDown) override { m_WorldUpDown = worldUpDown; }
    bool IsWorldUpDown() const override { return m_WorldUpDown; }
    bool IsAttached() const override;
    void Attach(const sds::CGfxObjPtr& object) override { m_Attached = object; }
    sds::CGfxObjPtr GetAttached() const override { return m_Attached; }
    void EnableInput() override { m_InputEnabled = true; }
    void DisableInput() override { m_InputEnabled = false; }
    void SetPos(const sds::CVector& pos) override;
    bool IsInBounds(const sds::CVector& point) const override;
    void SetBounds(const sds::CVector& minimum, const sds::CVector& maximum) override;
    sds::CVector GetPos() const override;
    sds::CVector GetRot() const override;
    sds::CVector GetDir() const override;
    sds::CQuaternion GetOrientation() const override;
    sds::CQuaternion GetHorizontalOrientation() const override;
    void LookAt(const sds::CVector& point) override;
    void OnEvent(const sds::CInternalEvent& event) override;
    bool FindObjUnderCursor(float x, float y, int kind) override;
    sds::CVector ViewportPosToWorldPos(float x, float y, const sds::CVector& planeNormal,
                                       const sds::CVector& planePoint) override;
    void Shake() override {}
    sds::CVector GetPrevModeLastPos() const override { return m_PrevModeLastPos; }
    sds::CQuaternion GetPrevModeLastOrientation() const override { return m_PrevModeLastOrientation; }
    void SetPerspectiveOffset(const sds::CVector& offset) override { m_Offsets[OFFSET_PERSPECTIVE] = offset; }
    void SetBehindOffset(const sds::CVector& offset) override { m_Offsets[OFFSET_BEHIND] = offset; }
    void SetSidewaysOffset(const sds::CVector& offset) override { m_Offsets[OFFSET_SIDEWAYS] = offset; }
    void SetFixedOffset(const sds::CVector& offset) override { m_Offsets[OFFSET_FIXED] = offset; }
    void SetAroundOffset(const sds::CVector& offset) override { m_Offsets[OFFSET_AROUND] = offset; }
    void SetFreeOffset(const sds::CVector& offset) override { m_Offsets[OFFSET_FREE] = offset; }
    const std::vector<CPickResult>& GetPickResults() const override { return m_PickResults; }

    // Near clip distance and projection type of one "Projections" child.
    virtual void LoadProjection(const xml::CNodePtr& projection);

    // For the manipulators.
    Ogre::Camera* GetRenderingCamera() const { return m_pCamera; }
    Ogre::SceneManager* GetSceneManager() const { return m_pSceneManager; }
    const xml::CNodePtr& GetConfig() const { return m_Config; }
    bool IsInputEnabled() const { return m_InputEnabled; }
    const sds::CVector& GetCurrentOffset() const { return m_Offset; }
    sds::CVector GetBoundsCenter() const { return m_BoundsMin * 0.5f + m_BoundsMax * 0.5f; }
    // The chain the current manipulator moves.
    void SetNodes(Ogre::SceneNode* yaw, Ogre::SceneNode* pitch, Ogre::SceneNode* camera);
    // Forgets the chain of that yaw node, when it is still the current one.
    void ForgetNodes(const Ogre::SceneNode* yaw);
    // Moves the rendering camera onto the node from wherever it hangs.
    void HangRenderingCamera(Ogre::SceneNode* node);

private:
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

    // The manipulator of the mode, following the target.
    std::shared_ptr<CCameraManipulator> MakeManipulator(int mode, const sds::CGfxObjPtr& target);
    // The controller installed for a script mode, else the dummy.
    sds::ICameraMotionController* ControllerOf(int mode);
    void SetFarClipDistance();
    // The ray from the camera through the viewport position (0 to 1 from the left and the top).
    Ogre::Ray ViewportRay(float x, float y) const;

    std::vector<CPickResult> m_PickResults;
    CDummyMotionController m_DummyController;
    sds::CVector m_Offset;
    sds::CVector m_Offsets[OFFSET_COUNT];
    sds::CVector m_PrevModeLastPos;
    sds::CQuaternion m_PrevModeLastOrientation;
    std::map<int, sds::ICameraMotionController*> m_Controllers;
    std::shared_ptr<CCameraManipulator> m_Manipulator;
    bool m_InputEnabled = true;
    int m_Mode = sds::CameraEvents::camera_none;
    sds::CGfxObjPtr m_Attached;
    sds::IGfxMgr* m_pGfxMgr;
    sds::CVector m_BoundsMin = sds::CVector::MAX_NEGATIVE;
    sds::CVector m_BoundsMax = sds::CVector::MAX_POSITIVE;
    Ogre::SceneNode* m_pYawNode = nullptr;
    Ogre::SceneNode* m_pPitchNode = nullptr;
    Ogre::SceneNode* m_pCameraNode = nullptr;
    Ogre::Camera* m_pCamera;
    Ogre::Viewport* m_pViewport;
    Ogre::SceneManager* m_pSceneManager;
    xml::CNodePtr m_Config;
    Ogre::RaySceneQuery* m_pRayQuery = nullptr;
    int m_PolygonMode = 0;
    bool m_WorldUpDown = false;
    // Set while Update runs, so that a script cannot make it run itself again.
    bool m_Updating = false;
};

} // namespace wrappers
