#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "physics/sdk/IScene.h"
#include "physics/sdk/IUserContactReport.h"
#include "physics/sdk/SceneDesc.h"

class btBroadphaseInterface;
class btDefaultCollisionConfiguration;
class btDiscreteDynamicsWorld;
class btSequentialImpulseConstraintSolver;

namespace physics::sdk {

class CBulletActor;
class CBulletJoint;
class CBulletSdk;
class CBulletShape;
class CCollisionDispatcher;
class IUserOutputStream;
struct CStaticPairFilter;

class CBulletScene final : public IScene
{
public:
    CBulletScene(CBulletSdk& sdk, const CSceneDesc& desc, float skinWidth);
    ~CBulletScene();

    IActor* CreateActor(const CActorDesc& desc) override;
    void ReleaseActor(IActor& actor) override;
    const std::vector<IActor*>& GetActors() const override { return m_ActorList; }
    IJoint* CreateJoint(const CJointDesc& desc) override;
    void ReleaseJoint(IJoint& joint) override;
    std::uint16_t CreateMaterial(const CMaterialDesc& desc) override;
    void SetMaterial(std::uint16_t index, const CMaterialDesc& desc) override;
    CMaterialDesc GetMaterial(std::uint16_t index) const override;
    std::uint16_t GetMaterialCount() const override { return std::uint16_t(m_Materials.size()); }
    sds::CVector GetGravity() const override { return m_Gravity; }
    void SetGravity(const sds::CVector& gravity) override;
    void SetActorPairFlags(IActor& first, IActor& second, std::uint32_t flags) override;
    std::uint32_t GetActorPairFlags(IActor& first, IActor& second) const override;
    void SetActorGroupPairFlags(std::uint16_t first, std::uint16_t second, std::uint32_t flags) override;
    std::uint32_t GetActorGroupPairFlags(std::uint16_t first, std::uint16_t second) const override;
    void Simulate(float elapsed) override;
    bool FetchResults(bool block) override;

    // Used by the actors, joints and the dispatcher.
    IUserOutputStream* GetOutput() const;
    btDiscreteDynamicsWorld& GetWorld() const { return *m_World; }
    bool NeedsCollision(const CBulletActor& a, const CBulletActor& b) const;
    // Moves on whenever an answer of NeedsCollision may change (flags, groups,
    // blocked pairs), so that a pair may keep its answer until then.
    std::uint32_t GetCollisionRulesRevision() const { return m_CollisionRulesRevision; }
    void CollisionRulesChanged() { ++m_CollisionRulesRevision; }
    // Joined actors that do not collide with each other; counted per joint.
    void BlockCollision(CBulletActor& a, CBulletActor& b, bool block);
    const CMaterialDesc& GetMaterialDesc(std::uint16_t index) const;

private:
    typedef std::pair<std::uint64_t, std::uint64_t> CPairKey;
    // A touching pair's points are a run of the step's point list.
    struct CTouch
    {
        CBulletActor* m_Actors[2];
        std::size_t m_First;
        std::size_t m_Count;
    };
    struct CTouchingManifold
    {
        CPairKey m_Key;
        int m_Index;
    };
    struct CPendingContact
    {
        CContactPair m_Pair;
        std::uint32_t m_Events;
        bool m_Dead;
    };
    struct CPendingTrigger
    {
        IShape* m_Trigger;
        IShape* m_Other;
        std::uint32_t m_Status;
        bool m_Dead;
    };
    // Trigger actor and shape, other actor and shape.
    typedef std::pair<std::pair<std::uint64_t, unsigned>, std::pair<std::uint64_t, unsigned>> CTriggerKey;
    typedef std::pair<CBulletShape*, CBulletShape*> COverlap;

    static CPairKey KeyOf(const CBulletActor& a, const CBulletActor& b);
    std::uint32_t PairFlags(const CBulletActor& a, const CBulletActor& b) const;
    CBulletActor* FindActor(IActor& actor) const;
    bool CheckActorDesc(const CActorDesc& desc, std::string& reason) const;
    bool CheckJointDesc(const CJointDesc& desc, std::string& reason) const;
    void CollectReports();

    CBulletSdk& m_Sdk;
    sds::CVector m_Gravity;
    IUserContactReport* m_ContactReport;
    IUserTriggerReport* m_TriggerReport;

    std::unique_ptr<btDefaultCollisionConfiguration> m_Configuration;
    std::unique_ptr<CCollisionDispatcher> m_Dispatcher;
    std::unique_ptr<btBroadphaseInterface> m_Broadphase;
    std::unique_ptr<CStaticPairFilter> m_PairFilter;
    std::unique_ptr<btSequentialImpulseConstraintSolver> m_Solver;
    std::unique_ptr<btDiscreteDynamicsWorld> m_World;

    std::uint64_t m_NextSerial = 1;
    std::uint32_t m_CollisionRulesRevision = 1;
    std::vector<std::unique_ptr<CBulletActor>> m_Actors;
    std::vector<IActor*> m_ActorList;
    std::vector<std::unique_ptr<CBulletJoint>> m_Joints;
    std::vector<CMaterialDesc> m_Materials;
    std::map<CPairKey, std::uint32_t> m_PairFlags;
    std::map<std::pair<std::uint16_t, std::uint16_t>, std::uint32_t> m_GroupPairFlags;
    std::map<CPairKey, int> m_BlockedPairs;

    // The last step's touches and overlaps, in the order of their keys, and
    // the room the next step's are gathered in.
    std::vector<std::pair<CPairKey, CTouch>> m_Touching, m_NewTouching;
    std::vector<CTouchingManifold> m_TouchingManifolds;
    std::vector<CContactPoint> m_Points;
    std::vector<std::pair<CTriggerKey, COverlap>> m_Overlaps, m_NewOverlaps;
    std::vector<CPendingContact> m_PendingContacts;
    std::vector<CPendingTrigger> m_PendingTriggers;
};

} // namespace physics::sdk
