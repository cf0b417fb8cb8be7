#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "physics/IPhyRagDoll.h"

namespace Zavuvi {
class PhysicalObject;
class PhysicsEntity;
struct SkeletonData;
struct ZavuviActor;
}

namespace physics {

namespace sdk {
class IActor;
}

// The rag doll of one skeleton of an inserted physics-editor file: a view onto
// the file's actors and joints, which the inserted object holds. Its position
// is the root bone's, less the root's place in the file.
class CPhyRagDoll : public IPhyRagDoll
{
public:
    CPhyRagDoll(std::shared_ptr<const Zavuvi::PhysicsEntity> file, std::shared_ptr<Zavuvi::SkeletonData> skeleton,
                std::shared_ptr<Zavuvi::PhysicalObject> model);
    ~CPhyRagDoll() override;

    sds::CVector GetPos() const override;
    sds::CQuaternion GetOrientation() const override;
    void SetOrientation(const sds::CQuaternion& orientation) override;
    void SetPos(const sds::CVector& position) override;

    void SetBonePose(const std::string& name, const sds::CVector& position,
                     const sds::CQuaternion& orientation) override;
    void SetBoneVelocity(const std::string& name, const sds::CVector& velocity) override;
    sds::CQuaternion GetBoneOrientation(const std::string& name) const override;
    sds::CVector GetBonePos(const std::string& name) const override;
    bool HasBone(const std::string& name) const override;
    bool HasActor(const std::string& name) const override;
    void GetBoneNames(std::vector<std::string>& names) const override;
    std::uint16_t GetBoneCount() const override;
    const std::string& GetBoneName(std::uint16_t index) const override;
    std::shared_ptr<CPhyObj> GetBone(const std::string& name) const override;
    std::uint16_t GetJointCount() const override;
    sdk::IJoint* GetJoint(std::uint16_t index) const override;

    // Adds a bone the rag doll drives; the file store names them while it inserts the file.
    void AddBoneName(const std::string& name);
    // Once the file is in: takes the skeleton's actors and names the root, the
    // bone that drives the skeleton (or else its first actor).
    void InitRootName();

    std::uint16_t GetActorCount() const;
    // The bone name of the actor of that index, which GetBone takes; throws
    // std::out_of_range for an index past the count.
    const std::string& GetActorName(std::uint16_t index) const;
    std::shared_ptr<CPhyObj> GetRootBone() const;
    const std::string& GetRootName() const { return m_RootName; }

    // Releases every live joint of the rag doll.
    void ReleaseJoints();
    // Puts every actor back at its place in the file relative to the root
    // where the root is now, and makes the file's joints again.
    void ResetPose();
    // Welds every other actor of the rag doll to `actor` as they lie at rest
    // around the root. Throws std::runtime_error when the scene refuses a weld.
    void AttachTo(sdk::IActor& actor);
    void EnableGravity(bool enable);
    void EnableCollision(bool enable);
    // Sweeps each actor through its step, so that a doll thrown at the ground
    // faster than its thinnest bone per step does not pass through thin ground.
    void EnableContinuousCollision(bool enable);
    void SetMaterial(std::uint16_t material);
    void SetLinearVelocity(const sds::CVector& velocity);
    // Every actor's contacts go to the root bone's collision handler.
    void ShareRootCallback();

private:
    struct CActor
    {
        std::string m_Name; // of its bone
        std::shared_ptr<Zavuvi::ZavuviActor> m_Actor;
    };

    std::vector<sdk::IJoint*> LiveJoints() const;
    bool IsLiveJoint(const sdk::IJoint& joint) const;
    bool IsOwnActor(const sdk::IActor* actor) const;
    // Places the actors at rest around the root; sets the file frame (P, R) it used.
    void PlaceAtRest(sds::CVector& position, sds::CQuaternion& orientation);

    std::vector<std::string> m_BoneNames;
    std::shared_ptr<Zavuvi::SkeletonData> m_Bones;
    std::shared_ptr<const Zavuvi::PhysicsEntity> m_FileData;
    std::shared_ptr<Zavuvi::PhysicalObject> m_Model;
    std::vector<CActor> m_Actors;
    std::set<std::string> m_ActorNames; // the file's own names of those actors
    std::string m_RootName;
};

} // namespace physics
