#include "app/MenuModeState.h"

#include "app/BindingMgr.h"
#include "app/ProfileMgr.h"
#include "core/ILogMgr.h"
#include "core/services/EventCodes.h"
#include "core/services/IApplication.h"
#include "core/services/IEventMgr.h"
#include "graphics/IGfxMgr.h"
#include "gui/IGUI.h"
#include "sound/ISound.h"

namespace sds {
namespace EngineStates {

CMenuModeState::CMenuModeState(CEngine* engine, IGuiEngine* guiEngine)
    : CSuperStateTmpl<IEngineState, IGuiEngine>(engine, guiEngine)
{
    IGUI::GetSingleton()->ShowWindow("wndMainMenu", false);
    const xml::CNodePtr mainMenu = engine->GetApplication()->GetConfig()->GetChild("MenuStates")->GetChild("MainMenu");
    if (mainMenu->HasChild("Background")) {
        m_Background = IGfxMgr::GetSingleton()->CreateOverlayed(
            mainMenu->GetChild("Background")->GetAttribute("Overlay")->GetValue());
        m_Background->SetVisible(false);
    }
}

CMenuModeState::~CMenuModeState() = default;

void CMenuModeState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Entering Menu mode");
    m_SubMachine->Start();
    // The pointer goes where the user wants while a menu is shown.
    m_Owner->GetApplication()->SetMouseGrab(false);
    // What went wrong while no menu could say so, such as a damaged profile
    // or another file set aside.
    for (const std::string& notice : m_Owner->GetProfileMgr().TakeNotices())
        m_SubMachine->ShowMessageBox(notice);
    for (const std::string& notice : m_Owner->TakeNotices())
        m_SubMachine->ShowMessageBox(notice);
    StartBackground();
    m_Owner->GetBindingMgr().PushMode("Menu");

    IEventMgr* events = IEventMgr::GetSingleton();
    m_Connections.emplace_back(events->ConnectEvent(EventCodes::GuiCopy, [](const CInternalEvent& event) {
        if (event.On)
            IGUI::GetSingleton()->CopyToClipboard();
    }));
    m_Connections.emplace_back(events->ConnectEvent(EventCodes::GuiPaste, [](const CInternalEvent& event) {
        if (event.On)
            IGUI::GetSingleton()->PasteFromClipboard();
    }));
}

void CMenuModeState::Exit()
{
    m_SubMachine->OnStop();
    // Flight steers with the mouse: the pointer stays in the window.
    m_Owner->GetApplication()->SetMouseGrab(true);
    m_Owner->GetBindingMgr().PopMode();
    m_Connections.clear();
    if (m_Background)
        m_Background->SetVisible(false);
}

void CMenuModeState::Pause()
{
    StopBackground();
    m_SubMachine->Pause();
    m_Owner->GetApplication()->SetMouseGrab(true);
}

void CMenuModeState::Resume()
{
    m_SubMachine->Resume();
    m_Owner->GetApplication()->SetMouseGrab(false);
    StartBackground();
}

void CMenuModeState::StartBackground()
{
    if (IsGameModeOnStack())
        return;
    m_Owner->m_BgMusic->Play(true);
    if (m_Background)
        m_Background->SetVisible(true);
}

void CMenuModeState::StopBackground()
{
    m_Owner->m_BgMusic->Stop();
    if (m_Background)
        m_Background->SetVisible(false);
}

bool CMenuModeState::IsGameModeOnStack() const
{
    return m_Owner->m_GameModeState && m_Owner->HasState(m_Owner->m_GameModeState);
}

} // namespace EngineStates
} // namespace sds
