#pragma once

#include <functional>

#include "jumper/DeploymentSubState.h"
#include "jumper/IContainer.h"
#include "jumper/IDBag.h"
#include "jumper/IPilotChute.h"

namespace sds::JumperStates {

// The pilot chute pulls the D-bag out on its bridle until the bag is
// "ExtractDBagDist" from the rig; the jumper lets go of the arch and reaches
// for the risers.
class CExtractDBag : public CDistanceDelay<std::greater<float>>
{
public:
    CExtractDBag(CDeploymentControl* control, const CContainerPtr& container, const CAnimationPtr& idleFreeFall,
                 const CAnimationPtr& grabRisers, const CDeploymentSubStatePtr& next);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;

private:
    CContainerPtr m_Container;
    CPilotChutePtr m_PilotChute;
    CDBagPtr m_DBag;
    float m_Speed;
    float m_BridleLength;
    CVector m_Offset;
    CAnimationPtr m_IdleFreeFall;
    CAnimationPtr m_GrabRisers;
};

} // namespace sds::JumperStates
