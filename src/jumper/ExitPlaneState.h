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

// Standing at the aircraft's door, spotting. The body rides with the jumper's
// object, which the aircraft carries; letting go of `letgo_from_plane` (29)
// climbs out.
class CExitPlaneState : public CJumperState
{
public:
    // `parent`: what the jumper stands in (the aircraft's object, or the
    // scene's root); `config`: "JumperStates"/"ExitPlane".
    CExitPlaneState(CJumper* jumper, const CGfxObjPtr& parent, const xml::CNodePtr& config);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    void Exit() override;
    void OnAnalogEvent(const CInternalEvent& event) override { OnEvent(event); }
    void OnDiscreteEvent(const CInternalEvent& event) override { OnEvent(event); }

private:
    void OnEvent(const CInternalEvent& event);

    CGfxObjPtr m_Parent;
    CAnimationPtr m_Spotting;
    CVector m_InPlanePosition;
    CQuaternion m_InPlaneOrientation;
    physics::PhyJumperStates::IExitState* m_PhyExit;
    CVector m_PrevPos;
};

// The exit body follows the jumper's object: its world position, its world
// orientation turned a quarter about -y, and the velocity since the last frame
// (zero for a frame of 0.00001 s or less). Returns the position now.
CVector FollowWithExitBody(CJumper& jumper, physics::PhyJumperStates::IExitState& exit, const CVector& prevPos,
                           const CTiming& timing);

} // namespace sds::JumperStates
