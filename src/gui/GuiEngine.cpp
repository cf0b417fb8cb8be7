#include "gui/GuiEngine.h"

#include "app/Engine.h"
#include "app/IApplication.h"
#include "core/ILogMgr.h"
#include "gui/HelpState.h"
#include "gui/IGUI.h"
#include "gui/InGameMenuState.h"
#include "gui/MainMenuState.h"
#include "gui/MessageBoxState.h"

namespace sds {

CGuiEngine::CGuiEngine()
{
    const xml::CNodePtr application = IApplication::GetSingleton()->GetConfig()->GetChild("Application");
    const std::string title = application->GetChild("GfxCfg")->GetChild("Title")->GetValue();
    const std::string edition = application->GetChild("About")->GetChild("Edition")->GetValue();
    IGUI::GetSingleton()->SetText("wndMainMenu/stEdition", title + "\n" + edition);

    const std::string selection = application->GetChild("DropZones")->GetAttribute("DZSelection")->GetValue();
    if (selection == "DZMenuState")
        m_DZSelectionWindow = "wndDropZone";
    else if (selection == "DovuvUvozeVozediza")
        m_DZSelectionWindow = "wndForceField";
    else
        ILogMgr::GetSingleton()->LogError("Unknown drop-zone selection screen '" + selection +
                                          "' (Application->DropZones->>DZSelection)");

    m_Screens.push_back(std::make_shared<GuiStates::CMainMenuState>(this));
    m_Screens.push_back(std::make_shared<GuiStates::CInGameMenuState>(this));
    m_Screens.push_back(std::make_shared<GuiStates::CHelpState>(this));
}

CGuiEngine::~CGuiEngine()
{
    // Message boxes still shown hold themselves; they go with the machine. The
    // stack is read before the owned screens on it are destroyed.
    std::vector<CGuiEngineState*> shown;
    shown.swap(m_States);
    for (CGuiEngineState* screen : shown)
        if (auto* box = dynamic_cast<GuiStates::CMessageBoxState*>(screen))
            box->TakeSelf();
    m_DZSelection.reset();
    m_Screens.clear();
}

void CGuiEngine::OnUpdate(const CTiming&)
{
    if (m_States.empty())
        CEngine::GetSingleton()->PopState();
}

void CGuiEngine::OnStart()
{
    IGUI* gui = IGUI::GetSingleton();
    gui->ConnectInputs();
    gui->ShowMouseCursor(true);
}

void CGuiEngine::OnStop()
{
    PopState();
    IGUI* gui = IGUI::GetSingleton();
    gui->DisconnectInputs();
    gui->ShowMouseCursor(false);
}

CGuiEngineState* CGuiEngine::FindScreen(const std::string& windowName) const
{
    if (m_DZSelection && m_DZSelection->GetWindowName() == windowName)
        return m_DZSelection.get();
    for (const std::shared_ptr<CGuiEngineState>& screen : m_Screens)
        if (screen->GetWindowName() == windowName)
            return screen.get();
    return nullptr;
}

} // namespace sds
