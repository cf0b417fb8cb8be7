#include "level/EngineLoader.h"

#include <algorithm>
#include <limits>

#include "core/BoundingBox.h"
#include "core/ILogMgr.h"
#include "core/IResourceMgr.h"
#include "core/services/EventCodes.h"
#include "core/services/IApplication.h"
#include "forcefields/ForceVisualization.h"
#include "graphics/ICamera.h"
#include "graphics/IGfxMgr.h"
#include "graphics/ILevelPositions.h"
#include "graphics/script/ScriptCameraMotionController.h"
#include "jumper/Airplane.h"
#include "jumper/IJumper.h"
#include "jumper/JumperMgr.h"
#include "jumper/ObjGround.h"
#include "jumper/RagDollObj.h"
#include "jumper/SimObj.h"
#include "mods/ILevelHost.h"
#include "physics/IPhyObj.h"
#include "scene/GraphicsSettings.h"
#include "sound/ISndMgr.h"
#include "sound/ISound.h"

namespace sds {

namespace {

// The camera modes the four camera scripts drive.
const int FIRST_SCRIPT_CAMERA_MODE = EventCodes::CameraScript1;
const char* const SCRIPT_CAMERAS[] = {"1", "2", "3", "4"};

const xml::CNodePtr& Config()
{
    return IApplication::GetSingleton()->GetConfig();
}

} // namespace

// What the level tells the script cameras: its first jumper and its target.
class CEngineLoader::CPositions : public ILevelPositions
{
public:
    explicit CPositions(const CEngineLoader& loader) : m_Loader(loader) {}
    std::optional<CVector> GetJumperPos() const override
    {
        const CJumperMgr* jumpers = m_Loader.m_Context.Jumpers;
        if (!jumpers || jumpers->GetJumpers().empty())
            return std::nullopt;
        return jumpers->GetJumpers().front()->GetPos();
    }
    std::optional<CVector> GetTargetPos() const override
    {
        if (!m_Loader.m_Target)
            return std::nullopt;
        return m_Loader.GetTargetPos();
    }

private:
    const CEngineLoader& m_Loader;
};

CEngineLoader::CEngineLoader(const xml::CNodePtr& scene, const xml::CNodePtr& preset,
                             const std::shared_ptr<ILevelResourceLoader>& gfxLoader,
                             const std::shared_ptr<ILevelResourceLoader>& phyLoader,
                             const LoadingProgressCallback& progress, const CLevelContext& context)
    : ILevelResourceLoader("Engine"), m_Context(context), m_GfxLoader(gfxLoader), m_PhyLoader(phyLoader),
      m_Scene(scene), m_Preset(preset)
{
    try {
        Load(progress);
    } catch (...) {
        // The destructor does not run for a load that failed: what was made goes here.
        // A jumper of a level that never loaded has not jumped: it goes unrecorded.
        if (m_Context.Jumpers)
            m_Context.Jumpers->Clear();
        ReleaseLevelObjects();
        throw;
    }
}

CEngineLoader::~CEngineLoader()
{
    ReleaseLevelObjects();
}

void CEngineLoader::Load(const LoadingProgressCallback& progress)
{
    if (m_Context.MakeCountDown)
        m_CountDown = m_Context.MakeCountDown(Config()->GetChild("CountDown"));
    m_FullName = m_Scene->GetAttribute("FullName", "Unknown");

    progress("Loading target", 0.0f);
    CopyJumperMaterial();
    if (m_Scene->HasChild("Target")) {
        CreateTarget(m_Scene->GetChild("Target"));
        if (!m_SimObjs.empty())
            m_Target = m_SimObjs.back();
        SetCameraLimits();
    }
    m_Positions = std::make_shared<CPositions>(*this);
    IGfxMgr::GetSingleton()->AddLevelPositions(m_Positions);

    std::vector<xml::CNodePtr> simObjs;
    xml::ForEachChild(*m_Scene, "SimObj", [&simObjs](const xml::CNodePtr& child) { simObjs.push_back(child); });
    for (std::size_t i = 0; i < simObjs.size(); ++i) {
        progress("Loading simulation objects", 0.4f + 0.2f * static_cast<float>(i) / simObjs.size());
        CreateObjects(simObjs[i]);
    }

    std::vector<xml::CNodePtr> windSocks;
    xml::ForEachChild(*m_Scene, "WindSock", [&windSocks](const xml::CNodePtr& child) { windSocks.push_back(child); });
    for (std::size_t i = 0; i < windSocks.size(); ++i) {
        progress("Loading Windsocks", 0.6f + 0.3f * static_cast<float>(i) / windSocks.size());
        CreateWindSock(windSocks[i]);
    }

    CreateTrees(m_Scene);

    progress("Loading music", 0.9f);
    if (m_Scene->HasChildById("Stream", "BgMusic", "Name,Id")) {
        const xml::CNodePtr stream = m_Scene->GetChildById("Stream", "BgMusic", "Name,Id");
        const std::string file = stream->GetAttribute("File")->GetValue();
        const bool loop = stream->GetAttribute("Loop")->GetValue<bool>();
        m_BgMusic = ISndMgr::GetSingleton()->CreateSound(file);
        m_BgMusic->Play(loop);
    }

    progress("Loading jumper", 0.95f);
    Restart();

    // The ground's collision around the landing area is wanted before the first touch-down.
    const xml::CNodePtr settings = Config()->GetChild("Scene");
    m_CollisionReach = settings->GetAttribute("TerrainCollisionInitDist")->GetValue<float>();
    m_CollisionBudget = settings->GetAttribute("TimeLimitForBakingMeshes")->GetValue<float>();
    IGfxMgr::GetSingleton()->GetSurfaceObjectsAround(GetTargetPos(), m_CollisionReach,
                                                     std::numeric_limits<float>::max(), IsBaked());
}

float CEngineLoader::GroundReach(float descent) const
{
    // Asked for when the jumper could be down on it within some seconds at its
    // present descent, or at the slowest a canopy comes down: early enough to
    // be baked by then, and no sooner, so that the ground along a long flight
    // is not baked for nothing.
    const float seconds = 10.0f;
    const float slowestDescent = 5.0f; // m/s
    return std::min(m_CollisionReach, seconds * std::max(descent, slowestDescent));
}

CIsBaked CEngineLoader::IsBaked() const
{
    const CObjGround* ground = m_Context.Ground;
    if (!ground)
        return CIsBaked();
    return [ground](const std::string& key) { return ground->IsBaked(key); };
}

void CEngineLoader::CopyJumperMaterial()
{
    IGfxMgr* gfx = IGfxMgr::GetSingleton();
    IApplication* application = IApplication::GetSingleton();
    const std::string source =
        UseShaders(application->GetConfig(), application->GetSettings()) ? "Jumper_Shaders" : "Jumper_Simple";
    gfx->RemoveMaterial("Jumper");
    // The jumper's meshes name materials of their own; a missing template only leaves "Jumper" unset.
    try {
        gfx->CopyMaterial(source, "Jumper");
    } catch (const std::exception& e) {
        ILogMgr::GetSingleton()->LogWarning(std::string("The jumper material is not set: ") + e.what());
    }
}

void CEngineLoader::SetCameraLimits()
{
    const xml::CNodePtr camera = Config()->GetChild("Camera");
    const xml::CNodePtr limits = camera->HasChild("Limits") ? camera->GetChild("Limits")
                                                            : xml::CNodePtr(new xml::CNode("Temp", false));
    const float paddingX = limits->GetAttribute<float>("PaddingX", std::numeric_limits<float>::max() / 2.0f);
    const float paddingZ = limits->GetAttribute<float>("PaddingZ", paddingX);
    const float minY = limits->GetAttribute<float>("MinY", std::numeric_limits<float>::min());
    const float maxY = limits->GetAttribute<float>("MaxY", std::numeric_limits<float>::max());
    if (!m_Target)
        return;
    ICamera* view = IGfxMgr::GetSingleton()->GetCamera();
    if (!view)
        return;
    const CVector target = m_Target->GetSimObj()->GetPos();
    view->SetBounds(CVector(target.x - paddingX, minY, target.z - paddingZ),
                    CVector(target.x + paddingX, maxY, target.z + paddingZ));
    const CVector offset = target + CVector(10.0f, 10.0f, 10.0f);
    view->SetFixedOffset(offset);
    view->SetFreeOffset(offset);
}

void CEngineLoader::Update(const CTiming& timing)
{
    if (m_Airplane)
        m_Airplane->Update(timing);
    for (const CGfxObjPtr& tree : m_Trees)
        tree->Update(timing);
    for (const std::shared_ptr<CSimObj>& simObj : m_SimObjs)
        simObj->Update(timing);
    for (const std::shared_ptr<CRagDollObj>& ragDoll : m_RagDollObjs)
        ragDoll->Update(timing);
    if (m_ForceVisualization)
        m_ForceVisualization->Update(timing);
    // A jumper may come down anywhere, far from the target: the ground under
    // each one is prepared as it nears it, a little each frame. What was baked
    // on an earlier jump is there still.
    if (m_Context.Jumpers) {
        for (const std::shared_ptr<IJumper>& jumper : m_Context.Jumpers->GetJumpers())
            RequestGround(jumper->GetPos(), -jumper->GetVelocity().y);
    }
}

void CEngineLoader::RequestGround(const CVector& pos, float descent)
{
    IGfxMgr::GetSingleton()->GetSurfaceObjectsAround(pos, GroundReach(descent), m_CollisionBudget, IsBaked());
}

void CEngineLoader::Restart()
{
    ReleaseJumpObjects();

    const xml::CNodePtr scene = m_Scene;
    if (scene->HasChild("ForceFieldVisualization"))
        CreateForceVisualization(scene->GetChild("ForceFieldVisualization"));

    const std::string collisionFile =
        Config()->GetChild("Application")->GetChild("Configs")->GetChild("Collision")->GetValue();
    // The file stays while the jumper reads it, so that a failure can name it.
    const xml::CNodePtr collisionTree = IResourceMgr::GetSingleton()->LoadXml(collisionFile);
    const xml::CNodePtr collision = collisionTree->GetChild("Collision");

    // Each jump starts with a fresh aircraft at its start point for the jumper to hang under.
    if (scene->HasChild("Airplane"))
        CreateAirplane();

    if (m_Preset->HasChild("Jumper"))
        CreateJumper(m_Preset->GetChild("Jumper"), m_Preset, collision);

    InstallCameraScripts();

    if (m_Preset->HasChild("Camera"))
        m_LandingCamera.SetLandingCamera(m_Preset->GetChild("Camera"));
}

void CEngineLoader::CreateForceVisualization(const xml::CNodePtr& visualization)
{
    const float maxParticles = Config()
                                   ->GetChild("Scene")
                                   ->GetChild("ForceFieldVisualization")
                                   ->GetAttribute("MaxParticles")
                                   ->GetValue<float>();
    // The settings screen writes the share; a user who never opened it sees the full cloud.
    const xml::CNodePtr settings = IApplication::GetSingleton()->GetSettings();
    float share = 1.0f;
    if (settings && settings->HasChild("ForceFields"))
        share = settings->GetChild("ForceFields")->GetAttribute<float>("ForceVisualization", 1.0f);

    const xml::CNodePtr box = m_Scene->GetChildById("BoundingBox", "Boundaries", "Name,Id");
    CBoundingBox area;
    area.Reset(box->GetAttribute("MinCorner")->GetValue<CVector>());
    area.Merge(box->GetAttribute("MaxCorner")->GetValue<CVector>());
    const CVector timeToLive = visualization->GetAttribute<CVector>("TimeToLive", CVector(5.0f, 10.0f, 0.0f));
    m_ForceVisualization = std::make_shared<CForceVisualization>(
        *m_Context.World, CForceVisualization::ParticleCount(maxParticles, share), visualization->GetChild("Trail"),
        area, timeToLive, box->GetChild("Mesh"));
}

void CEngineLoader::CreateAirplane()
{
    SetAirplane(std::make_shared<CAirplane>(Config()->GetChild("Airplane")));
    if (const std::shared_ptr<ISound>& engine = m_Airplane->GetEngineSound())
        engine->Play(true);
}

void CEngineLoader::InstallCameraScripts()
{
    const xml::CNodePtr scripts = Config()->GetChild("Camera")->GetChild("Scripts");
    const std::string loadingMethod = Config()->GetChild("ScriptMgr")->GetAttribute("LoadingMethod")->GetValue();
    ICamera* camera = IGfxMgr::GetSingleton()->GetCamera();
    int mode = FIRST_SCRIPT_CAMERA_MODE;
    for (const char* name : SCRIPT_CAMERAS) {
        const std::string script = scripts->GetChildById("Camera", name, "Name,Id")->GetAttribute("Script")->GetValue();
        auto controller = std::make_shared<CScriptCameraMotionController>(script, loadingMethod,
                                                                          IGfxMgr::GetSingleton(), m_Context.Events);
        m_CameraControllers.push_back(controller);
        if (camera)
            camera->SetMotionController(mode, controller.get());
        ++mode;
    }
}

void CEngineLoader::RecordJump()
{
    if (!m_Context.Jumpers || m_Context.Jumpers->GetJumpers().empty() || m_Context.Host->IsEditing())
        return;
    m_Context.Host->RecordJump(*m_Context.Jumpers->GetJumpers().front());
}

void CEngineLoader::ReleaseJumpObjects()
{
    m_ForceVisualization.reset();
    ICamera* camera = IGfxMgr::GetSingleton()->GetCamera();
    if (!m_CameraControllers.empty()) {
        if (camera)
            for (int mode = FIRST_SCRIPT_CAMERA_MODE; mode < FIRST_SCRIPT_CAMERA_MODE + 4; ++mode)
                camera->ResetMotionController(mode);
        m_CameraControllers.clear();
    }
    if (m_Context.Jumpers) {
        RecordJump();
        m_Context.Jumpers->Clear();
    }
    if (camera)
        camera->Attach(CGfxObjPtr());
    // Silenced here: whoever else still holds the aircraft, its jump is over.
    if (m_Airplane && m_Airplane->GetEngineSound())
        m_Airplane->GetEngineSound()->Stop();
    SetAirplane(std::shared_ptr<CAirplane>());
}

void CEngineLoader::ReleaseLevelObjects()
{
    ReleaseJumpObjects();
    m_SimObjs.clear();
    m_RagDollObjs.clear();
    m_Trees.clear();
    if (m_BgMusic) {
        m_BgMusic->Stop();
        m_BgMusic.reset();
    }
    m_Positions.reset();
    m_Target.reset();
    m_CountDown.reset();
}

void CEngineLoader::StartCountDown()
{
    if (m_CountDown && m_Context.Engine)
        m_Context.Engine->PushState(m_CountDown.get());
}

CVector CEngineLoader::GetTargetPos() const
{
    return m_Target ? m_Target->GetGfxObj()->GetPos() : CVector::ZERO;
}

float CEngineLoader::GetJumperHeight() const
{
    if (!m_Context.Jumpers || m_Context.Jumpers->GetJumpers().empty())
        return 0.0f;
    const CGfxObjPtr body = m_Context.Jumpers->GetJumpers().front()->GetGfxObj();
    // Its height in the world: before the exit the body hangs under the aircraft.
    return body ? body->GetWorldPos().y : 0.0f;
}

std::shared_ptr<CSimObj> CEngineLoader::GetNearestSimObj(const CVector& point)
{
    if (m_SimObjs.empty())
        return std::shared_ptr<CSimObj>();
    std::sort(m_SimObjs.begin(), m_SimObjs.end(),
              [&point](const std::shared_ptr<CSimObj>& a, const std::shared_ptr<CSimObj>& b) {
                  return (a->GetGfxObj()->GetPos() - point).Length() < (b->GetGfxObj()->GetPos() - point).Length();
              });
    return m_SimObjs.front();
}

} // namespace sds
