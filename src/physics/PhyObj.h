#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "physics/IPhyCollisionEvent.h"
#include "physics/IPhyObj.h"
#include "physics/sdk/IUserData.h"

namespace physics {

namespace sdk {
class IActor;
class IShape;
struct CActorDesc;
}

class IWindMgr;

// One actor of the world's scene and the program's reactions to it. The
// actor's user data points here, so that the world can hand this object the
// contacts and triggers of its actor. Every physical object dies before the world.
class CPhyObj : public IPhyObj, public sdk::IUserData
{
public:
    typedef std::function<void(const IPhyCollisionEvent&)> CCollisionCallback;

    // Without an actor yet.
    CPhyObj();
    // With a new actor in the world's scene.
    explicit CPhyObj(const sdk::CActorDesc& desc);
    ~CPhyObj() override;
    CPhyObj(const CPhyObj&) = delete;
    CPhyObj& operator=(const CPhyObj&) = delete;

    sds::CVector GetPos() const override;
    sds::CQuaternion GetOrientation() const override;
    void SetOrientation(const sds::CQuaternion& orientation) override;
    void SetPos(const sds::CVector& position) override;

    // False stops the actor colliding and responding; true lets it again.
    virtual void EnableCollision(bool enable);
    // The actor is in a wind region during this step: an object that the air
    // moves samples `source` where it is. The world calls it once a step at
    // most, whatever the number of regions or shapes.
    virtual void ApplyWind(IWindMgr& source);
    // A shape of this object's actor is in a trigger shape that is not a wind
    // region; queued by the world.
    virtual void OnTrigger(sdk::IShape& triggerShape, sdk::IShape& otherShape, std::uint32_t status);
    // A contact of this object's actor began; queued by the world.
    void OnCollision(const IPhyCollisionEvent& event);

    void SetCollisionCallback(const CCollisionCallback& callback) { m_CollisionCallback = callback; }
    const CCollisionCallback& GetCollisionCallback() const { return m_CollisionCallback; }

    // The actor, or null without one; a bound actor counts only while its owner keeps it.
    sdk::IActor* GetActor() const { return m_OwnsActor ? m_Actor : GetBoundActor(); }
    bool OwnsActor() const { return m_OwnsActor; }
    // Makes this object's own actor in the world's scene; throws CPhyException when
    // the scene refuses the descriptor.
    void CreateActor(sdk::CActorDesc desc);
    // Drives the actor that `owner` keeps: its user data points here until this
    // object lets go of it, and then points back to the owner (whatever drove
    // it before may have gone since). Once the owner has let go of the actor,
    // this object has none.
    void BindActor(const std::shared_ptr<CPhyObj>& owner);
    // Releases an own actor, or lets go of a bound one.
    void ReleaseActor();
    // The world's key for this object while it lives.
    std::uint64_t GetId() const { return m_Id; }

private:
    sdk::IActor* GetBoundActor() const;
    // Makes this object known to the present world, once.
    void Register();

    CCollisionCallback m_CollisionCallback;
    sdk::IActor* m_Actor = nullptr;
    bool m_OwnsActor = true;
    std::weak_ptr<CPhyObj> m_ActorOwner; // of a bound actor
    std::uint64_t m_World = 0; // the serial of the world the actor is in
    std::uint64_t m_Id = 0;
};

} // namespace physics
