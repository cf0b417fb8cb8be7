#include "app/CountDownState.h"

#include "graphics/IGfxMgr.h"
#include "graphics/IOverlayElement.h"

namespace sds {
namespace EngineStates {

CCountDownState::CCountDownInfo::CCountDownInfo(const xml::CNodePtr& config)
    : CSplashScreenInfo(config), m_Message(m_Overlay->GetElement(m_OverlayName + "/Message"))
{
    // The element keeps its scripted colour; only the alpha is ours.
    m_Colour = m_Message->GetColour();
    // Without this a fading-in word would flash whole on the frame it is shown.
    SetFade(m_FadeIn.Total > 0.0f ? 1.0f : 0.0f);
}

void CCountDownState::CCountDownInfo::SetFade(float fade)
{
    m_Colour.v[3] = 1.0f - fade;
    m_Message->SetColour(m_Colour);
}

CCountDownState::CCountDownState(CEngine* engine, const xml::CNodePtr& countDownConfig)
    : CSplashScreensState(engine, countDownConfig)
{
}

void CCountDownState::OnUpdate(const CTiming& timing)
{
    CSplashScreensState::OnUpdate(timing);
    IGfxMgr::GetSingleton()->UpdateCamera(timing);
}

std::shared_ptr<CSplashScreensState::CSplashScreenInfo> CCountDownState::CreateInfo(const xml::CNodePtr& config)
{
    return std::make_shared<CCountDownInfo>(config);
}

void CCountDownState::OnFinished(float, float)
{
    m_Owner->PopState();
}

} // namespace EngineStates
} // namespace sds
