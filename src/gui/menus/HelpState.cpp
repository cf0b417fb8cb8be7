#include "gui/menus/HelpState.h"

#include <sstream>

#include "app/BindingMgr.h"
#include "app/KeyDescriptions.h"
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
    IGUI& gui = *IGUI::GetSingleton();
    gui.SetText(m_WindowName + "/mleAboutInfo", MakeAboutText());
    const std::string keyboard = m_WindowName + "/mleKeyboard";
    if (!m_KeyboardPageRead) {
        m_KeyboardPage = gui.GetText(keyboard);
        m_KeyboardPageRead = true;
    }
    gui.SetText(keyboard, FillKeys(m_KeyboardPage, KeysOf(IApplication::GetSingleton()->GetConfig())));
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

std::string CHelpState::FillKeys(const std::string& page, const CKeysOf& keysOf)
{
    std::string filled;
    std::istringstream lines(page);
    std::string line;
    bool first = true;
    while (std::getline(lines, line)) {
        std::string shown;
        bool unbound = false;
        std::size_t from = 0;
        for (std::size_t open; (open = line.find('{', from)) != std::string::npos;) {
            const std::size_t close = line.find('}', open);
            if (close == std::string::npos)
                break;
            const std::string name = line.substr(open + 1, close - open - 1);
            const std::size_t slash = name.find('/');
            const std::string keys = slash == std::string::npos
                                         ? keysOf("Global", name)
                                         : keysOf(name.substr(0, slash), name.substr(slash + 1));
            unbound = unbound || keys.empty();
            shown += line.substr(from, open - from) + keys;
            from = close + 1;
        }
        if (unbound)
            continue;
        filled += (first ? "" : "\n") + shown + line.substr(from);
        first = false;
    }
    return filled;
}

CHelpState::CKeysOf CHelpState::KeysOf(const xml::CNodePtr& config)
{
    const xml::CNodePtr bindings = CBindingMgr::ResolveBindings(CBindingMgr::ChosenBindings(config));
    // Only the event-copy mod acts on the next control type; without it the key does nothing.
    const bool nextControlType = config->GetChild("Rules")->GetAttribute<bool>("EventCopyMod", false);
    return [bindings, nextControlType](const std::string& mode, const std::string& action) {
        if (action == "next_canopy_control_type" && !nextControlType)
            return std::string();
        return DescribeKeys(bindings, mode, action);
    };
}

} // namespace GuiStates
} // namespace sds
