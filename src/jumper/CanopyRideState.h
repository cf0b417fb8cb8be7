#pragma once

#include <cstdint>
#include <memory>

#include "graphics/IGfxObj.h"
#include "jumper/JumperState.h"

namespace physics::PhyJumperStates {
class ICanopyRideState;
}

namespace sds {
class CRagDollObj;
}

namespace sds::JumperStates {

class CCanopyRideInputs;

// Flight under the open canopy: the jumper and the canopy follow their bodies,
// the hands steer and the six pulls go to the physical canopy every frame. A
// landing ends it.
class CCanopyRideState : public CJumperState
{
public:
    explicit CCanopyRideState(CJumper* jumper);
    ~CCanopyRideState() override;

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    void Exit() override;
    void OnAnalogEvent(const CInternalEvent& event) override;
    void OnDiscreteEvent(const CInternalEvent& event) override;

    // The turn code of the control each hand works; only while the state is current.
    std::int32_t GetLeftHandControl() const;
    std::int32_t GetRightHandControl() const;
    // The canopy's object takes the physical canopy's pose.
    void SyncCanopyToPhysics();

    // How far each hand pulls: the first enabled of its toggle, rear-riser
    // and front-riser turns, 0 for none.
    float GetLeftTurnValue() const;
    float GetRightTurnValue() const;
    const std::shared_ptr<CCanopyRideInputs>& GetInputs() const { return m_Inputs; }

private:
    // Logs "Under canopy at <n> m" as the altimeter's height falls below each
    // whole metre from kLoggedHeights down to 1.
    void LogHeight();
    static constexpr int kLoggedHeights = 10;

    std::shared_ptr<CCanopyRideInputs> m_Inputs;
    int m_LoggedHeight = kLoggedHeights + 1;
    physics::PhyJumperStates::ICanopyRideState* m_PhyCanopyRide;
    std::shared_ptr<CRagDollObj> m_PilotChuteRagDoll;
    CAnimationPtr m_LeftToggleTurn;
    CAnimationPtr m_LeftRearRiserTurn;
    CAnimationPtr m_LeftFrontRiserTurn;
    CAnimationPtr m_RightToggleTurn;
    CAnimationPtr m_RightRearRiserTurn;
    CAnimationPtr m_RightFrontRiserTurn;
};

} // namespace sds::JumperStates
