#include "mods/HUDMessageMod.h"

#include "graphics/IGfxMgr.h"

namespace sds {

CHUDMessageMod::CHUDMessageMod()
    : ILevelMod("HUDMessage"), m_Overlay(IGfxMgr::GetSingleton()->CreateOverlayed("CenterMessage")),
      m_Backdrop(m_Overlay->GetElement("CenterMessage/Panel")),
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
    SetCaption("");
}

void CHUDMessageMod::Restart()
{
    SetCaption("");
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
    SetCaption(text);
    m_Overlay->SetVisible(true);
    m_FadeTimer = fadeTime >= 0.0f ? fadeTime : DEFAULT_FADE_TIME;
}

void CHUDMessageMod::SetCaption(const std::string& text)
{
    m_Element->SetCaption(text);
    m_Backdrop->SetVisible(!text.empty());
}

} // namespace sds
