#pragma once

#include <cstdint>
#include <vector>

#include "core/Vector.h"
#include "physics/sdk/MaterialDesc.h"

namespace physics::sdk {

class IActor;
class IJoint;
struct CActorDesc;
struct CJointDesc;

// One simulated world. Reports of a step (contacts, triggers) are handed to the
// scene's report objects inside FetchResults, after the step.
class IScene
{
public:
    // Null, with the reason sent to the output stream, when the descriptor is not valid.
    virtual IActor* CreateActor(const CActorDesc& desc) = 0;
    // The actor's joints stay, unbound, until they are released.
    virtual void ReleaseActor(IActor& actor) = 0;
    virtual const std::vector<IActor*>& GetActors() const = 0;

    virtual IJoint* CreateJoint(const CJointDesc& desc) = 0;
    virtual void ReleaseJoint(IJoint& joint) = 0;

    // Material 0 is the default material; every shape starts with it.
    virtual std::uint16_t CreateMaterial(const CMaterialDesc& desc) = 0;
    virtual void SetMaterial(std::uint16_t index, const CMaterialDesc& desc) = 0;
    virtual CMaterialDesc GetMaterial(std::uint16_t index) const = 0;
    virtual std::uint16_t GetMaterialCount() const = 0;

    virtual sds::CVector GetGravity() const = 0;
    virtual void SetGravity(const sds::CVector& gravity) = 0;

    // EPairFlag bits of two actors; they add to those of the actors' groups.
    virtual void SetActorPairFlags(IActor& first, IActor& second, std::uint32_t flags) = 0;
    virtual std::uint32_t GetActorPairFlags(IActor& first, IActor& second) const = 0;
    virtual void SetActorGroupPairFlags(std::uint16_t first, std::uint16_t second, std::uint32_t flags) = 0;
    virtual std::uint32_t GetActorGroupPairFlags(std::uint16_t first, std::uint16_t second) const = 0;

    // One step of `elapsed` seconds.
    virtual void Simulate(float elapsed) = 0;
    // True once the step's results are in; the reports run here.
    virtual bool FetchResults(bool block) = 0;

protected:
    ~IScene() = default; // released through ISdk::ReleaseScene
};

} // namespace physics::sdk
