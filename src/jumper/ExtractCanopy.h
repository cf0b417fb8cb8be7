#pragma once

#include <functional>

#include "jumper/DeploymentSubState.h"
#include "jumper/ICanopy.h"
#include "jumper/IContainer.h"
#include "jumper/IDBag.h"
#include "jumper/IPilotChute.h"

namespace sds::JumperStates {

// The canopy comes out of the D-bag: pilot chute, bag and canopy rise at
// "ExtractCanopySpeed" until the canopy is "ExtractCanopyDist" from the rig.
class CExtractCanopy : public CDistanceDelay<std::greater<float>>
{
public:
    CExtractCanopy(CDeploymentControl* control, const CContainerPtr& container, const CDeploymentSubStatePtr& next);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;

private:
    CPilotChutePtr m_PilotChute;
    CDBagPtr m_DBag;
    CCanopyPtr m_Canopy;
    float m_Speed;
};

} // namespace sds::JumperStates
