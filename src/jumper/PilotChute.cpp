#include "jumper/PilotChute.h"

#include "core/ILogMgr.h"
#include "jumper/AnimationRecord.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/Identity.h"

namespace sds {

CPilotChute::CPilotChute(const xml::CNodePtr& model, const CGfxObjPtr& parent)
{
    m_GfxObj = CreateGfxObject(model->GetChild("Mesh"), parent);
    m_Inflating = ReadAnimation(model->GetChild("Animation")->GetChild("Inflating"), m_GfxObj);
    m_Config = model;
    ILogMgr::GetSingleton()->LogMessage("CPilotChute " + IdentityOf(this) + " is created");
}

CPilotChute::~CPilotChute()
{
    ILogMgr::GetSingleton()->LogMessage("CPilotChute " + IdentityOf(this) + " is destroyed");
}

void CPilotChute::StopInflating()
{
    m_Inflating->SetEnabled(false);
    m_Inflating->SetAutoUpdate(true);
}

void CPilotChute::ReverseInflating()
{
    m_Inflating->SetSpeed(-m_Inflating->GetSpeed());
    m_Inflating->SetAutoUpdate(true);
}

} // namespace sds
