#pragma once

#include "graphics/IGfxObj.h"
#include "jumper/JumperState.h"

namespace sds::JumperStates {

// The handle is pulled; the bridle comes out and, once the pull has played to
// its end, the deployment begins.
class CPullingMainState : public CJumperState
{
public:
    explicit CPullingMainState(CJumper* jumper);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    void Exit() override;

private:
    CAnimationPtr m_Animation;
};

} // namespace sds::JumperStates
