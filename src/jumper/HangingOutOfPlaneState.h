#pragma once

#include "core/Node.h"
#include "core/Quaternion.h"
#include "core/Vector.h"
#include "graphics/IGfxObj.h"
#include "jumper/JumperState.h"

namespace physics::PhyJumperStates {
class IExitState;
}

namespace sds::JumperStates {

// Hanging outside the door; letting go of `letgo_from_plane` (29) drops the
// jumper into free fall where it hangs.
class CHangingOutOfPlaneState : public CJumperState
{
public:
    // `config`: "JumperStates"/"HangingOutOfPlane".
    CHangingOutOfPlaneState(CJumper* jumper, const xml::CNodePtr& config);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    void Exit() override;
    void OnDiscreteEvent(const CInternalEvent& event) override;

private:
    CAnimationPtr m_ClimbingOut;
    CAnimationPtr m_Hanging;
    // Read with the rest; the jumper hangs where the door placed it.
    CVector m_InPlanePosition;
    CQuaternion m_InPlaneOrientation;
    physics::PhyJumperStates::IExitState* m_PhyExit;
    CVector m_PrevPos;
};

} // namespace sds::JumperStates
