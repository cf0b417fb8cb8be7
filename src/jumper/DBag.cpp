#include "jumper/DBag.h"

#include "core/ILogMgr.h"
#include "jumper/AnimationRecord.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/Identity.h"

namespace sds {

CDBag::CDBag(const xml::CNodePtr& element, const CGfxObjPtr& parent)
    : m_Blend(0.0)
{
    m_GfxObj = CreateGfxObject(element->GetChild("Mesh"), parent);
    const xml::CNodePtr records = element->GetChild("Animation");
    m_Opening = ReadAnimation(records->GetChild("Opening"), m_GfxObj);
    m_Collapsing = ReadAnimation(records->GetChild("Collapsing"), m_GfxObj);
    m_Blend = CAnimationBlender(records->GetAttribute("AnimationBlending")->GetValue<float>());
    m_Config = element;
    ILogMgr::GetSingleton()->LogMessage("CDBag " + IdentityOf(this) + " is created");
}

CDBag::~CDBag()
{
    ILogMgr::GetSingleton()->LogMessage("CDBag" + IdentityOf(this) + " is destroyed");
}

void CDBag::Open()
{
    m_Opening->SetAutoUpdate(true);
}

void CDBag::Collapse()
{
    m_Collapsing->SetAutoUpdate(true);
    m_Blend.FadeIn(m_Collapsing);
    m_Blend.FadeOut(m_Opening);
    m_Blend.Start();
}

void CDBag::Update(const CTiming& timing)
{
    CVisObj::Update(timing);
    m_Blend.Update(timing);
}

} // namespace sds
