#pragma once

#include <cstdint>
#include <memory>

#include "core/Node.h"
#include "core/Quaternion.h"
#include "core/Vector.h"
#include "physics/PhyMovingBody.h"
#include "physics/flight/ILandingState.h"
#include "physics/flight/PhyJumperState.h"
#include "physics/sdk/JointDesc.h"

namespace physics {

class CPhyPilotChute;
class CPhyRagDoll;

namespace sdk {
class IJoint;
}

namespace PhyJumperStates {

// After touch-down the jumper's body is a set of rag dolls: the jumper, the
// canopy and, unless it is left out, the slider, tied together by distance
// joints, with the pilot chute hanging from the canopy. Until the phase is
// current they are parked rigid where the bodies they stand in for are; its
// first entry lets them go there, at those bodies' speed.
class CLandingState : public ILandingState, public CPhyJumperState
{
public:
    // The jumper and canopy rag dolls are required; the slider and the pilot
    // chute's rag doll may be empty. Reads the "Slider" ("Offset",
    // "AdditionalDistance") and the "ForceGravity" and "ForceDrag" named
    // "Canopy" of the "State" named "Landing", and the canopy ride's "PilotChute".
    CLandingState(CPhyJumper* owner, const xml::CNodePtr& phyJumper, const std::shared_ptr<CPhyRagDoll>& jumper,
                  const std::shared_ptr<CPhyRagDoll>& canopy, const std::shared_ptr<CPhyRagDoll>& slider,
                  const std::shared_ptr<CPhyRagDoll>& pilotChute);
    ~CLandingState() override;

    std::shared_ptr<CPhyRagDoll> GetCanopyRagDoll() const override { return m_CanopyRagDoll; }
    std::shared_ptr<CPhyRagDoll> GetJumperRagDoll() const override { return m_JumperRagDoll; }
    std::shared_ptr<CPhyRagDoll> GetSliderRagDoll() const override { return m_SliderRagDoll; }
    void SetLandingMode(int mode) override { m_LandingMode = mode; }

    void OnUpdate(const sds::CTiming& timing) override;
    void Enter() override;
    void Exit() override;
    float GetBodyDragMagnitude() const override { return 0.0f; }
    // The jumper rag doll's root bone.
    CPhyObj* GetBody() override;
    void DrawForces() override;
    // The root takes the callback and shares it with every bone of the jumper.
    void SetCollisionCallback(const CPhyObj::CCollisionCallback& callback) override;
    void Sync() override;

    // A rope between two actors at points in their frames: as long as they are
    // apart now plus `extraLength`, at least a fifth of that distance, springy.
    static sdk::CJointDesc DistanceJointDesc(sdk::IActor& first, sdk::IActor& second, const sds::CVector& firstAnchor,
                                             const sds::CVector& secondAnchor, const sds::CVector& axis,
                                             float extraLength);

    int GetLandingMode() const { return m_LandingMode; }
    const std::shared_ptr<CPhyPilotChute>& GetPilotChute() const { return m_PilotChute; }
    sdk::IJoint* GetJumperCanopyJoint() const { return m_JumperCanopyJoint; }
    sdk::IJoint* GetSliderCanopyJoint() const { return m_SliderCanopyJoint; }
    sdk::IJoint* GetJumperSliderJoint() const { return m_JumperSliderJoint; }

    // That rope between the actors' origins, made in the world's scene; throws
    // a std::bad_cast ("bad cast") when the scene makes none.
    static sdk::IJoint* MakeDistanceJoint(sdk::IActor& first, sdk::IActor& second, float extraLength);

private:
    void ReleaseJoint(sdk::IJoint*& joint);
    // The canopy ride's canopy, which the canopy rag doll stands in for.
    sdk::IActor* GetCanopyActor() const;

    std::shared_ptr<CPhyRagDoll> m_CanopyRagDoll;
    std::shared_ptr<CPhyRagDoll> m_JumperRagDoll;
    std::shared_ptr<CPhyRagDoll> m_SliderRagDoll;
    std::uint64_t m_World; // the serial of the world the ropes are made in
    sdk::IJoint* m_JumperCanopyJoint = nullptr;
    sdk::IJoint* m_SliderCanopyJoint = nullptr;
    sdk::IJoint* m_JumperSliderJoint = nullptr;
    std::shared_ptr<sds::ISyncObj> m_CanopySync;
    std::shared_ptr<sds::ISyncObj> m_SliderSync;
    std::shared_ptr<CPhyPilotChute> m_PilotChute;
    sds::CVector m_SliderOffset;
    float m_AdditionalDistance;
    // Holds the canopy's forces; bound to the canopy's root bone while current.
    CPhyMovingBody m_CanopyForces;
    int m_LandingMode = 0;
    bool m_Entered = false;
    // Where the jumper's body was after the last step, while the doll is parked.
    bool m_BodySeen = false;
    sds::CVector m_BodyPosition;
    sds::CQuaternion m_BodyOrientation;
};

} // namespace PhyJumperStates
} // namespace physics
