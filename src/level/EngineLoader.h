#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Engine.h"
#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "core/Vector.h"
#include "core/services/ILevelResourceLoader.h"
#include "core/services/LoadingProgressCallback.h"
#include "core/services/TriangleMesh.h"
#include "graphics/IGfxObj.h"
#include "level/LandingCamera.h"

namespace physics {
class IPhyMgr;
class IPhyObj;
}

namespace sds {

class CAirplane;
class CObjGround;
class CForceVisualization;
class CJumperMgr;
class CRagDollObj;
class CScriptCameraMotionController;
class CSimObj;
class IEventMgr;
class IInputModes;
class IJumper;
class ILevelHost;
class ISound;

// What a level's objects need of the program around them.
struct CLevelContext
{
    // The game mode that runs the level; required.
    ILevelHost* Host = nullptr;
    // The physics world the level's physics mod steps; required.
    physics::IPhyMgr* World = nullptr;
    // What bakes the ground's collision into that world: the level asks the
    // graphics only for meshes it has not baked yet. Null: for all near a jumper.
    const CObjGround* Ground = nullptr;
    // Where the jumpers go; required.
    CJumperMgr* Jumpers = nullptr;
    // The engine's input-mode stack for the jumpers' states; null: none.
    IInputModes* InputModes = nullptr;
    // Where the script cameras find the mouse; null: they see it at rest.
    const IEventMgr* Events = nullptr;
    // The engine the count-down is pushed on; null: no count-down is shown.
    CEngine* Engine = nullptr;
    // Makes the count-down state from the configuration's "CountDown"; empty: no count-down.
    std::function<std::shared_ptr<IEngineState>(const xml::CNodePtr& countDown)> MakeCountDown;
    // The jumpers' name: the current profile's.
    std::string JumperName = "Jumper";
};

// The level's own objects ("Engine"): the landing target, the simulated
// objects, windsocks and trees of the drop zone, its music and count-down, and
// for every jump the aircraft, the jumper, the force visualisation and the
// script cameras. The jump's objects are made anew on each restart.
class CEngineLoader : public ILevelResourceLoader, public CSingletonTmpl<CEngineLoader>
{
public:
    // Loads the level of the drop zone's "scene" with its "Preset" and makes
    // the first jump. Missing required keys throw the XML layer's exceptions;
    // whatever was made is released again.
    CEngineLoader(const xml::CNodePtr& scene, const xml::CNodePtr& preset,
                  const std::shared_ptr<ILevelResourceLoader>& gfxLoader,
                  const std::shared_ptr<ILevelResourceLoader>& phyLoader, const LoadingProgressCallback& progress,
                  const CLevelContext& context);
    ~CEngineLoader() override;

    // The aircraft, the trees, the simulated objects, the rag dolls, then the
    // force visualisation; then the ground's collision near each jumper is
    // asked for.
    void Update(const CTiming& timing) override;
    // Releases the jump's objects (recording the jump) and makes the next jump's.
    void Restart() override;
    // Records the jump in the profile (once per jump), then lets the jump's objects go.
    void ReleaseJumpObjects();
    // Records the current jumper's jump, unless the level is being edited.
    void RecordJump();
    void StartCountDown();
    // Asks the graphics, within the frame's baking budget, for the ground
    // under a jumper at `pos` coming down at `descent` (m/s, down positive).
    void RequestGround(const CVector& pos, float descent);

    // The target's graphic position; zero without a target.
    CVector GetTargetPos() const;
    float GetTargetHeight() const { return GetTargetPos().y; }
    // The y of the first jumper's graphic object; 0 without a jumper.
    float GetJumperHeight() const;
    // Sorts the simulated objects by distance from the point; the nearest, or null when there are none.
    std::shared_ptr<CSimObj> GetNearestSimObj(const CVector& point);
    const std::string& GetFullName() const { return m_FullName; }
    const std::shared_ptr<CAirplane>& GetAirplane() const { return m_Airplane; }
    void SetAirplane(const std::shared_ptr<CAirplane>& airplane) { m_Airplane = airplane; }

