#pragma once

#include <memory>

#include "graphics/IJoint.h"
#include "graphics/memory/MemScene.h"

namespace sds {

// A bone of an in-memory mesh instance.
class CMemJoint : public IJoint
{
public:
    CMemJoint(const std::shared_ptr<mem::CEntity>& entity, std::uint16_t handle);

    std::string GetParentName() const override;
    CQuaternion GetInitialOrientation() const override { return Bone().m_BindOrientation; }
    bool IsRoot() const override { return Bone().m_Parent < 0; }
    CVector GetPos() const override { return Bone().m_Pos; }
    void SetPos(const CVector& pos) override
    {
        Bone().m_Pos = pos;
        mem::PosesChanged();
    }
    CQuaternion GetOrientation() const override { return Bone().m_Orientation; }
    void SetOrientation(const CQuaternion& orientation) override
    {
        Bone().m_Orientation = orientation;
        mem::PosesChanged();
    }
    void SetManuallyControlled(bool manual) override { Bone().m_Manual = manual; }
    std::string GetName() const override { return Bone().m_Name; }
    std::uint16_t GetHandle() const override { return m_Handle; }
    CQuaternion GetWorldOrientation() const override { return m_Entity->GetBoneWorldOrientation(m_Handle); }
    CVector GetWorldPos() const override { return m_Entity->GetBoneWorldPos(m_Handle); }
    CQuaternion GetParentWorldOrientation() const override;
    void Rotate(const CQuaternion& rotation, int space) override;

private:
    mem::CBone& Bone() const { return m_Entity->m_Bones[m_Handle]; }

    std::shared_ptr<mem::CEntity> m_Entity;
    std::uint16_t m_Handle;
};

} // namespace sds
