#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/IJoint.h"
#include "jumper/VisObj.h"

namespace physics {
class IPhyRagDoll;
}

namespace sds {

// A skinned model bound to a physical rag doll. Animation-driven, each frame
// poses the rag doll's bones where the skeleton's bones are; physics-driven,
// turns the skeleton's bones to the rag doll's and moves the model to it.
class CRagDollObj : public CVisObj
{
public:
    // Throws std::logic_error for a model without a skeleton. Poses the rag
    // doll from the skeleton at once.
    CRagDollObj(const CGfxObjPtr& gfxObj, const std::shared_ptr<physics::IPhyRagDoll>& ragDoll, bool physicsDriven);
    ~CRagDollObj() override;

    void Update(const CTiming& timing) override;
    // From now on physics drives the model; there is no way back.
    void SwitchToPhysics();
    // Each physical bone takes its skeleton bone's pose in the world; a second
    // call changes nothing. The bone moves as its skeleton bone did since the
    // last pose, `elapsed` seconds ago; it stands still at its first pose or
    // without elapsed time.
    void PosePhysicsFromSkeleton(float elapsed = 0.0f);

    bool IsPhysicsDriven() const { return m_PhysicsDriven; }

private:
    struct CBone
    {
        CJointPtr m_Joint;
        bool m_HasPhysicsBone = false;
        bool m_Posed = false;
        CVector m_PosedAt; // in the world, at the last pose
        std::vector<std::shared_ptr<CBone>> m_Children;
    };

    // Orients the bone (in the model's space) as its physical bone is in the
    // world, or keeps it straight on its parent; then its children.
    void UpdateBone(const CBone& bone, const CQuaternion& toModel, const CQuaternion& parentOrientation);

    std::shared_ptr<physics::IPhyRagDoll> m_PhyRagDoll;
    std::shared_ptr<CBone> m_RootBone;
    std::vector<std::shared_ptr<CBone>> m_Bones; // in the skeleton's order
    bool m_PhysicsDriven;
};

} // namespace sds