    const std::vector<std::shared_ptr<CSimObj>>& GetSimObjs() const { return m_SimObjs; }
    const std::vector<std::shared_ptr<CRagDollObj>>& GetRagDollObjs() const { return m_RagDollObjs; }
    const std::vector<CGfxObjPtr>& GetTrees() const { return m_Trees; }
    const std::shared_ptr<CSimObj>& GetTarget() const { return m_Target; }
    const std::shared_ptr<ISound>& GetBgMusic() const { return m_BgMusic; }
    const std::vector<std::shared_ptr<CScriptCameraMotionController>>& GetCameraControllers() const
    {
        return m_CameraControllers;
    }
    const std::shared_ptr<CForceVisualization>& GetForceVisualization() const { return m_ForceVisualization; }
    const std::shared_ptr<IEngineState>& GetCountDown() const { return m_CountDown; }
    // The configuration copy the last jumper was built from.
    const xml::CNodePtr& GetJumperConfig() const { return m_JumperConfig; }

    // Level objects of the scene's elements.
    // A physics-editor file ("Target", "SimObj"): its models become simulated objects, its skeletons rag dolls.
    void CreateObjects(const xml::CNodePtr& element);
    // A force-field scene places its target by position alone: the standard
    // target model of the "Target" material stands there.
    void CreateTarget(const xml::CNodePtr& element);
    void LoadObjects(const xml::CNode& element, const std::string& file, const std::string& material);
    void CreateSimObj(const std::string& mesh, const std::shared_ptr<physics::IPhyObj>& body);
    void CreateRagDollObj(const std::string& mesh, const std::shared_ptr<physics::IPhyObj>& ragDoll);
    void CreateWindSock(const xml::CNodePtr& element);
    void CreateTrees(const xml::CNodePtr& scene);
    // The preset's jumper, unless its "Create" is false; the camera follows it.
    void CreateJumper(const xml::CNodePtr& jumper, const xml::CNodePtr& preset, const xml::CNodePtr& collision);

private:
    class CPositions;

    void Load(const LoadingProgressCallback& progress);
    void CopyJumperMaterial();
    void SetCameraLimits();
    // What the ground requests leave out: the meshes the ground object has baked.
    CIsBaked IsBaked() const;
    // How far a jumper may be above a page of the ground for it to be asked for.
    float GroundReach(float descent) const;
    void CreateForceVisualization(const xml::CNodePtr& visualization);
    void CreateAirplane();
    void InstallCameraScripts();
    void ReleaseLevelObjects();

    CLevelContext m_Context;
    std::vector<std::shared_ptr<CScriptCameraMotionController>> m_CameraControllers;
    std::shared_ptr<ILevelResourceLoader> m_GfxLoader;
    std::shared_ptr<ILevelResourceLoader> m_PhyLoader;
    std::shared_ptr<CForceVisualization> m_ForceVisualization;
    std::shared_ptr<IEngineState> m_CountDown;
    std::vector<std::shared_ptr<CSimObj>> m_SimObjs;
    std::vector<std::shared_ptr<CRagDollObj>> m_RagDollObjs;
    std::vector<CGfxObjPtr> m_Trees;
    std::shared_ptr<CSimObj> m_Target;
    std::shared_ptr<ISound> m_BgMusic;
    std::shared_ptr<CAirplane> m_Airplane;
    std::string m_FullName;
    xml::CNodePtr m_Scene;
    xml::CNodePtr m_Preset;
    xml::CNodePtr m_JumperConfig;
    CLandingCamera m_LandingCamera;
    // Registered with the graphics while the level lives: the script cameras'
    // "JumperPos" and "TargetPos".
    std::shared_ptr<CPositions> m_Positions;
    // How high above the ground, and how many seconds a frame, the ground's
    // collision is gathered for ("Scene" "TerrainCollisionInitDist" and
    // "TimeLimitForBakingMeshes").
    float m_CollisionReach = 0.0f;
    float m_CollisionBudget = 0.0f;
};

} // namespace sds
