#include "jumper/Airplane.h"

#include "jumper/GfxObjectConfig.h"
#include "sound/ISoundTemplate.h"
#include "sound/LoadSoundTemplate.h"

namespace sds {

CAirplane::CAirplane(const xml::CNodePtr& config)
    : CVisObj(CreateGfxObject(config->GetChild("Mesh"), CGfxObjPtr())),
      m_Speed(config->GetChild("Movement")->GetAttribute("Speed")->GetValue<float>()),
      m_Direction(xml::ParseVector(config->GetChild("Movement")->GetAttribute("Direction")->GetValue()))
{
    m_GfxObj->SetPos(xml::ParseVector(config->GetAttribute("Altitude")->GetValue()));
    m_EngineSound = LoadSoundTemplate(config->GetChild("SndEngine"))->CreateSound(CVector::ZERO, CVector::ZERO);
}

CAirplane::~CAirplane()
{
    // A looping engine would go on sounding from a source nobody holds.
    if (m_EngineSound)
        m_EngineSound->Stop();
    m_EngineSound.reset();
    m_GfxObj.reset();
}

void CAirplane::Update(const CTiming& timing)
{
    m_GfxObj->SetPos(m_GfxObj->GetPos() + m_Direction * (m_Speed * timing.m_Elapsed));
    m_GfxObj->UpdateTransform();
    if (m_EngineSound)
        m_EngineSound->SetPosition(m_GfxObj->GetPos());
}

} // namespace sds
