#pragma once

#include "graphics/IGfxObj.h"
#include "jumper/JumperState.h"

namespace sds::JumperStates {

// The hand goes to the main handle and stays there while `open_canopy` (27)
// is held; letting go pulls.
class CReachingMainState : public CJumperState
{
public:
    CReachingMainState(CJumper* jumper, const CAnimationPtr& animation);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    void Exit() override;
    void OnDiscreteEvent(const CInternalEvent& event) override;

private:
    CAnimationPtr m_Animation;
};

} // namespace sds::JumperStates
