#pragma once

#include "graphics/IGfxObj.h"
#include "jumper/LandingState.h"

namespace sds::JumperStates {

// A stand-up landing: the jumper stands upright at once and walks.
class CLandingNormalState : public CLandingState
{
public:
    CLandingNormalState(CJumper* jumper, const CAnimationPtr& walking);
    void Enter() override;
    // Keeps the rag-doll objects: the next landing replaces them.
    void Exit() override;

private:
    CAnimationPtr m_Animation;
};

} // namespace sds::JumperStates
