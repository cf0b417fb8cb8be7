#include "gui/menus/GuiEngine.h"

#include "app/Engine.h"
#include "core/ILogMgr.h"
#include "core/services/IApplication.h"
#include "gui/IGUI.h"
#include "gui/menus/CreateForceField.h"
#include "gui/menus/DZMenuState.h"
#include "gui/menus/EditForceField.h"
#include "gui/menus/EditorMenuState.h"
#include "gui/menus/EditorScreens.h"
#include "gui/menus/ForceFieldsState.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/HelpState.h"
#include "gui/menus/InGameMenuState.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/MessageBoxState.h"
#include "gui/menus/SettingsMenuState.h"
#include "gui/menus/StatisticsMenuState.h"
#include "gui/menus/TutorialMenuState.h"

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
    m_Screens.push_back(std::make_shared<GuiStates::CStatisticsMenuState>(this));
    m_Screens.push_back(std::make_shared<GuiStates::CHelpState>(this));
    m_Screens.push_back(std::make_shared<GuiStates::CSettingsMenuState>(this));
    m_Screens.push_back(std::make_shared<GuiStates::CTutorialMenuState>(this));
    // After the settings, which select the user's unit system.
    if (selection == "DZMenuState") {
        m_DZSelection = std::make_shared<GuiStates::CDZMenuState>(this);
    } else if (selection == "DovuvUvozeVozediza") {
        m_DZSelection = std::make_shared<GuiStates::CForceFieldsState>(this);
        m_Screens.push_back(std::make_shared<GuiStates::CCreateForceField>(this));
        m_Screens.push_back(std::make_shared<GuiStates::CEditForceField>(this));
        m_Screens.push_back(std::make_shared<GuiStates::CEditorMenuState>(this));
    }
    m_EditorScreens = std::make_unique<GuiStates::CEditorScreens>(*this);

    IGUI::GetSingleton()->SetHandlerFailureCallback([this](const std::string& failure) { ShowHandlerFailure(failure); });
}

CGuiEngine::~CGuiEngine()
{
    m_EditorScreens.reset();
    // A GUI engine that replaced this one has set its own callback.
    IGUI* gui = IGUI::GetSingleton();
    if (gui && GetSingleton() == this)
        gui->SetHandlerFailureCallback(nullptr);
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

void CGuiEngine::GoToMainMenu()
{
    GuiStates::GoToMainMenu(*this);
}

void CGuiEngine::ShowVideoSettings(const std::string& tab)
{
    GuiStates::ShowVideoSettings(*this, tab);
}

void CGuiEngine::ShowMessageBox(const std::string& text)
{
    GuiStates::ShowMessageBox(*this, text);
}

void CGuiEngine::GoToDZSelection()
{
    GuiStates::GoToDZSelection(*this);
}

void CGuiEngine::ApplyDZSelection()
{
    if (auto* dzMenu = dynamic_cast<GuiStates::CDZMenuState*>(m_DZSelection.get()))
        dzMenu->ApplyToScene(CGUIEvent());
    else if (auto* forceFields = dynamic_cast<GuiStates::CForceFieldsState*>(m_DZSelection.get()))
        forceFields->OnJump(CGUIEvent());
    else
        GuiStates::LogScreenNotAvailable("drop-zone selection's jump");
}

void CGuiEngine::GoToInGameMenu()
{
    GuiStates::GoToInGameMenu(*this);
}

void CGuiEngine::ShowHelp()
{
    GuiStates::ShowHelp(*this);
}

void CGuiEngine::GoToHelp()
{
    GuiStates::GoToHelp(*this);
}

void CGuiEngine::ShowStatistics(bool showJump, const std::string& jump)
{
    GuiStates::ShowStatistics(*this, showJump, jump);
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

void CGuiEngine::ShowHandlerFailure(const std::string& failure)
{
    try {
        GuiStates::ShowMessageBox(*this, failure);
    } catch (const std::exception& e) {
        ILogMgr::GetSingleton()->LogError(std::string("Could not show the message box: ") + e.what());
    }
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
