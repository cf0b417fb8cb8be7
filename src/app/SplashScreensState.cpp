#include "app/SplashScreensState.h"

#include "core/services/IEventMgr.h"
#include "graphics/IFader.h"
#include "graphics/IGfxMgr.h"

namespace sds {
namespace EngineStates {

namespace {

// A skipped screen fades out at the rate of a fade of this many seconds.
const float SKIP_FADE_OUT_TIME = 0.5f;

float Seconds(const xml::CNodePtr& config, const char* name)
{
    return config->GetAttribute(name)->GetValue<float>();
}

} // namespace

CSplashScreensState::CSplashScreenInfo::CSplashScreenInfo(const xml::CNodePtr& config)
    : m_Interruptible(config->GetAttribute("Interruptible")->GetValue<bool>()),
      m_OverlayName(config->GetAttribute("Overlay")->GetValue())
{
    const float fadeIn = Seconds(config, "FadeIn");
    const float show = Seconds(config, "Show");
    const float fadeOut = Seconds(config, "FadeOut");
    m_FadeIn = {fadeIn, fadeIn};
    m_Show = {show, show};
    m_FadeOut = {fadeOut, fadeOut};
    m_Overlay = IGfxMgr::GetSingleton()->CreateOverlayed(m_OverlayName);
    m_Overlay->SetVisible(false);
}

void CSplashScreensState::CSplashScreenInfo::SetFade(float alpha)
{
    IFader::GetSingleton()->SetAlpha(alpha);
}

CSplashScreensState::CSplashScreenInfo::~CSplashScreenInfo()
{
    m_Overlay->SetVisible(false);
    m_Overlay.reset();
}

void CSplashScreensState::CSplashScreenInfo::Update(const CTiming& timing)
{
    const float dt = timing.m_Elapsed;
    if (m_FadeIn.Remaining > 0.0f) {
        m_FadeIn.Remaining -= dt;
        const bool running = m_FadeIn.Remaining > 0.0f && m_FadeIn.Total != 0.0f;
        SetFade(running ? m_FadeIn.Remaining / m_FadeIn.Total : 0.0f);
    } else if (m_Show.Remaining > 0.0f) {
        m_Show.Remaining -= dt;
    } else if (m_FadeOut.Remaining > 0.0f) {
        m_FadeOut.Remaining -= dt;
        float alpha = 1.0f;
        if (m_FadeOut.Remaining > 0.0f)
            alpha = m_FadeOut.Total == 0.0f ? 0.0f : 1.0f - m_FadeOut.Remaining / m_FadeOut.Total;
        SetFade(alpha);
    }
}

void CSplashScreensState::CSplashScreenInfo::Skip()
{
    float visible = 0.0f;
    if (m_FadeIn.Remaining > 0.0f)
        visible = m_FadeIn.Total == 0.0f ? 0.0f : 1.0f - m_FadeIn.Remaining / m_FadeIn.Total;
    else if (m_Show.Remaining > 0.0f)
        visible = 1.0f;
    else if (m_FadeOut.Remaining > 0.0f && m_FadeOut.Total != 0.0f)
        visible = m_FadeOut.Remaining / m_FadeOut.Total;

    m_FadeIn.Remaining = -1.0f;
    m_Show.Remaining = -1.0f;
    m_FadeOut.Total = SKIP_FADE_OUT_TIME;
    m_FadeOut.Remaining = visible * SKIP_FADE_OUT_TIME;
}

CSplashScreensState::CSplashScreensState(CEngine* engine, const xml::CNodePtr& config)
    : IEngineState(engine), m_Config(config)
{
}

CSplashScreensState::~CSplashScreensState() = default;

void CSplashScreensState::OnUpdate(const CTiming& timing)
{
    if (!m_Screens.empty() && m_Screens.front()->IsFinished()) {
        m_Screens.pop_front();
        if (!m_Screens.empty())
            m_Screens.front()->Show();
    }
    if (m_Screens.empty())
        OnFinished(0.0f, 1.0f);
    else
        m_Screens.front()->Update(timing);
}

void CSplashScreensState::Enter()
{
    if (!m_Config->HasChild("SplashScreen")) {
        OnFinished(1.0f, 1.0f);
        return;
    }
    // Children of one name keep their document order.
    for (auto it = m_Config->GetChildrenBegin("SplashScreen"); it != m_Config->GetChildrenEnd("SplashScreen"); ++it)
        m_Screens.push_back(CreateInfo(it->second));
    ShowFader();
    m_Screens.front()->Show();
    m_KeyConnection = IEventMgr::GetSingleton()->ConnectDiscreteEvent([this](const CDiscreteEvent& e) { OnKey(e); });
}

void CSplashScreensState::Exit()
{
    // Left before its end (popped from outside), a state must not keep its
    // screen on show nor hand stale screens to its next entry.
    m_Screens.clear();
    m_KeyBlock.reset();
    m_KeyConnection.disconnect();
}

void CSplashScreensState::Pause()
{
    m_KeyBlock = std::make_unique<boost::signals2::shared_connection_block>(m_KeyConnection);
}

void CSplashScreensState::Resume()
{
    m_KeyBlock.reset();
}

std::shared_ptr<CSplashScreensState::CSplashScreenInfo> CSplashScreensState::CreateInfo(const xml::CNodePtr& config)
{
    return std::make_shared<CSplashScreenInfo>(config);
}

void CSplashScreensState::OnFinished(float fadeOutTime, float fadeInTime)
{
    CEngine* engine = m_Owner;
    engine->GetGuiEngine()->GoToMainMenu();
    IFader::GetSingleton()->StartFade(fadeOutTime, fadeInTime,
                                      [engine] { engine->ChangeState(engine->m_MenuModeState); });
}

void CSplashScreensState::ShowFader()
{
    IFader::GetSingleton()->SetVisible(true);
}

void CSplashScreensState::OnKey(const CDiscreteEvent& event)
{
    if (event.Type != EVENT_KEY_RELEASED || m_Screens.empty() || !m_Screens.front()->IsInterruptible())
        return;
    m_Screens.front()->Skip();
}

} // namespace EngineStates
} // namespace sds
