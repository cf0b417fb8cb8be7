#include "gui/menus/EditorMenuState.h"

#include <exception>

#include <boost/filesystem/operations.hpp>

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "core/ILogMgr.h"
#include "core/XmlFile.h"
#include "core/services/IApplication.h"
#include "forcefields/ForceFieldScene.h"
#include "graphics/ICamera.h"
#include "graphics/IGfxMgr.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/InGameMenuState.h"
#include "scene/DropZoneLevel.h"

namespace sds {
namespace GuiStates {

namespace {

bool IsFile(const std::shared_ptr<CDropZoneLevel>& dropZone, const std::string& file)
{
    boost::system::error_code error;
    return dropZone && (dropZone->GetPath() == file || boost::filesystem::equivalent(dropZone->GetPath(), file, error));
}

// The game mode lists each scene as its file was read and starts every jump
// and edit from that: a scene just written must take its place there, or the
// next edit would start from the old one and its save undo this one. A file
// not listed yet (the first "LastEdit") is listed by reading the folder again.
void ListWrittenScene(const std::string& file)
{
    IGameMode* gameMode = CEngine::GetSingleton()->GetGameMode();
    if (!gameMode)
        return;
    const xml::CNodePtr tree = xml::LoadXmlFile(file);
    bool listed = false;
    if (IsFile(gameMode->GetCurrentDropZone(), file))
        gameMode->GetCurrentDropZone()->SetTree(tree);
    for (const auto& entry : gameMode->GetDropZones()) {
        if (IsFile(entry.second, file)) {
            entry.second->SetTree(tree);
            listed = true;
        }
    }
    if (!listed)
        gameMode->ListDropZones();
}

} // namespace

CEditorMenuState::CEditorMenuState(CGuiEngine* owner) : CGuiEngineState(owner, "wndEditorMenu")
{
}

CEditorMenuState::~CEditorMenuState() = default;

void CEditorMenuState::Enter()
{
    CGuiEngineState::Enter();
    CGuiEngine& machine = *m_Owner;
    m_Connections.push_back(Subscribe("btnContinue", &CInGameMenuState::OnContinue));
    m_Connections.push_back(Subscribe("btnStartSimulation", [this](const CGUIEvent& e) { OnStartSimulation(e); }));
    m_Connections.push_back(
        Subscribe("btnStartSimulationNoSaving", [this](const CGUIEvent& e) { OnStartSimulationNoSaving(e); }));
    m_Connections.push_back(Subscribe("btnHelp", [&machine](const CGUIEvent&) { ShowHelp(machine); }));
    m_Connections.push_back(Subscribe("btnMainMenu", [this](const CGUIEvent& e) { OnMainMenu(e); }));
    m_Connections.push_back(Subscribe("btnSaveAndContinue", [this](const CGUIEvent& e) { OnSaveAndContinue(e); }));
}

void CEditorMenuState::Exit()
{
    ExitAndUnsubscribe(*this, m_Connections);
}

bool CEditorMenuState::SaveDropZone(const xml::CNodePtr& tree, const std::string& file, const std::string& fullName,
                                    const CVector& cameraPos)
{
    const xml::CNodePtr scene = tree->GetChild("scene");
    const xml::CNodePtr camera = scene->GetChild("Preset")->GetChild("Camera");
    if (camera->HasAttribute("Pos"))
        camera->GetAttribute("Pos")->SetValue(cameraPos);
    else
        camera->AddAttribute("Pos", cameraPos);
    DovuvUvozeVozediza::FitBoundingBox(scene);
    return DovuvUvozeVozediza::SaveScene(scene, file, fullName);
}

bool CEditorMenuState::Save(const std::string& file, const std::string& fullName)
{
    std::string failure;
    try {
        const IGameMode* gameMode = CEngine::GetSingleton()->GetGameMode();
        const std::shared_ptr<CDropZoneLevel> dropZone = gameMode ? gameMode->GetCurrentDropZone() : nullptr;
        if (!dropZone) {
            failure = "no drop zone is being edited";
        } else {
            const ICamera* camera = IGfxMgr::GetSingleton()->GetCamera();
            const CVector cameraPos = camera ? camera->GetPos() : CVector::ZERO;
            if (SaveDropZone(dropZone->GetWorkingTree(), file, fullName, cameraPos))
                ListWrittenScene(file);
            else
                failure = "the file could not be written";
        }
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (failure.empty())
        return true;
    // The scene stays as edited: the user may try again or go on without saving.
    ILogMgr::GetSingleton()->LogError("Could not save the drop zone " + file + ": " + failure);
    ShowMessageBox(*m_Owner, "Could not save the drop zone " + file + ":\n" + failure);
    return false;
}

bool CEditorMenuState::SaveToOwnFile()
{
    const IGameMode* gameMode = CEngine::GetSingleton()->GetGameMode();
    const std::shared_ptr<CDropZoneLevel> dropZone = gameMode ? gameMode->GetCurrentDropZone() : nullptr;
    if (!dropZone)
        return Save(std::string(), std::string());
    // The file the scene was read from, and the name it is listed by.
    const xml::CNodePtr& tree = dropZone->GetWorkingTree();
    return Save(tree->GetAttribute("Name", ""), tree->GetChild("scene")->GetAttribute("FullName", ""));
}

void CEditorMenuState::OnSaveAndContinue(const CGUIEvent&)
{
    if (SaveToOwnFile())
        CEngine::GetSingleton()->PopState();
}

void CEditorMenuState::OnStartSimulation(const CGUIEvent& event)
{
    if (SaveToOwnFile())
        OnStartSimulationNoSaving(event);
}

void CEditorMenuState::OnStartSimulationNoSaving(const CGUIEvent&)
{
    const xml::CNodePtr dropZones =
        IApplication::GetSingleton()->GetConfig()->GetChild("Application")->GetChild("DropZones");
    const std::string file = dropZones->GetAttribute("Path")->GetValue() + DovuvUvozeVozediza::LAST_EDIT_NAME +
                             dropZones->GetAttribute("Extension")->GetValue();
    if (!Save(file, DovuvUvozeVozediza::LAST_EDIT_FULL_NAME))
        return;
    CEngine* engine = CEngine::GetSingleton();
    // The menu mode, then the editor: the game mode resumes and flies the edited scene.
    engine->PopState();
    engine->PopState();
    if (IGameMode* gameMode = engine->GetGameMode())
        gameMode->Restart();
}

void CEditorMenuState::OnMainMenu(const CGUIEvent&)
{
    CEngine* engine = CEngine::GetSingleton();
    // The menu mode, the editor and the game mode under it.
    for (int i = 0; i < 3; ++i)
        engine->PopState();
    GoToMainMenu(*m_Owner);
    engine->ChangeState(engine->m_MenuModeState);
}

} // namespace GuiStates
} // namespace sds
