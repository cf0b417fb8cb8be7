#pragma once

#include <cstdint>
#include <memory>

#include "core/Node.h"
#include "jumper/JumperState.h"

namespace physics::PhyJumperStates {
class ILandingState;
}

namespace sds {
class CRagDollObj;
}

namespace sds::JumperStates {

// The common part of the landings: the jumper, the canopy and the pilot chute
// become rag dolls, the body lands, and after "BeforeStatisticsDelay" seconds
// of wall clock the jump is done and its display opens.
class CLandingState : public CJumperState
{
public:
    explicit CLandingState(CJumper* jumper);
    ~CLandingState() override;

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    void Exit() override;

    // Hands the landing's "Camera" element to the camera, when there is one.
    void SetLandingCamera(const xml::CNodePtr& camera);

    const std::shared_ptr<CRagDollObj>& GetBodyRagDoll() const { return m_BodyRagDoll; }

protected:
    std::shared_ptr<CRagDollObj> m_BodyRagDoll;
    std::shared_ptr<CRagDollObj> m_CanopyRagDoll;
    std::shared_ptr<CRagDollObj> m_PilotChuteRagDoll;
    float m_Delay;
    std::uint64_t m_EntryClock;
    // A stand-up landing keeps the body animated.
    bool m_StandUp = false;
    xml::CNodePtr m_LandingConfig;
    physics::PhyJumperStates::ILandingState* m_PhyLanding;
};

} // namespace sds::JumperStates
