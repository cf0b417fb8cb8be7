#include "app/GameModeState.h"

#include <malloc.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/date_time/posix_time/posix_time.hpp>

#include "app/BindingMgr.h"
#include "app/JumpRecord.h"
#include "app/Profile.h"
#include "app/ProfileMgr.h"
#include "core/ConfigPath.h"
#include "core/ILogMgr.h"
#include "core/IResourceMgr.h"
#include "core/services/EventCodes.h"
#include "core/services/IApplication.h"
#include "core/services/IEventMgr.h"
#include "graphics/ICamera.h"
#include "graphics/IFader.h"
#include "graphics/IGfxMgr.h"
#include "jumper/IJumper.h"
#include "jumper/ITrajectory.h"
#include "jumper/JumperMgr.h"
#include "jumper/Trajectory.h"
#include "mods/CollisionJudge.h"
#include "mods/EventCopyMod.h"
#include "mods/EventDistributionMod.h"
#include "mods/HUDMessageMod.h"
#include "mods/OverlaysMod.h"
#include "mods/PhyEnabledMod.h"
#include "physics/IPhyMgr.h"
#include "mods/TrajectoryViewerMod.h"
#include "scene/DropZoneLevel.h"
#include "sound/ISound.h"

namespace sds {
namespace EngineStates {

namespace {

// Seconds: less than any frame.
const float MinReveal = 0.001f;

// Blocks from this size on are mapped on their own (the allocator's own default).
const int kLargeBlockBytes = 128 * 1024;

const xml::CNodePtr& Config()
{
    return IApplication::GetSingleton()->GetConfig();
}

// The jumpers and the camera move; the mods stand still.
void UpdateJumpersAndCamera(const CTiming& timing)
{
    if (CJumperMgr* jumpers = CJumperMgr::GetSingleton())
        jumpers->UpdateAll(timing);
    IGfxMgr::GetSingleton()->UpdateCamera(timing);
}

void CopyChildren(const xml::CNodePtr& from, const std::string& name, const xml::CNodePtr& to)
{
    if (!from)
        return;
    // Cloned under the new parent: a parentless clone would drop the row's text.
    xml::ForEachChild(*from, name, [&to](const xml::CNodePtr& child) { xml::CNode::Clone(child, to.get()); });
}

xml::CNodePtr SceneOf(const CDropZoneLevel& dropZone)
{
    return dropZone.GetWorkingTree()->GetChild("scene");
}

} // namespace

void CGameModeState::CPauseModeState::OnUpdate(const CTiming& timing)
{
    IGfxMgr::GetSingleton()->UpdateCamera(timing);
}

void CGameModeState::CPauseModeState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Paused");
    if (CHUDMessageMod* hud = CHUDMessageMod::GetSingleton()) {
        hud->ShowMessage("Paused", -1.0f);
        // The game mode's pause hid the panel.
        hud->Resume();
    }
    m_Connection = IEventMgr::GetSingleton()->ConnectEvent(EventCodes::Pause, [this](const CInternalEvent& event) {
        if (event.On && m_Owner->HasStates() && m_Owner->GetCurrentState() == this)
            m_Owner->PopState();
    });
}

void CGameModeState::CPauseModeState::Exit()
{
    m_Connection.disconnect();
    if (CHUDMessageMod* hud = CHUDMessageMod::GetSingleton())
        hud->ShowMessage("", -1.0f);
    ILogMgr::GetSingleton()->LogMessage("Resumed");
}

void CGameModeState::CSkipUpdateState::OnUpdate(const CTiming& timing)
{
    UpdateJumpersAndCamera(timing);
    m_Owner->PopState();
}

void CGameModeState::CWaitForFaderState::OnUpdate(const CTiming& timing)
{
    UpdateJumpersAndCamera(timing);
    if (IFader::GetSingleton()->IsVisible())
        return;
    CGameModeState* gameMode = CGameModeState::GetSingleton();
    const std::shared_ptr<CProfile>& profile = m_Owner->GetProfileMgr().GetCurrentProfile();
    const bool firstJump = !profile || profile->GetJumps().empty();
    m_Owner->PopState();
    gameMode->OnFadeFinished(firstJump, gameMode->m_Editing);
}

CGameModeState::CGameModeState(CEngine* engine)
    : IEngineState(engine), m_Engine(engine), m_PauseState(engine), m_SkipUpdateState(engine),
      m_WaitForFaderState(engine)
{
    const xml::CNodePtr& config = Config();
    const xml::CNodePtr application = config->GetChild("Application");
    const xml::CNodePtr dropZones = application->GetChild("DropZones");
    m_DropZones.m_Path = dropZones->GetAttribute("Path")->GetValue();
    m_DropZones.m_Extension = dropZones->GetAttribute("Extension")->GetValue();
    ListDropZones();

    const xml::CNodePtr fading = config->GetChild("Scene")->GetChild("Fading");
    m_FadeIn = fading->GetAttribute("In")->GetValue<float>();
    // The fader keeps the screen covered after a reveal of no length, and the
    // jump waits for it to uncover: the shortest reveal ends on the next frame.
    m_FadeOut = std::max(fading->GetAttribute("Out")->GetValue<float>(), MinReveal);

    const xml::CNodePtr tutorials = application->GetChild("Tutorials");
    m_Tutorials.m_Path = tutorials->GetAttribute("Path")->GetValue();
    m_Tutorials.m_Extension = tutorials->GetAttribute("Extension")->GetValue();
    LoadTutorials();

    m_JudgeFactory = MakeCollisionJudgeFactory(
        [engine](const std::shared_ptr<ISound>& sound) { engine->m_PlayingSounds.push_back(sound); },
        [this] { return m_DZ ? m_DZ->GetFullName() : std::string(); });
}

CGameModeState::~CGameModeState()
{
    ILogMgr::GetSingleton()->LogMessage("Game mode state is destroyed");
}

void CGameModeState::ListDropZones()
{
    ListDirectory(m_DropZones.m_Path, m_DropZones.m_Extension, m_DropZones.m_DropZones, m_DropZones.m_Names,
                  &m_DropZones.m_Unreadable);
}

void CGameModeState::LoadTutorials()
{
    ListDirectory(m_Tutorials.m_Path, m_Tutorials.m_Extension, m_Tutorials.m_DropZones, m_Tutorials.m_Names);
}

bool CGameModeState::SelectCurrentTutorialDropZone()
{
    const auto found = m_Tutorials.m_DropZones.find(m_TutorialName);
    if (found == m_Tutorials.m_DropZones.end())
        return false;
    m_DZ = found->second;
    return true;
}

void CGameModeState::OnUpdate(const CTiming& timing)
{
    // HUD message, physics step, level loading and jumpers, events, trajectories, HUD.
    for (const std::shared_ptr<ILevelMod>& mod : m_Mods)
        mod->Update(timing);
    // The camera follows what the mods moved.
    IGfxMgr::GetSingleton()->UpdateCamera(timing);
}

void CGameModeState::Enter()
{
    // Checked before anything is built, so that nothing is left half made.
    if (!m_DZ)
        throw std::runtime_error("m_DZ && \"No DZ is provided. Programming error\"");
    m_Engine->GetBindingMgr().PushMode("Global");
    // The level's large blocks (page geometry, image copies) each get a mapping
    // of their own, handed back whole when freed. Left to itself, the allocator
    // raises this bound to the largest block freed; such blocks then go into
    // the heap among long-lived objects and leave holes that stay resident.
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
    try {
        m_ProgressBar = IGfxMgr::GetSingleton()->CreateLoadingProgressBar("LevelLoadingProgressBar");

        m_Mods.push_back(std::make_shared<CHUDMessageMod>());

        const xml::CNodePtr configs = Config()->GetChild("Application")->GetChild("Configs");
        IResourceMgr* resources = IResourceMgr::GetSingleton();
        const xml::CNodePtr physics =
            resources->LoadXml(configs->GetAttribute("PhyConf")->GetValue())->GetChild("Physics");
        const xml::CNodePtr materials =
            resources->LoadXml(configs->GetAttribute("Materials")->GetValue())->GetChild("Materials");
        m_Mods.push_back(std::make_shared<CPhyEnabledMod>(physics, materials));

        const xml::CNodePtr& tree = m_DZ->GetWorkingTree();
        if (m_Editing)
            SetConfigBool(tree, "scene->Preset->Jumper->>Create", false);
        if (m_CreateDZLoader) {
            std::shared_ptr<IDZLoaderMod> loader = m_CreateDZLoader(*this, *m_ProgressBar);
            m_DZLoader = loader.get();
            m_Mods.push_back(loader);
        } else {
            ILogMgr::GetSingleton()->LogWarning("No drop-zone loader: the level of '" + m_DZ->GetFullName() +
                                                "' stays empty");
        }
        if (m_Editing)
            SetConfigBool(tree, "scene->Preset->Jumper->>Create", true);

        m_Mods.push_back(std::make_shared<CEventDistributionMod>([this] { return IsMenuModeCurrent(); }));
        if (Config()->GetChild("Rules")->GetAttribute("EventCopyMod")->GetValue<bool>())
            m_Mods.push_back(std::make_shared<CEventCopyMod>());
        m_Mods.push_back(std::make_shared<CTrajectoryViewerMod>());
        m_Mods.push_back(std::make_shared<COverlaysMod>());
    } catch (...) {
        ReleaseMods();
        m_ProgressBar.reset();
        m_Engine->GetBindingMgr().PopMode();
        // Nor may the editor's jumperless load or a half-built jump stay in the drop zone.
        m_DZ->ResetWorkingTree();
        throw;
    }

    IFader* fader = IFader::GetSingleton();
    // The loading bar stays up until the level is covered.
    fader->StartFade(m_FadeIn, m_FadeOut, [this] { m_ProgressBar.reset(); });
    COverlaysMod::GetSingleton()->ShowHud(false);
    CHUDMessageMod::GetSingleton()->SetVisible(false);
    // A fade-out of no length has run its callback already and the bar is gone.
    if (m_ProgressBar)
        m_ProgressBar->Show();
    fader->SetVisible(true);

    ConnectHandlers();
    if (m_EditorLevelListener)
        m_EditorLevelListener(this);
    CHUDMessageMod::GetSingleton()->ShowMessage("", -1.0f);
    m_Engine->m_BgMusic->Stop();
    StartJump();
}

void CGameModeState::Exit()
{
    if (m_EditorLevelListener)
        m_EditorLevelListener(nullptr);
    DisconnectHandlers();
    // The loader records a jump still in the air while the level is whole.
    if (m_DZLoader)
        m_DZLoader->Reset();
    ReleaseMods();
    // The next jump starts from the drop zone as it was loaded.
    if (m_DZ)
        m_DZ->ResetWorkingTree();
    // The level's objects left holes all over the heap: their pages go back to the system.
    malloc_trim(0);
    m_Engine->GetBindingMgr().PopMode();
}

void CGameModeState::ReleaseMods()
{
    m_DZLoader = nullptr;
    // The last made goes first: overlays first, HUD message last.
    while (!m_Mods.empty())
        m_Mods.pop_back();
}

void CGameModeState::Pause()
{
    DisconnectHandlers();
    for (const std::shared_ptr<ILevelMod>& mod : m_Mods)
        mod->Pause();
}

void CGameModeState::Resume()
{
    for (const std::shared_ptr<ILevelMod>& mod : m_Mods)
        mod->Resume();
    ConnectHandlers();
}

void CGameModeState::ConnectHandlers()
{
    DisconnectHandlers();
    IEventMgr* events = IEventMgr::GetSingleton();
    for (std::int32_t code : {EventCodes::MenuMode, EventCodes::Pause, EventCodes::Restart})
        m_Connections.emplace_back(events->ConnectEvent(code, [this](const CInternalEvent& e) { OnGameEvent(e); }));
}

void CGameModeState::DisconnectHandlers()
{
    m_Connections.clear();
}

void CGameModeState::OnGameEvent(const CInternalEvent& event)
{
    if (event.Code == EventCodes::MenuMode && !event.On)
        GoToMenu();
    else if (event.Code == EventCodes::Pause && event.On)
        m_Engine->PushState(&m_PauseState);
    else if (event.Code == EventCodes::Restart && event.On)
        Restart();
}

void CGameModeState::GoToMenu()
{
    if (m_Engine->GetCurrentState() != this)
        return;
    m_Engine->GetBindingMgr().ResetCurrentMode();
    IGuiEngine* menus = m_Engine->GetGuiEngine();
    const CTrajectoryViewerMod* viewer = CTrajectoryViewerMod::GetSingleton();
    if (viewer && !viewer->IsEmpty())
        menus->ShowStatistics(false, "");
    else
        menus->GoToInGameMenu();
    PushMenuMode();
}

bool CGameModeState::IsMenuModeCurrent() const
{
    return m_Engine->GetCurrentState() == m_Engine->m_MenuModeState;
}

void CGameModeState::PushMenuMode()
{
    if (!IsMenuModeCurrent())
        m_Engine->PushState(m_Engine->m_MenuModeState);
}

void CGameModeState::Restart()
{
    ILogMgr::GetSingleton()->LogMessage("Restarting");
    IFader::GetSingleton()->StartFade(m_FadeIn, m_FadeOut, [this] { ResetJump(); });
}

void CGameModeState::ResetJump()
{
    if (CTrajectoryViewerMod* viewer = CTrajectoryViewerMod::GetSingleton())
        viewer->Clear();
    for (const std::shared_ptr<ILevelMod>& mod : m_Mods)
        mod->Restart();
    // The ended jump's objects left holes all over the heap: their pages go back to the system.
    malloc_trim(0);
    StartJump();
    ShowSceneMessages();
}

void CGameModeState::StartJump()
{
    // The loader's restart has recorded the jump before (once); this one is new.
    m_JumpRecorded = false;
    CTiming first;
    first.m_Global = 1.0f;
    first.m_Elapsed = 0.0f;
    for (const std::shared_ptr<ILevelMod>& mod : m_Mods)
        mod->Update(first);
    // Last in, first run: two skip frames, then the wait for the fade.
    m_Engine->PushState(&m_WaitForFaderState);
    m_Engine->PushState(&m_SkipUpdateState);
    m_Engine->PushState(&m_SkipUpdateState);
}

xml::CNodePtr CGameModeState::GetSceneTree() const
{
    return m_DZ ? m_DZ->GetWorkingTree() : xml::CNodePtr();
}

physics::IWindMgr& CGameModeState::GetWindMgr()
{
    CPhyEnabledMod* physics = CPhyEnabledMod::GetSingleton();
    if (m_Mods.empty() || !physics)
        throw CException("No level is loaded: there is no wind to edit");
    return physics->GetPhyMgr().GetWindMgr();
}

std::shared_ptr<DovuvUvozeVozediza::IEditorSimObj> CGameModeState::GetNearestSimObj(const CVector& point)
{
    return m_DZLoader ? m_DZLoader->GetNearestSimObj(point) : nullptr;
}

void CGameModeState::OnFadeFinished(bool firstJump, bool editing)
{
    COverlaysMod* overlays = COverlaysMod::GetSingleton();
    CHUDMessageMod* hud = CHUDMessageMod::GetSingleton();
    if (editing) {
        if (overlays)
            overlays->ShowHud(false);
        if (hud)
            hud->SetVisible(false);
        if (m_Engine->m_EditorState)
            m_Engine->PushState(m_Engine->m_EditorState);
        else
            ILogMgr::GetSingleton()->LogWarning("The force-field editor is not available");
        return;
    }
    if (firstJump && m_TutorialName.empty()) {
        if (m_DZLoader)
            m_DZLoader->StartCountDown();
        IGuiEngine* menus = m_Engine->GetGuiEngine();
        if (!IsMenuModeCurrent()) {
            menus->ShowHelp();
            m_Engine->PushState(m_Engine->m_MenuModeState);
        } else {
            menus->GoToHelp();
        }
        // Over the help: the scene's own words come first, the help after them.
        ShowSceneMessages();
        return;
    }
    if (overlays)
        overlays->SetHudMode(overlays->GetHudMode());
    if (hud)
        hud->Resume();
    if (m_DZLoader)
        m_DZLoader->StartCountDown();
    ShowSceneMessages();
}

void CGameModeState::ShowSceneMessages()
{
    const xml::CNodePtr scene = SceneOf(*m_DZ);
    if (!scene->HasChild("Message"))
        return;
    PushMenuMode();
    std::vector<std::string> texts;
    xml::ForEachChild(*scene, "Message",
                      [&texts](const xml::CNodePtr& message) { texts.push_back(message->GetValue()); });
    // Each box is pushed over the last: the first message goes on top, to be read first.
    for (auto text = texts.rbegin(); text != texts.rend(); ++text)
        m_Engine->GetGuiEngine()->ShowMessageBox(*text);
}

void CGameModeState::ShowTrajectories(const std::vector<const CJumpRecord*>& jumps)
{
    CTrajectoryViewerMod* viewer = CTrajectoryViewerMod::GetSingleton();
    const std::shared_ptr<CProfile>& profile = m_Engine->GetProfileMgr().GetCurrentProfile();
    if (!viewer || !profile)
        return;
    viewer->Clear();
    for (const CJumpRecord* jump : jumps) {
        // A file that cannot be read is logged by the trajectory and shows nothing.
        const CTrajectory trajectory("", 0.0f, 0.0f, 1.0f, "", "", profile->GetPath() + jump->DataFile);
        std::vector<CVector> points;
        for (const CTrajectory::CSample& sample : trajectory.GetPoints())
            points.push_back(sample.Pos);
        if (!points.empty())
            viewer->AddTrajectory(points);
    }
    // The jump player frames what is on show, from the exit to the landing:
    // the trajectory camera, chosen anew so that it starts from these paths.
    // Left as it was, the landing's chase camera looks at a corner of their box.
    ICamera* camera = IGfxMgr::GetSingleton()->GetCamera();
    if (camera && !viewer->IsEmpty())
        camera->SetMode(CameraEvents::camera_script3);
}

void CGameModeState::ShowCenterMessage(const std::string& text)
{
    if (CHUDMessageMod* hud = CHUDMessageMod::GetSingleton())
        hud->ShowMessage(text, -1.0f);
}

void CGameModeState::ShowTrajectory(bool showJump, const std::string& message)
{
    CJumperMgr* jumpers = CJumperMgr::GetSingleton();
    if (jumpers && !jumpers->GetJumpers().empty())
        RecordJump(*jumpers->GetJumpers().front());
    if (COverlaysMod* overlays = COverlaysMod::GetSingleton())
        overlays->SetHudMode(0);
    if (CHUDMessageMod* hud = CHUDMessageMod::GetSingleton())
        hud->ShowMessage("", 0.0f);
    CBindingMgr& bindings = m_Engine->GetBindingMgr();
    bindings.PopMode();
    bindings.PushMode("TrajectoryViewer");
    if (!IsMenuModeCurrent()) {
        m_Engine->PushState(m_Engine->m_MenuModeState);
        m_Engine->GetGuiEngine()->ShowStatistics(showJump, message);
    }
}

void CGameModeState::RecordJump(const IJumper& jumper)
{
    if (m_JumpRecorded)
        return;
    m_JumpRecorded = true;
    const std::shared_ptr<CProfile>& profile = m_Engine->GetProfileMgr().GetCurrentProfile();
    RecordJump(*profile, jumper.GetTrajectory(), *m_DZ, jumper.GetLandingInfo());
}

void CGameModeState::RecordJump(CProfile& profile, const ITrajectory& trajectory, const CDropZoneLevel& dropZone,
                                const xml::CNodePtr& landingInfo)
{
    const std::uint32_t number = static_cast<std::uint32_t>(profile.GetJumps().size() + 1);
    const std::string dataFile = "Jump_" + std::to_string(number) + ".trajectory";

    xml::CNodePtr jumpInfo(new xml::CNode("JumpInfo", false));
    jumpInfo->AddChild("Info", std::to_string(number))->AddAttribute("Name", "Jump #");
    const std::string now = boost::posix_time::to_simple_string(boost::posix_time::second_clock::local_time());
    jumpInfo->AddChild("Info", now)->AddAttribute("Name", "Date and time");
    const xml::CNodePtr scene = SceneOf(dropZone);
    if (scene->HasChild("Preset"))
        CopyChildren(scene->GetChild("Preset"), "Info", jumpInfo);
    if (landingInfo)
        for (const auto& child : landingInfo->GetChildren())
            xml::CNode::Clone(child.second, jumpInfo.get());
    CopyChildren(trajectory.GetInfo(), "Info", jumpInfo);

    const CJumpRecord record(number, dropZone.GetFullName(), dataFile, trajectory.GetStartPos(),
                             trajectory.GetFinishPos(), jumpInfo);
    ILogMgr* log = ILogMgr::GetSingleton();
    try {
        trajectory.Save(profile.GetPath() + dataFile);
    } catch (const std::exception& e) {
        log->LogError("Could not save the trajectory of jump " + std::to_string(number) + " into " +
                      profile.GetPath() + dataFile + ": " + e.what());
    }
    // A profile that cannot be written keeps the jump in memory; the error is logged.
    profile.AddJump(record);
    log->LogMessage("Jump " + std::to_string(number) + " is added to profile " + profile.GetName());
}

} // namespace EngineStates
} // namespace sds
