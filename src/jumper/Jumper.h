#pragma once

#include <memory>
#include <string>
#include <vector>

#include <boost/noncopyable.hpp>

#include "core/Node.h"
#include "core/Quaternion.h"
#include "core/StateMachineTmpl.h"
#include "jumper/AnimationBlender.h"
#include "jumper/IAltimeter.h"
#include "jumper/ICollisionJudge.h"
#include "jumper/IContainer.h"
#include "jumper/IJumper.h"
#include "jumper/JointAttached.h"
#include "jumper/JumperLinks.h"
#include "jumper/JumperState.h"
#include "jumper/Trajectory.h"

namespace physics {
class IPhyJumper;
}

namespace sds {

namespace JumperStates {
class CHangingOutOfPlaneState;
class CExitPlaneState;
class CFreeFallState;
class CReachingMainState;
class CPullingMainState;
class CDeploymentState;
class CCanopyRideState;
class CCrashLandingState;
class CLandingNormalState;
class CPLFLandingState;
class CDoneState;
class CTeleportState;
} // namespace JumperStates

// The skydiver in the world: the "Body" mesh with its skeleton, the physical
// body the physics world flies, the rig, the helmet and the eye point held on
// the skeleton's bones, and the recorded flight. Its states do the work of
// each phase of the jump; the jumper routes events to the current state and
// each frame keeps what it wears in place and records where it is.
class CJumper : public IJumper,
                public IJudgedJumper,
                public CStateMachineTmpl<JumperStates::CJumperState, IUpdate>,
                private boost::noncopyable
{
public:
    // Built from the jumper's configuration element ("Jumper"): `name`,
    // `logData`, `index`, `canopyModel`, `inputConversion` and
    // `showPilotChute` go to the physical body with the start pose, the exit
    // weight and the canopy size (see physics::IPhyMgr::CreateJumper);
    // `collision` is for the landing judge; with `useInputModes` the states
    // push and pop their input modes on `links.InputModes`. The physics world,
    // the graphics, the application's configuration ("Trajectory",
    // "Application"/"Edition") and the equipment manager must exist. Starts
    // in the aircraft, or under the open canopy when "JumperStates"/"StartState"
    // is "CanopyRide". Throws the XML layer's exceptions for missing keys,
    // CException for a joint the body lacks, and whatever the physics world
    // and the equipment manager throw.
    CJumper(const std::string& name, bool logData, int index, const xml::CNodePtr& config,
            const xml::CNodePtr& collision, const CVector& startPos, const CQuaternion& startOrientation,
            float exitWeight, float canopySize, const std::string& canopyModel, const std::string& inputConversion,
            bool showPilotChute, bool useInputModes, const CJumperLinks& links = CJumperLinks());
    ~CJumper() override;

    // The frame: the state, the blend of the body's animations, the body's own
    // update and pose, then what hangs on the pose (rig, altimeters, eye point,
    // head), the trajectory's sample and the judge's.
    void Update(const CTiming& timing) override;
    void OnStart() override {}

    CVector GetPos() const override;
    CVector GetVelocity() const override;
    std::string GetName() const override;
    std::shared_ptr<IContainer> GetContainer() const override { return m_Container; }
    void OnDiscreteEvent(const CInternalEvent& event) override;
    void OnAnalogEvent(const CInternalEvent& event) override;
    const CTrajectory& GetTrajectory() const override { return m_Trajectory; }
    // The canopy flies: the trajectory's canopy-ride figures count from here.
    void OnCanopyOpened() { m_Trajectory.StartCanopyRide(); }
    CGfxObjPtr GetHelperObj() const override { return m_EyesObj; }
    std::string GetAltimeterCaption() const override;
    void OnEvent(const std::string& name) override;
    xml::CNodePtr GetLandingInfo() const override;
    float GetLeftTurnValue() const override;
    float GetRightTurnValue() const override;
    void SetVisible(bool visible) override;
    int GetLeftHandControl() const override;
    int GetRightHandControl() const override;

    std::shared_ptr<physics::IPhyJumper> GetPhyJumper() const override { return m_PhyJumper; }
    // The judge's verdict: into that landing state, unless it is current.
    void Land(ELanding landing) override;
    CGfxObjPtr GetBodyObj() const { return m_BodyObj; }
    CAnimationBlender* GetAnimationBlender() { return &m_Blender; }
    // The body's graphic object takes the physical body's position and orientation.
    void SyncToPhysics();

    const xml::CNodePtr& GetConfig() const { return m_Config; }
    // The body's animation of that record under "Animation".
    CAnimationPtr ReadBodyAnimation(const std::string& name) const;
    const CCollisionJudgePtr& GetCollisionJudge() const { return m_Judge; }
    const CJumperLinks& GetLinks() const { return m_Links; }
    // The wall clock in milliseconds, or the clock the links give.
    std::uint64_t NowMs() const;
    // With the input-mode flag and a mode stack, pushes or pops a mode.
    void PushInputMode(const std::string& name);
    void PopInputMode();
    // True while a binding of the code is held; false without a mode stack.
    bool IsEventHeld(std::int32_t code) const;

    JumperStates::CHangingOutOfPlaneState* GetHangingOutOfPlaneState() const { return m_HangingOutOfPlane.get(); }
    JumperStates::CExitPlaneState* GetExitPlaneState() const { return m_ExitPlane.get(); }
    JumperStates::CFreeFallState* GetFreeFallState() const { return m_FreeFall.get(); }
    JumperStates::CReachingMainState* GetReachingMainState() const { return m_ReachingMain.get(); }
    JumperStates::CPullingMainState* GetPullingMainState() const { return m_PullingMain.get(); }
    JumperStates::CDeploymentState* GetDeploymentState() const { return m_Deployment.get(); }
    JumperStates::CCanopyRideState* GetCanopyRideState() const { return m_CanopyRide.get(); }
    JumperStates::CCrashLandingState* GetCrashLandingState() const { return m_CrashLanding.get(); }
    JumperStates::CLandingNormalState* GetLandingNormalState() const { return m_LandingNormal.get(); }
    JumperStates::CPLFLandingState* GetPLFLandingState() const { return m_PLFLanding.get(); }
    JumperStates::CDoneState* GetDoneState() const { return m_Done.get(); }
    JumperStates::CTeleportState* GetTeleportState() const { return m_Teleport.get(); }
    bool UsesInputModes() const { return m_UseInputModes; }
    CGfxObjPtr GetHeadObj() const { return m_HeadObj; }
    CGfxObjPtr GetLeftHandObj() const { return m_LeftHandObj; }
    CGfxObjPtr GetRightHandObj() const { return m_RightHandObj; }
    const std::vector<CAltimeterPtr>& GetAltimeters() const { return m_Altimeters; }
    // The points on the body's bones: the eyes, the helmet's place and the rig's.
    const std::shared_ptr<CJointAttached>& GetEyesPoint() const { return m_Eyes; }
    const std::shared_ptr<CJointAttached>& GetHeadPoint() const { return m_HeadLoc; }
    const std::shared_ptr<CJointAttached>& GetContainerPoint() const { return m_ContainerPoint; }

private:
    void CreateAltimeters();
    void AddAltimeter(const xml::CNodePtr& altimeter);
    // A hidden cube on the bone of the "Attachment" of that name, turned by its "Orientation".
    CGfxObjPtr AttachHand(const std::string& attachment);
    std::shared_ptr<CJointAttached> AttachPoint(const std::string& attachment);
    void CreateStates(const CAnimationPtr& idleFreeFall);
    // Full canopy flight at once, every transition finished.
    void StartInCanopyRide(const CAnimationPtr& idleFreeFall, bool showPilotChute);

    std::shared_ptr<physics::IPhyJumper> m_PhyJumper;
    xml::CNodePtr m_Config;
    CAnimationBlender m_Blender;
    std::vector<CAltimeterPtr> m_Altimeters;
    std::shared_ptr<CJointAttached> m_Eyes;
    CGfxObjPtr m_EyesObj;
    CGfxObjPtr m_HeadObj;
    std::shared_ptr<CJointAttached> m_HeadLoc;
    std::shared_ptr<CJointAttached> m_ContainerPoint;
    CCollisionJudgePtr m_Judge;
    std::shared_ptr<JumperStates::CHangingOutOfPlaneState> m_HangingOutOfPlane;
    std::shared_ptr<JumperStates::CExitPlaneState> m_ExitPlane;
    std::shared_ptr<JumperStates::CFreeFallState> m_FreeFall;
    std::shared_ptr<JumperStates::CReachingMainState> m_ReachingMain;
    std::shared_ptr<JumperStates::CPullingMainState> m_PullingMain;
    std::shared_ptr<JumperStates::CDeploymentState> m_Deployment;
    std::shared_ptr<JumperStates::CCanopyRideState> m_CanopyRide;
    std::shared_ptr<JumperStates::CCrashLandingState> m_CrashLanding;
    std::shared_ptr<JumperStates::CLandingNormalState> m_LandingNormal;
    std::shared_ptr<JumperStates::CPLFLandingState> m_PLFLanding;
    std::shared_ptr<JumperStates::CDoneState> m_Done;
    std::shared_ptr<JumperStates::CTeleportState> m_Teleport;
    bool m_UseInputModes;
    CJumperLinks m_Links;
    CContainerPtr m_Container;
    CGfxObjPtr m_BodyObj;
    CGfxObjPtr m_LeftHandObj;
    CGfxObjPtr m_RightHandObj;
    CTrajectory m_Trajectory;
};

} // namespace sds
