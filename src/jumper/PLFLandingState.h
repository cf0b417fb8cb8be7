#pragma once

#include "graphics/IGfxObj.h"
#include "jumper/LandingState.h"

namespace sds::JumperStates {

// A parachute landing fall: the body stays animated and plays the fall.
class CPLFLandingState : public CLandingState
{
public:
    CPLFLandingState(CJumper* jumper, const CAnimationPtr& fall);
    void Enter() override;
    void Exit() override {}

private:
    CAnimationPtr m_Animation;
};

} // namespace sds::JumperStates
