#pragma once

#include <memory>
#include <string>

#include <boost/signals2/connection.hpp>

#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace GuiStates {

// A notice with a Close button ("wndMessageBox"), pushed over the current
// screen by ShowMessageBox. Each box holds itself from its push to its Exit;
// boxes pushed over one another share the window, and a box that is uncovered
// shows its own text again.
class CMessageBoxState : public CGuiEngineState
{
public:
    CMessageBoxState(CGuiEngine* owner, const std::string& text);
    ~CMessageBoxState() override;

    void Enter() override;
    // Hides the window and lets the box go.
    void Exit() override;
    // The box stays visible under the covering screen but stops listening.
    void Pause() override;
    void Resume() override;

    // The reference that keeps the box alive while it is shown.
    void KeepAlive(const std::shared_ptr<CMessageBoxState>& self) { m_Self = self; }
    // Hands that reference over; the box goes when the caller drops it.
    std::shared_ptr<CMessageBoxState> TakeSelf() { return std::move(m_Self); }
    const std::string& GetText() const { return m_Text; }

    void OnClose(const CGUIEvent& event);

private:
    void SubscribeClose();

    boost::signals2::connection m_CloseConnection;
    std::string m_Text;
    std::shared_ptr<CMessageBoxState> m_Self;
};

} // namespace GuiStates
} // namespace sds
