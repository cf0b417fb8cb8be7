#include "gui/menus/HelpState.h"

#include "core/services/IApplication.h"
#include "gui/IGUI.h"
#include "gui/Version.h"
#include "gui/menus/GuiEngine.h"

namespace sds {
namespace GuiStates {

CHelpState::CHelpState(CGuiEngine* owner) : CGuiEngineState(owner, "wndHelp")
{
}

CHelpState::~CHelpState()
{
    m_CloseConnection.disconnect();
}

void CHelpState::Enter()
{
    CGuiEngineState::Enter();
    CGuiEngine* machine = m_Owner;
    m_CloseConnection = Subscribe("btnClose", [machine](const CGUIEvent&) { machine->PopState(); });
    IGUI::GetSingleton()->SetText(m_WindowName + "/mleAboutInfo", MakeAboutText());
}

void CHelpState::Exit()
{
    CGuiEngineState::Exit();
    m_CloseConnection.disconnect();
}

std::string CHelpState::MakeAboutText()
{
    const xml::CNodePtr application = IApplication::GetSingleton()->GetConfig()->GetChild("Application");
    const xml::CNodePtr about = application->GetChild("About");
    auto description = [&](const std::string& name) {
        return about->GetChildById("Description", name, "Name,Id")->GetValue();
    };
    return description("General") + application->GetChild("GfxCfg")->GetChild("Title")->GetValue() + "\n" +
           about->GetChild("Edition")->GetValue() + "\n" + description("Special") + "Version: " +
           GetVersionString() + "\n" + description("Links");
}

} // namespace GuiStates
} // namespace sds
