#include "level/DZLoaderMod.h"

#include <cctype>
#include <sstream>

#include "app/BindingMgr.h"
#include "app/CountDownState.h"
#include "app/Profile.h"
#include "app/ProfileMgr.h"
#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/IResourceMgr.h"
#include "core/XmlFile.h"
#include "core/services/IApplication.h"
#include "core/services/IEventMgr.h"
#include "forcefields/IEditorSimObj.h"
#include "jumper/SimObj.h"
#include "graphics/IFader.h"
#include "graphics/IGfxMgr.h"
#include "graphics/ILoadingProgressBar.h"
#include "mods/ILevelHost.h"
#include "mods/PhyEnabledMod.h"
#include "physics/IPhyMgr.h"
#include "scene/DropZoneLevel.h"
#include "scene/SceneLook.h"

namespace sds {

namespace {

// A level's simulated object as the editor drags it.
class CEditorSimObj : public DovuvUvozeVozediza::IEditorSimObj
{
public:
    explicit CEditorSimObj(const std::shared_ptr<CSimObj>& simObj) : m_SimObj(simObj) {}
    CGfxObjPtr GetGfxObj() const override { return m_SimObj->GetGfxObj(); }
    void SetGfxDriven(bool gfxDriven) override { m_SimObj->SetGfxDriven(gfxDriven); }

private:
    std::shared_ptr<CSimObj> m_SimObj;
};

// The scene as its graphics draw it: a scene written before scenes had a sky
// and a ground takes them from the edition's template of new scenes, when
// the edition has one.
xml::CNodePtr SceneToDraw(const xml::CNodePtr& scene)
{
    if (HasOwnLook(*scene))
        return scene;
    const xml::CNodePtr config = IApplication::GetSingleton()->GetConfig();
    const xml::CNodePtr application = config->HasChild("Application") ? config->GetChild("Application") : nullptr;
    const xml::CNodePtr configs =
        application && application->HasChild("Configs") ? application->GetChild("Configs") : nullptr;
    if (!configs || !configs->HasChild("EditorTemplate"))
        return scene;
    const std::string path = configs->GetChild("EditorTemplate")->GetAttribute("Path")->GetValue();
    try {
        return WithDefaultLook(scene, IResourceMgr::GetSingleton()->LoadXml(path)->GetChild("scene"));
    } catch (const std::exception& e) {
        ILogMgr::GetSingleton()->LogWarning("The scene is drawn without the sky and ground of " + path + ": " +
                                            e.what());
        return scene;
    }
}

} // namespace

CDZLoaderMod::CDZLoaderMod(const CDropZoneLevel& dropZone, ILoadingProgressBar& progress,
                           const CLevelContext& context)
    : IDZLoaderMod("Drop zone loader")
{
    try {
        Load(dropZone, progress, context);
    } catch (const std::exception& e) {
        Unload();
        // The user sees this in a message box: which drop zone, which file and what in it.
        std::string reason = e.what();
        if (!reason.empty())
            reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
        throw CException(dropZone.GetFullName() + " (" + dropZone.GetPath() + ") cannot be loaded.\n" + reason);
    } catch (...) {
        Unload();
        throw;
    }
}

CDZLoaderMod::~CDZLoaderMod()
{
    Unload();
}

void CDZLoaderMod::Load(const CDropZoneLevel& dropZone, ILoadingProgressBar& progress, CLevelContext context)
{
    const xml::CNodePtr tree = dropZone.GetWorkingTree();
    ILogMgr* log = ILogMgr::GetSingleton();
    const bool outputConfigs = IApplication::GetSingleton()
                                   ->GetConfig()
                                   ->GetChild("Application")
                                   ->GetAttribute("OutputConfigs")
                                   ->GetValue<bool>();
    if (tree && outputConfigs) {
        std::ostringstream text;
        xml::WriteNode(text, *tree, "");
        log->LogMessage(text.str());
    }

    CPhyEnabledMod* physics = CPhyEnabledMod::GetSingleton();
    if (!physics)
        throw CException("A level is loaded without its physics mod");
    context.World = &physics->GetPhyMgr();
    context.Ground = &physics->GetGround();
    context.Jumpers = &m_JumperMgr;

    const LoadingProgressCallback callback = [&progress](const std::string& message, float fraction) {
        progress.SetStepProgress(message, fraction);
    };
    const xml::CNodePtr scene = tree->GetChild("scene");

    progress.SetProgress("Creating graphical scene", 0.6f);
    m_Loaders.push_back(IGfxMgr::GetSingleton()->LoadZone(SceneToDraw(scene), callback));

    progress.SetProgress("Creating physical scene", 0.2f);
    const xml::CNodePtr preset = scene->GetChild("Preset");
    m_Loaders.push_back(context.World->CreateResourceLoader(preset, callback));

    progress.SetProgress("Loading drop zone", 0.2f);
    m_Loaders.push_back(std::make_shared<CEngineLoader>(scene, preset, m_Loaders[0], m_Loaders[1], callback, context));

    log->LogMessage("Drop zone is loaded");
}

void CDZLoaderMod::Unload()
{
    if (IFader* fader = IFader::GetSingleton())
        fader->StopFade();
    if (CPhyEnabledMod* physics = CPhyEnabledMod::GetSingleton())
        physics->Reset();
    while (!m_Loaders.empty())
        m_Loaders.pop_back();
}

void CDZLoaderMod::Update(const CTiming& timing)
{
    for (const std::shared_ptr<ILevelResourceLoader>& loader : m_Loaders)
        loader->Update(timing);
    m_JumperMgr.UpdateAll(timing);
}

void CDZLoaderMod::Restart()
{
    for (const std::shared_ptr<ILevelResourceLoader>& loader : m_Loaders)
        loader->Restart();
}

void CDZLoaderMod::StartCountDown()
{
    GetEngineLoader().StartCountDown();
}

void CDZLoaderMod::Reset()
{
    GetEngineLoader().RecordJump();
}

std::shared_ptr<DovuvUvozeVozediza::IEditorSimObj> CDZLoaderMod::GetNearestSimObj(const CVector& point)
{
    if (m_Loaders.size() < 3)
        return nullptr;
    const std::shared_ptr<CSimObj> nearest = GetEngineLoader().GetNearestSimObj(point);
    return nearest ? std::make_shared<CEditorSimObj>(nearest) : nullptr;
}

CEngineLoader& CDZLoaderMod::GetEngineLoader() const
{
    return dynamic_cast<CEngineLoader&>(*m_Loaders.at(2));
}

CDZLoaderFactory CDZLoaderMod::Factory()
{
    return [](ILevelHost& host, ILoadingProgressBar& progress) -> std::shared_ptr<IDZLoaderMod> {
        CLevelContext context;
        context.Host = &host;
        context.Events = IEventMgr::GetSingleton();
        if (CEngine* engine = CEngine::GetSingleton()) {
            context.Engine = engine;
            context.MakeCountDown = [engine](const xml::CNodePtr& config) -> std::shared_ptr<IEngineState> {
                return std::make_shared<EngineStates::CCountDownState>(engine, config);
            };
            context.InputModes = &engine->GetBindingMgr();
            if (const std::shared_ptr<CProfile>& profile = engine->GetProfileMgr().GetCurrentProfile())
                context.JumperName = profile->GetName();
        }
        return std::make_shared<CDZLoaderMod>(*host.GetDropZone(), progress, context);
    };
}

} // namespace sds
