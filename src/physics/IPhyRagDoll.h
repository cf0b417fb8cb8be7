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
// one object placed where its root bone is. Bones are named actors of the file.
class IPhyRagDoll : public IPhyObj
{
public:
    // Puts the named bone's actor at that world pose.
    virtual void SetBonePose(const std::string& name, const sds::CVector& position,
                             const sds::CQuaternion& orientation) = 0;
    virtual sds::CQuaternion GetBoneOrientation(const std::string& name) const = 0;
    virtual sds::CVector GetBonePos(const std::string& name) const = 0;
    // A bone the rag doll drives (the file's bones that make up its actors).
    virtual bool HasBone(const std::string& name) const = 0;
    // Any actor of the file's skeleton of that name.
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
