#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/SingletonTmpl.h"
#include "physics/IPhyMgr.h"
#include "physics/PhyJumperDesc.h"
#include "physics/TableFunc.h"
#include "physics/WindMgr.h"
#include "physics/ZavuviInstancer.h"
#include "physics/sdk/IUserContactReport.h"
#include "physics/sdk/IUserOutputStream.h"
#include "physics/sdk/IUserTriggerReport.h"

namespace physics {

class CPhyMovingBody;
class CPhyObj;
class IPhyJumper;
class CPhyResourceLoader;
class CPhyWindSock;

namespace sdk {
class IScene;
class ISdk;
}

// The one physics world of a level: its scene, materials and air, stepped at
// the fixed "MaxTimeStep". The contacts and triggers the scene reports during a
// step are queued and handed out after it, then the bodies are updated.
class CPhyMgr final : public IPhyMgr,
                      public sdk::IUserContactReport,
                      public sdk::IUserTriggerReport,
                      public CSingletonTmpl<CPhyMgr>
{
public:
    // `physics` is the "Physics" root of the physics configuration, `materials`
    // the "Materials" root of the materials file. Throws CPhyMgrException when
    // "MaxTimeStep" is not a positive number or the scene cannot be made, and
    // the XML layer's exceptions for missing keys.
    static std::shared_ptr<CPhyMgr> Create(const xml::CNodePtr& physics, const xml::CNodePtr& materials);
    ~CPhyMgr() override;

    void SetDebugDrawCallbacks(CShapeDrawCallback shapes, CForceDrawCallback forces) override;
    void SetLogCallbacks(CLogCallback message, CLogCallback warning, CLogCallback error) override;
    void SetCollisionCallback(CCollisionCallback callback) override;
    void Update(const sds::CTiming& timing) override;
    void CreateGroundPlane() override;
    std::shared_ptr<IPhyJumper> CreateJumper(const std::string& name, bool logData, int index,
                                             const sds::CVector& position, const sds::CQuaternion& orientation,
                                             float exitWeight, float canopySize, const std::string& canopyModel,
                                             const std::string& inputConversion, bool showPilotChute) override;
    std::uint16_t GetMaterialIndex(const std::string& name) const override;
    std::shared_ptr<IPhyObj> CreateScyPhy(const std::string& file, const sds::CVector& position,
                                          const sds::CQuaternion& orientation,
                                          const CObjectCallback& ragDolls) override;
    std::shared_ptr<IPhyObj> CreateWindSock(const std::string& file, const sds::CVector& position,
                                            const sds::CQuaternion& orientation,
                                            const CObjectCallback& ragDolls) override;
    void LoadScyPhy(const std::string& file, const sds::CVector& position, const sds::CQuaternion& orientation,
                    const CObjectCallback& models, const CObjectCallback& ragDolls,
                    const std::string& material) override;
    std::shared_ptr<IPhyObj> CreateTriMesh(const sds::CTriangleMesh& mesh) override;
    std::shared_ptr<IPhyObj> CreateBox(const sds::CVector& position, const sds::CVector& dimensions, float density,
                                       const std::string& material) override;
    std::shared_ptr<IPhyObj> CreateProbe(const sds::CVector& position, float dragArea) override;
    void DrawDebug(bool drawForces) override;
    std::shared_ptr<sds::ILevelResourceLoader>
    CreateResourceLoader(const xml::CNodePtr& physics, const sds::LoadingProgressCallback& progress) override;
    IWindMgr& GetWindMgr() override { return m_WindMgr; }

    // The physical material of a render material; 0 with a warning when no "Surface" maps it.
    std::uint16_t GetGfxMaterialIndex(const std::string& name) const;
    // The air density (kg/m3) at a world height: the table at the drop zone's elevation plus the height.
    float GetAirDensity(float altitude) const;
    void SetDropZoneElevation(float metres) { m_DropZoneElevation = metres; }
    float GetDropZoneElevation() const { return m_DropZoneElevation; }
    float GetMaxTimeStep() const { return m_MaxTimeStep; }
    float GetAccumulator() const { return m_Accumulator; }
    const xml::CNodePtr& GetConfig() const { return m_Config; }
    sdk::ISdk& GetSdk() const { return *m_Sdk; }
    sdk::IScene& GetScene() const { return *m_Scene; }
    // Worlds are numbered in the order they are made, never twice in a run: what
    // outlives its world can tell it from a later one made at the same address.
    std::uint64_t GetSerial() const { return m_Serial; }
    // The world of that number while it lives, else null.
    static CPhyMgr* GetLiveWorld(std::uint64_t serial);
    // The steps taken so far by every world of the run; each step raises it by one.
    static std::uint64_t GetStepCount() { return ms_StepCount; }
    // The newest level's loader while its level holds it.
    const CPhyResourceLoader* GetResourceLoader() const { return m_ResourceLoader.lock().get(); }
    CZavuviInstancer& GetInstancer() { return m_Instancer; }
    const std::vector<std::shared_ptr<CPhyWindSock>>& GetWindSocks() const { return m_WindSocks; }

    void LogMessage(const std::string& text) const;
    void LogWarning(const std::string& text) const;
    void LogError(const std::string& text) const;
    static const CShapeDrawCallback& GetShapeDrawCallback() { return ms_ShapeDrawCallback; }
    static const CForceDrawCallback& GetForceDrawCallback() { return ms_ForceDrawCallback; }

    // Builds a jumper's body on its own copy of the "PhyJumper" element. The
    // flight model lives above the world, so whoever makes the world hands it in.
    typedef std::function<std::shared_ptr<IPhyJumper>(const xml::CNodePtr& phyJumper, const CPhyJumperDesc& desc)>
        CJumperFactory;
    void SetJumperFactory(CJumperFactory factory) { m_JumperFactory = std::move(factory); }
    // A jumper's body, updated after every step while it lives, before the moving bodies.
    void AddJumper(const std::shared_ptr<IPhyJumper>& jumper);
    // A body updated after every step while it lives.
    void AddMovingBody(const std::shared_ptr<CPhyMovingBody>& body);
    // Living objects, so that a queued call never reaches one that has gone. Keys
    // are never used twice in a run, whatever world gave them.
    std::uint64_t RegisterObject(CPhyObj& object);
    void UnregisterObject(std::uint64_t id);
    CPhyObj* FindObject(std::uint64_t id) const;

    // The scene's reports, during a step: they queue calls for after it.
    void OnContactNotify(const sdk::CContactPair& pair, std::uint32_t events) override;
    void OnTrigger(sdk::IShape& triggerShape, sdk::IShape& otherShape, std::uint32_t status) override;

private:
    class CErrorOutputStream : public sdk::IUserOutputStream
    {
    public:
        explicit CErrorOutputStream(const CPhyMgr& world) : m_World(world) {}
        void ReportError(sdk::EErrorCode code, const std::string& message, const std::string& file, int line) override;
        void Print(const std::string& message) override;

    private:
        const CPhyMgr& m_World;
    };

    CPhyMgr(const xml::CNodePtr& physics, const xml::CNodePtr& materials, float maxTimeStep);
    void CreateScene(const xml::CNodePtr& materials);
    void Step(const sds::CTiming& step);
    void ForgetExpired();
    void QueueWind(const CPhyObj& owner);

    std::uint64_t m_Serial;
    float m_MaxTimeStep;
    float m_Accumulator = 0.0f;
    xml::CNodePtr m_Config;
    CLogCallback m_ErrorCallback;
    CLogCallback m_WarningCallback;
    CLogCallback m_MessageCallback;
    CCollisionCallback m_CollisionCallback;
    CErrorOutputStream m_ErrorStream;
    std::unique_ptr<sdk::ISdk> m_Sdk;
    sdk::IScene* m_Scene = nullptr;
    std::map<std::string, std::uint16_t> m_Materials;
    std::map<std::string, std::uint16_t> m_GfxMaterials;
    std::unordered_map<std::uint64_t, CPhyObj*> m_LiveObjects;
    std::vector<std::shared_ptr<CPhyObj>> m_Objects;
    CJumperFactory m_JumperFactory;
    std::vector<std::weak_ptr<IPhyJumper>> m_Jumpers;
    std::vector<std::weak_ptr<CPhyMovingBody>> m_MovingBodies;
    CZavuviInstancer m_Instancer;
    // Not kept alive here: the loader goes with its level.
    std::weak_ptr<CPhyResourceLoader> m_ResourceLoader;
    CWindMgr m_WindMgr;
    std::vector<std::shared_ptr<CPhyWindSock>> m_WindSocks;
    // The calls queued in a step, and those being run (kept for their room).
    std::vector<std::function<void(const sds::CTiming&)>> m_Deferred, m_Running;
    std::vector<std::uint64_t> m_InWind; // objects given this step's wind: a few
    float m_DropZoneElevation = 0.0f;
    sds::CTableFunc m_AirDensity;

    static std::uint64_t ms_StepCount;
    static CShapeDrawCallback ms_ShapeDrawCallback;
    static CForceDrawCallback ms_ForceDrawCallback;
};

} // namespace physics
