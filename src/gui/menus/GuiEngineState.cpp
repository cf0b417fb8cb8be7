#include "gui/menus/GuiEngineState.h"

#include "core/ILogMgr.h"
#include "gui/IGUI.h"

namespace sds {

CGuiEngineState::CGuiEngineState(CGuiEngine* owner, const std::string& windowName)
    : IStateTmpl<CGuiEngine>(owner), m_WindowName(windowName)
{
}

CGuiEngineState::~CGuiEngineState() = default;

void CGuiEngineState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Displaying " + m_WindowName);
    IGUI::GetSingleton()->ShowWindow(m_WindowName, true);
}

void CGuiEngineState::Exit()
{
    IGUI::GetSingleton()->ShowWindow(m_WindowName, false);
}

void CGuiEngineState::Pause()
{
    IGUI::GetSingleton()->ShowWindow(m_WindowName, false);
}

void CGuiEngineState::Resume()
{
    IGUI::GetSingleton()->ShowWindow(m_WindowName, true);
}

boost::signals2::connection CGuiEngineState::Subscribe(const std::string& name,
                                                       const IEventMgr::CGUIHandler& handler) const
{
    return IEventMgr::GetSingleton()->ConnectGUIEvent(CGUIEvent(m_WindowName + "/" + name, EVENT_GUI, 0.0f), handler);
}

} // namespace sds
