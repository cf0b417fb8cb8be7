#include "gui/menus/MessageBoxState.h"

#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"

namespace sds {
namespace GuiStates {

CMessageBoxState::CMessageBoxState(CGuiEngine* owner, const std::string& text)
    : CGuiEngineState(owner, "wndMessageBox"), m_Text(text)
{
}

CMessageBoxState::~CMessageBoxState()
{
    m_CloseConnection.disconnect();
}

void CMessageBoxState::Enter()
{
    // The text first, so that the window never shows an older box's text.
    IGUI::GetSingleton()->SetText(m_WindowName + "/Info", m_Text);
    CGuiEngineState::Enter();
    SubscribeClose();
}

void CMessageBoxState::Exit()
{
    CGuiEngineState::Exit();
    m_CloseConnection.disconnect();
    const std::shared_ptr<CMessageBoxState> self = TakeSelf();
    // `self` may be the last reference: nothing of the box is used after this.
}

void CMessageBoxState::Pause()
{
    m_CloseConnection.disconnect();
}

void CMessageBoxState::Resume()
{
    SubscribeClose();
    IGUI::GetSingleton()->SetText(m_WindowName + "/Info", m_Text);
    CGuiEngineState::Enter();
}

void CMessageBoxState::OnClose(const CGUIEvent&)
{
    // Closing releases the box; keep it until this handler has returned.
    const std::shared_ptr<CMessageBoxState> keepAlive = m_Self;
    m_Owner->PopState();
}

void CMessageBoxState::SubscribeClose()
{
    m_CloseConnection.disconnect();
    m_CloseConnection = Subscribe("btnClose", [this](const CGUIEvent& event) { OnClose(event); });
}

} // namespace GuiStates
} // namespace sds
