#include "jumper/ExtractCanopy.h"

#include "core/ILogMgr.h"

namespace sds::JumperStates {

CExtractCanopy::CExtractCanopy(CDeploymentControl* control, const CContainerPtr& container,
                               const CDeploymentSubStatePtr& next)
    : CDistanceDelay(control,
                     container->GetCanopy()->GetConfig()->GetAttribute("ExtractCanopyDist")->GetValue<float>(),
                     container->GetGfxObj(), container->GetCanopy()->GetGfxObj(), next),
      m_PilotChute(container->GetPilotChute()),
      m_DBag(container->GetDBag()),
      m_Canopy(container->GetCanopy()),
      m_Speed(container->GetCanopy()->GetConfig()->GetAttribute("ExtractCanopySpeed")->GetValue<float>())
{
}

void CExtractCanopy::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Extracting canopy");
    // The canopy hangs under the D-bag: out of it, at its origin.
    m_Canopy->GetGfxObj()->SetVisible(true);
    m_Canopy->GetGfxObj()->SetPos(CVector::ZERO);
    m_Owner->NextPhysicalStage();
}

void CExtractCanopy::OnUpdate(const CTiming& timing)
{
    const CVector rise(0.0f, m_Speed * timing.m_Elapsed, 0.0f);
    for (const CGfxObjPtr& piece : {m_PilotChute->GetGfxObj(), m_DBag->GetGfxObj(), m_Canopy->GetGfxObj()})
        piece->SetPos(piece->GetPos() + rise);
    CDeploymentControl::RefreshScene();
    CDistanceDelay::OnUpdate(timing);
}

} // namespace sds::JumperStates
