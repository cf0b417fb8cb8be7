#include "app/Engine.h"

#include <algorithm>

#include "app/BindingMgr.h"
#include "app/GameModeState.h"
#include "app/IGameMode.h"
#include "app/MenuModeState.h"
#include "app/ProfileMgr.h"
#include "app/QuitSignals.h"
#include "app/SplashScreensState.h"
#include "core/Exception.h"
#include "core/IResourceMgr.h"
#include "core/UserFile.h"
#include "core/ILogMgr.h"
#include "core/services/EventCodes.h"
#include "core/services/IApplication.h"
#include "core/services/IEventMgr.h"
#include "graphics/IFader.h"
#include "graphics/IGfxMgr.h"
#include "gui/IGUI.h"
#include "jumper/EquipmentManager.h"
#include "sound/DummySndMgr.h"
#include "sound/ISndMgr.h"

namespace sds {

namespace {

// The menus while nothing on them changes: drawn four times a second and
// polled for input a hundred times; after a change, drawn every frame for a
// quarter of a second, as a hover or a click may take a few frames to show.
const std::uint64_t MenuIdleFrameMicroseconds = 250000;
const std::uint64_t MenuSettleMicroseconds = 250000;
const std::uint64_t MenuPollMicroseconds = 10000;

} // namespace

float CEngine::s_GlobalTime = 0.0f;

CEngine::CEngine(const xml::CNodePtr& profiles)
    : m_QuitRequested(false), m_MenuModeState(nullptr), m_GameModeState(nullptr), m_EditorState(nullptr),
      m_Application(nullptr), m_FrameLimiter(0.0f),
      m_MenuRedraw(MenuIdleFrameMicroseconds, MenuSettleMicroseconds), m_InputSeen(false), m_LastState(nullptr),
      m_LastDepth(0)
{
    if (profiles) {
        m_ProfileMgr = std::make_unique<CProfileMgr>(profiles);
        m_ProfileMgr->SelectProfile(m_ProfileMgr->GetProfiles().front(), true);
    }
}

CEngine::CEngine(float minFrameTime, IApplication* application, const CGuiEngineFactory& createGuiEngine,
                 const CEngineStateFactory& createEditor, const std::string& startState, bool restarted,
                 const CFrameLimiter::CTimer& timer, const CDZLoaderFactory& createDZLoader)
    : m_QuitRequested(false), m_MenuModeState(nullptr), m_GameModeState(nullptr), m_EditorState(nullptr),
      m_Application(application), m_FrameLimiter(minFrameTime, timer),
      m_MenuRedraw(MenuIdleFrameMicroseconds, MenuSettleMicroseconds), m_InputSeen(false), m_LastState(nullptr),
      m_LastDepth(0)
{
    SDS_ASSERT(m_Application && createGuiEngine && IEventMgr::GetSingleton() && IGfxMgr::GetSingleton() &&
               IFader::GetSingleton() && ISndMgr::GetSingleton());
    // The menus are the only way through the program: without them it cannot go on.
    if (!IGUI::GetSingleton())
        throw CException("The menus could not be started: the GUI library failed to start "
                         "(its error is in the log after \"CEGUI exception: \").");

    const xml::CNodePtr& config = m_Application->GetConfig();
    m_ProfileMgr = std::make_unique<CProfileMgr>(config->GetChild("Profiles"));

    m_BindingMgr = std::make_unique<CBindingMgr>(CBindingMgr::ChosenBindings(config));

    m_BgMusic = CreateMenuMusic();

    // The gear every jumper of the run wears: the file on disk, else (missing
    // or damaged) the built-in copy. The drop-zone menu needs an altimeter.
    const std::string equipment = config->GetChild("Equipment")->GetAttribute("FileName")->GetValue();
    AddNotice(UseUserFile(*IResourceMgr::GetSingleton(), equipment, "Equipment", [this](const xml::CNodePtr& file) {
        auto manager = std::make_shared<CEquipmentManager>(file);
        if (manager->GetAltimeterNames().empty())
            throw CException("it names no altimeter");
        m_EquipmentManager = manager;
    }));

    ILogMgr::GetSingleton()->LogMessage("Engine is starting...");
    SelectCurrentProfile();

    m_SplashScreensState = std::make_shared<EngineStates::CSplashScreensState>(this, config->GetChild("SplashScreens"));
    m_AllStates.push_back(m_SplashScreensState);

    auto gameMode = std::make_shared<EngineStates::CGameModeState>(this);
    gameMode->SetDZLoaderFactory(createDZLoader);
    m_GameModeState = gameMode.get();
    m_AllStates.push_back(gameMode);

    m_GuiEngine = createGuiEngine();

    auto menuMode = std::make_shared<EngineStates::CMenuModeState>(this, m_GuiEngine.get());
    m_MenuModeState = menuMode.get();
    m_AllStates.push_back(menuMode);

    if (std::shared_ptr<IEngineState> editor = createEditor ? createEditor(*this) : nullptr) {
        m_EditorState = editor.get();
        m_AllStates.push_back(editor);
    }

    ILogMgr::GetSingleton()->LogMessage("Engine is started");
    m_BgMusic->Play(true);

    EnterFirstState(startState, restarted);
}

CEngine::~CEngine()
{
    // States left on the stack (a start that failed half-way) are only forgotten.
    m_States.clear();
    m_SplashScreensState.reset();
    m_MenuModeState = m_GameModeState = m_EditorState = nullptr;
    m_AllStates.clear();
    m_GuiEngine.reset();
    if (!m_Application)
        return;
    ILogMgr::GetSingleton()->LogMessage("Engine is destroyed");
    m_PlayingSounds.clear();
    m_BgMusic.reset();
    m_BindingMgr.reset();
    m_EquipmentManager.reset();
    m_FrameConnection.disconnect();
    m_ScreenShotConnection.disconnect();
    m_KeyConnection.disconnect();
    m_MouseConnection.disconnect();
    // The current profile is written as it goes.
    m_ProfileMgr.reset();
}

void CEngine::AddNotice(const std::string& text)
{
    if (text.empty())
        return;
    if (m_GuiEngine && m_MenuModeState && HasStates() && GetCurrentState() == m_MenuModeState)
        m_GuiEngine->ShowMessageBox(text);
    else
        m_Notices.push_back(text);
}

std::vector<std::string> CEngine::TakeNotices()
{
    std::vector<std::string> notices;
    notices.swap(m_Notices);
    return notices;
}

IGameMode* CEngine::GetGameMode() const
{
    return dynamic_cast<IGameMode*>(m_GameModeState);
}

void CEngine::Update(const CTiming& timing)
{
    if (!m_States.empty())
        m_States.back()->OnUpdate(timing);
    OnUpdate(timing);
    if (IsFrameDrawn()) {
        m_FrameLimiter.EndFrame();
    } else {
        m_Application->SkipDrawing();
        m_FrameLimiter.EndFrame(MenuPollMicroseconds);
    }
}

bool CEngine::IsFrameDrawn()
{
    // The bare machine of the screens' tests has no window.
    if (!m_Application)
        return true;
    const IEngineState* state = m_States.empty() ? nullptr : m_States.back();
    const bool changed = m_InputSeen || state != m_LastState || m_States.size() != m_LastDepth ||
                         IFader::GetSingleton()->IsVisible() || IGUI::GetSingleton()->NeedsRedraw();
    m_InputSeen = false;
    m_LastState = state;
    m_LastDepth = m_States.size();
    // Only the menus rest: a jump paused under them still moves (smoke), and
    // the splash screens and the editor animate. Coming to the menus changes
    // the state, so they are drawn at once.
    const bool menusAlone = m_States.size() == 1 && state == m_MenuModeState;
    return !menusAlone || m_MenuRedraw.IsDrawn(m_FrameLimiter.GetFrameStart(), changed);
}

void CEngine::OnUpdate(const CTiming&)
{
    m_PlayingSounds.erase(std::remove_if(m_PlayingSounds.begin(), m_PlayingSounds.end(),
                                         [](const std::shared_ptr<ISound>& sound) { return !sound->IsPlaying(); }),
                          m_PlayingSounds.end());
}

void CEngine::OnStart()
{
    IEventMgr* events = IEventMgr::GetSingleton();
    m_FrameConnection = events->ConnectFrameEvent([this](const CFrameEvent& event) { OnFrame(event); });
    m_ScreenShotConnection =
        events->ConnectEvent(EventCodes::ScreenShot, [this](const CInternalEvent& event) { TakeScreenShot(event); });
    m_KeyConnection = events->ConnectDiscreteEvent([this](const CDiscreteEvent&) { m_InputSeen = true; });
    m_MouseConnection = events->ConnectAnalogEvent([this](const CAnalogEvent&) { m_InputSeen = true; });
}

void CEngine::OnStop()
{
    m_FrameConnection.disconnect();
    m_ScreenShotConnection.disconnect();
    m_KeyConnection.disconnect();
    m_MouseConnection.disconnect();
}

void CEngine::OnFrame(const CFrameEvent& event)
{
    if (CQuitSignals::GetReceived() && !m_QuitRequested) {
        ILogMgr::GetSingleton()->LogMessage("Signal " + std::to_string(CQuitSignals::GetReceived()) +
                                            " asks the program to end");
        m_QuitRequested = true;
    }
    if (m_QuitRequested) {
        while (HasStates())
            PopState();
        m_Application->Quit();
    }
    s_GlobalTime += event.TimeSinceLastFrame;
    CTiming timing;
    timing.m_Elapsed = event.TimeSinceLastFrame;
    timing.m_Global = s_GlobalTime;
    Update(timing);
}

void CEngine::TakeScreenShot(const CInternalEvent& event)
{
    if (!event.On)
        return;
    const xml::CNodePtr screenShot = m_Application->GetConfig()->GetChild("Application")->GetChild("ScreenShot");
    const std::string prefix = screenShot->GetAttribute("Prefix")->GetValue();
    const std::string suffix = screenShot->GetAttribute("Suffix")->GetValue();
    // A picture that cannot be written (a full disk, a missing folder) must not end the program.
    try {
        const std::string file = IGfxMgr::GetSingleton()->QueryRenderTarget(prefix, suffix);
        ILogMgr::GetSingleton()->LogMessage("ScreenShot is taken: " + file);
    } catch (const std::exception& e) {
        ILogMgr::GetSingleton()->LogError("ScreenShot could not be taken: " + std::string(e.what()));
    }
}

CBindingMgr& CEngine::GetBindingMgr() const
{
    SDS_ASSERT(m_BindingMgr && "The engine has no input bindings");
    return *m_BindingMgr;
}

CProfileMgr& CEngine::GetProfileMgr() const
{
    SDS_ASSERT(m_ProfileMgr && "The engine has no profiles");
    return *m_ProfileMgr;
}

CProfile& CEngine::GetCurrentProfile() const
{
    return *GetProfileMgr().GetCurrentProfile();
}

std::shared_ptr<ISound> CEngine::CreateMenuMusic() const
{
    const std::string file = m_Application->GetConfig()
                                 ->GetChild("MenuStates")
                                 ->GetChild("MainMenu")
                                 ->GetChildById("Stream", "BgMusic", "Name,Id")
                                 ->GetAttribute("File")
                                 ->GetValue();
    // The menus work without their music.
    try {
        return ISndMgr::GetSingleton()->CreateSound(file);
    } catch (const std::exception& e) {
        ILogMgr::GetSingleton()->LogError("The menu music could not be loaded, the menus stay silent: " +
                                          std::string(e.what()));
    }
    return std::make_shared<CDummySndMgr::CDummySound>();
}

void CEngine::SelectCurrentProfile()
{
    const xml::CNodePtr& settings = m_Application->GetSettings();
    // The profile manager always holds at least one profile.
    std::string name = m_ProfileMgr->GetProfiles().front();
    if (settings->HasAttribute("Profile")) {
        const std::string stored = settings->GetAttribute("Profile")->GetValue();
        std::string reason;
        if (CProfileMgr::IsValidProfileName(stored, &reason))
            name = stored;
        else
            ILogMgr::GetSingleton()->LogWarning("The profile the settings name cannot be used (" + reason +
                                                "); using profile " + name);
    }
    m_ProfileMgr->SelectProfile(name, true);
}

void CEngine::EnterFirstState(const std::string& startState, bool restarted)
{
    if (restarted) {
        m_GuiEngine->GoToMainMenu();
        m_GuiEngine->ShowVideoSettings("wndSettings/tcSections/tabVideo");
        ChangeState(m_MenuModeState);
    } else if (startState == "GameMode") {
        m_GuiEngine->GoToDZSelection();
        ChangeState(m_MenuModeState);
        m_GuiEngine->ApplyDZSelection();
    } else if (startState == "MainMenu") {
        m_GuiEngine->GoToMainMenu();
        ChangeState(m_MenuModeState);
    } else {
        ChangeState(m_SplashScreensState.get());
    }
}

} // namespace sds
