#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "physics/IPhyObj.h"

namespace physics {

class CPhyObj;

namespace sdk {
class IJoint;
}

// A jointed body of several actors loaded from a physics-editor file, seen as
// one object placed where its root bone is. Each actor of the file's skeleton
// drives one bone of it; an actor has a name of its own, and its bone the
// name that the skeleton (and the graphics) give it. Every lookup here takes
// the bone name, but HasActor, which takes the actor's own name.
class IPhyRagDoll : public IPhyObj
{
public:
    // Puts the named bone's actor at that world pose.
    virtual void SetBonePose(const std::string& name, const sds::CVector& position,
                             const sds::CQuaternion& orientation) = 0;
    // Gives the named bone's actor that world velocity, turning it no more: a
    // bone posed from outside moves as its poses do.
    virtual void SetBoneVelocity(const std::string& name, const sds::CVector& velocity) = 0;
    virtual sds::CQuaternion GetBoneOrientation(const std::string& name) const = 0;
    virtual sds::CVector GetBonePos(const std::string& name) const = 0;
    // A bone the rag doll drives (a bone name).
    virtual bool HasBone(const std::string& name) const = 0;
    // An actor of the rag doll's skeleton of that name (an actor name).
    virtual bool HasActor(const std::string& name) const = 0;
    virtual void GetBoneNames(std::vector<std::string>& names) const = 0;

    virtual std::uint16_t GetBoneCount() const = 0;
    // Throws std::out_of_range for an index past the count.
    virtual const std::string& GetBoneName(std::uint16_t index) const = 0;
    // The bone's physical object; throws Zavuvi::CException "No bone found: <name>".
    virtual std::shared_ptr<CPhyObj> GetBone(const std::string& name) const = 0;
    // The live joints between the rag doll's actors and to the world.
    virtual std::uint16_t GetJointCount() const = 0;
    // Throws std::out_of_range for an index past the count.
    virtual sdk::IJoint* GetJoint(std::uint16_t index) const = 0;
};

} // namespace physics
