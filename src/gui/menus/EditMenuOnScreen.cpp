#include "gui/menus/EditMenuOnScreen.h"

#include "core/services/EventCodes.h"
#include "core/services/IEventMgr.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiStates.h"

namespace sds {
namespace DovuvUvozeVozediza {

CEditMenuOnScreen::CEditMenuOnScreen(CGuiEngine* owner, IEditorScreens& screens)
    : CGuiEngineState(owner, "wndEditOnScreen"), m_Screens(screens)
{
}

CEditMenuOnScreen::~CEditMenuOnScreen() = default;

void CEditMenuOnScreen::Enter()
{
    CGuiEngineState::Enter();
    m_Connections.push_back(Subscribe("btnMenu", [this](const CGUIEvent&) { m_Screens.GoToEditorMenu(); }));
    // On the release, so that the press does not reach the menu that opens.
    m_Connections.push_back(
        IEventMgr::GetSingleton()->ConnectEvent(EventCodes::MenuMode, [this](const CInternalEvent& e) {
            if (!e.On)
                m_Screens.GoToEditorMenu();
        }));
    IGUI::GetSingleton()->ConnectInputs();
}

void CEditMenuOnScreen::Exit()
{
    GuiStates::ExitAndUnsubscribe(*this, m_Connections);
    IGUI::GetSingleton()->DisconnectInputs();
}

} // namespace DovuvUvozeVozediza
} // namespace sds
