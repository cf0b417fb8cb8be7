#include "jumper/DeploymentControl.h"

#include "graphics/IGfxMgr.h"
#include "jumper/CatchAir.h"
#include "jumper/DeployPilotChute.h"
#include "jumper/ExtractCanopy.h"
#include "jumper/ExtractDBag.h"
#include "jumper/InflateCanopy.h"
#include "jumper/Jumper.h"
#include "jumper/SliderDown.h"
#include "physics/IPhyJumper.h"
#include "physics/flight/IDeploymentState.h"

namespace sds::JumperStates {

CDeploymentControl::CDeploymentControl(CJumper* jumper, const CAnimationPtr& idleFreeFall,
                                       const CAnimationPtr& grabRisers)
    : m_Jumper(jumper), m_Container(jumper->GetContainer())
{
    // Nothing is read from it yet, but a jumper without it is misconfigured.
    jumper->GetConfig()->GetChild("JumperStates")->GetChild("Deployment");
    m_SliderDown = std::make_shared<CSliderDown>(this, m_Container, grabRisers);
    m_InflateCanopy = std::make_shared<CInflateCanopy>(this, m_Container);
    m_ExtractCanopy = std::make_shared<CExtractCanopy>(this, m_Container, m_InflateCanopy);
    m_ExtractDBag = std::make_shared<CExtractDBag>(this, m_Container, idleFreeFall, grabRisers, m_ExtractCanopy);
    m_CatchAir = std::make_shared<CCatchAir>(this, m_Container);
    m_DeployPilotChute = std::make_shared<CDeployPilotChute>(this, m_Container, m_CatchAir);
}

CDeploymentControl::~CDeploymentControl() = default;

void CDeploymentControl::OnStart()
{
    ChangeState(m_DeployPilotChute.get());
}

void CDeploymentControl::NextPhysicalStage()
{
    m_Jumper->GetPhyJumper()->GetDeploymentState()->NextStage();
}

void CDeploymentControl::RefreshScene()
{
    IGfxMgr::GetSingleton()->GetRootObject()->UpdateTransform();
}

} // namespace sds::JumperStates
