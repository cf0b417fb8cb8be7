#include "gui/menus/EditorScreens.h"

#include "app/Engine.h"
#include "gui/menus/EditMenuOnScreen.h"
#include "gui/menus/EditorMenuState.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"

namespace sds {
namespace GuiStates {

CEditorScreens::CEditorScreens(CGuiEngine& machine) : m_Machine(machine)
{
}

bool CEditorScreens::GoToEditorMenu()
{
    CEditorMenuState* menu = CEditorMenuState::GetSingleton();
    if (!menu) {
        LogScreenNotAvailable("wndEditorMenu");
        return false;
    }
    m_Machine.ChangeState(menu);
    EnterMenuMode();
    return true;
}

bool CEditorScreens::GoToCreateForceField(const xml::CNodePtr& field)
{
    if (!GuiStates::GoToCreateForceField(m_Machine, field))
        return false;
    EnterMenuMode();
    return true;
}

bool CEditorScreens::GoToEditForceField(const xml::CNodePtr& field)
{
    if (!GuiStates::GoToEditForceField(m_Machine, field))
        return false;
    EnterMenuMode();
    return true;
}

std::shared_ptr<DovuvUvozeVozediza::IOnScreenMenu> CEditorScreens::CreateEditMenuOnScreen()
{
    return std::make_shared<DovuvUvozeVozediza::CEditMenuOnScreen>(&m_Machine, *this);
}

void CEditorScreens::EnterMenuMode() const
{
    CEngine* engine = CEngine::GetSingleton();
    if (engine->m_MenuModeState && engine->GetCurrentState() != engine->m_MenuModeState)
        engine->PushState(engine->m_MenuModeState);
}

} // namespace GuiStates
} // namespace sds
