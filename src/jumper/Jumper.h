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
#include "jumper/JumperState.h"
#include "jumper/Trajectory.h"

namespace physics {
class IPhyJumper;
}

namespace sds {

// The skydiver in the world: the "Body" mesh with its skeleton, the physical
// body the physics world flies, the rig, the helmet and the eye point held on
// the skeleton's bones, and the recorded flight. Its states do the work of
// each phase of the jump; the jumper routes events to the current state and
// each frame keeps what it wears in place and records where it is.
class CJumper : public IJumper,
                public CStateMachineTmpl<JumperStates::CJumperState, IUpdate>,
                private boost::noncopyable
{
public:
    // Built from the jumper's configuration element ("Jumper"): `name`,
    // `logData`, `index`, `canopyModel`, `inputConversion` and
    // `showPilotChute` go to the physical body with the start pose, the exit
    // weight and the canopy size (see physics::IPhyMgr::CreateJumper);
    // `collision` is for the landing judge; with `useInputModes` the states
    // push and pop their input modes. The physics world, the graphics, the
    // application's configuration ("Trajectory") and the equipment manager
    // must exist. Throws the XML layer's exceptions for missing keys,
    // CException for a joint the body lacks, and whatever the physics world
    // and the equipment manager throw.
    CJumper(const std::string& name, bool logData, int index, const xml::CNodePtr& config,
            const xml::CNodePtr& collision, const CVector& startPos, const CQuaternion& startOrientation,
            float exitWeight, float canopySize, const std::string& canopyModel, const std::string& inputConversion,
            bool showPilotChute, bool useInputModes);
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
    CTrajectory& GetTrajectory() override { return m_Trajectory; }
    CGfxObjPtr GetHelperObj() const override { return m_EyesObj; }
    std::string GetAltimeterCaption() const override;
    void OnEvent(const std::string& name) override;
    xml::CNodePtr GetLandingInfo() const override;
    float GetLeftTurnValue() const override;
    float GetRightTurnValue() const override;
    void SetVisible(bool visible) override;
    int GetLeftHandControl() const override;
    int GetRightHandControl() const override;

    std::shared_ptr<physics::IPhyJumper> GetPhyJumper() const { return m_PhyJumper; }
    CGfxObjPtr GetBodyObj() const { return m_BodyObj; }
    CAnimationBlender* GetAnimationBlender() { return &m_Blender; }
    // The body's graphic object takes the physical body's position and orientation.
    void SyncToPhysics();

    const xml::CNodePtr& GetConfig() const { return m_Config; }
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
    bool m_UseInputModes;
    CContainerPtr m_Container;
    CGfxObjPtr m_BodyObj;
    CGfxObjPtr m_LeftHandObj;
    CGfxObjPtr m_RightHandObj;
    CTrajectory m_Trajectory;
};

} // namespace sds
