#include "mods/HUDMessageMod.h"

#include "graphics/IGfxMgr.h"

namespace sds {

CHUDMessageMod::CHUDMessageMod()
    : ILevelMod("HUDMessage"), m_Overlay(IGfxMgr::GetSingleton()->CreateOverlayed("CenterMessage")),
      m_Element(m_Overlay->GetElement("CenterMessage/Message"))
{
    m_Overlay->SetVisible(false);
}

CHUDMessageMod::~CHUDMessageMod()
{
    m_Overlay->SetVisible(false);
}

void CHUDMessageMod::Update(const CTiming& timing)
{
    if (!m_Overlay->IsVisible())
        return;
    if (m_FadeTimer >= 0.0f) {
        m_FadeTimer -= timing.m_Elapsed;
        return;
    }
    m_Overlay->SetVisible(false);
    m_Element->SetCaption("");
}

void CHUDMessageMod::Restart()
{
    m_Element->SetCaption("");
    m_Overlay->SetVisible(true);
    m_FadeTimer = 0.0f;
}

void CHUDMessageMod::Pause()
{
    m_Overlay->SetVisible(false);
}

void CHUDMessageMod::Resume()
{
    m_Overlay->SetVisible(!m_Element->GetCaption().empty());
}

void CHUDMessageMod::ShowMessage(const std::string& text, float fadeTime)
{
    m_Element->SetCaption(text);
    m_Overlay->SetVisible(true);
    m_FadeTimer = fadeTime >= 0.0f ? fadeTime : DEFAULT_FADE_TIME;
}

} // namespace sds
