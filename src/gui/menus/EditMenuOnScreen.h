#pragma once

#include "editor/IEditorScreens.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace DovuvUvozeVozediza {

// The button "wndEditOnScreen/btnMenu" beside the editor's 3D view. It, and
// the release of what the editor's input mode binds to "menu_mode", open the
// editor menu. The editor drives the window itself (Enter, Exit, OnUpdate);
// it is never on the GUI engine's stack.
class CEditMenuOnScreen : public CGuiEngineState, public IOnScreenMenu
{
public:
    // `screens` opens the editor menu; it outlives the window.
    CEditMenuOnScreen(CGuiEngine* owner, IEditorScreens& screens);
    ~CEditMenuOnScreen() override;

    void OnUpdate(const CTiming&) override {}
    // Shows the window, listens to its button and the menu key, and lets the
    // GUI take the mouse and the keyboard.
    void Enter() override;
    void Exit() override;

private:
    CConnections m_Connections;
    IEditorScreens& m_Screens;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
