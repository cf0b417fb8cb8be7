#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/IGfxObj.h"
#include "graphics/memory/MemScene.h"

namespace sds {

class CMemGfxMgr;

// A graphic object of the in-memory scene: a node with an optional mesh
// instance, registered under its node like the rendering engine's objects.
// Like them it owns its node (the root's excepted) and the meshes and material
// copies handed to it, and lets them go with its last reference.
class CMemGfxObj : public IGfxObj
{
public:
    CMemGfxObj(CMemGfxMgr& mgr, mem::CNode* node, const std::shared_ptr<mem::CEntity>& entity);
    ~CMemGfxObj() override;

    std::string GetName() const override;
    std::string GetEntityName() const override { return m_Entity ? m_Entity->m_Name : std::string(); }
    bool IsVisible() const override { return m_Entity && m_Entity->m_Visible; }
    void SetVisible(bool visible) override;
    void SetMaterial(const std::string& name, bool clone) override;
    void SetSubEntityMaterial(std::uint16_t index, const std::string& name, bool clone) override;
    unsigned GetNumSubEntities() const override;
    std::string GetSubEntityMaterialName(std::uint16_t index) const override;
    void SetSubEntityTexture(const std::string& texture, std::uint16_t index) override;
    void SetSubEntityColour(std::uint16_t index, const CFourFloats& colour) override;
    CBoundingBox GetBoundingBox() const override;
    void SetNormaliseNormals(bool normalise) override;

    std::uint16_t GetNumChildren() const override;
    CGfxObjPtr GetChild(std::uint16_t index) const override;
    void AddChild(const CGfxObjPtr& child) override;
    void RemoveChild(const CGfxObjPtr& child) override;
    CGfxObjPtr GetParent() const override;
    CGfxObjPtr CreateChild(const std::string& name, const std::string& mesh) override;
    void RemoveAllChildren() override;
    CVector GetPos() const override { return Node().m_Pos; }
    CVector GetYawPitchRoll() const override { return mem::GetPitchYawRoll(Node().m_Orientation); }
    CVector GetWorldPos() const override { return Node().GetWorldPos(); }
    CQuaternion GetWorldOrientation() const override { return Node().GetWorldOrientation(); }
    void SetPos(const CVector& pos) override
    {
        Node().m_Pos = pos;
        mem::PosesChanged();
    }
    void Rotate(const CQuaternion& rotation) override;
    void SetYawPitchRoll(const CVector& degrees) override;
    void Yaw(float degrees) override { RotateInWorld(mem::FromAngleAxisDegrees(degrees, CVector::UNIT_Y)); }
    void Pitch(float degrees) override { RotateInWorld(mem::FromAngleAxisDegrees(degrees, CVector::UNIT_X)); }
    void Roll(float degrees) override { RotateInWorld(mem::FromAngleAxisDegrees(degrees, CVector::UNIT_Z)); }
    void SetOrientation(const CQuaternion& orientation) override
    {
        Node().m_Orientation = orientation;
        mem::PosesChanged();
    }
    void ResetOrientation() override
    {
        Node().m_Orientation = CQuaternion::IDENTITY;
        mem::PosesChanged();
    }
    CQuaternion GetOrientation() const override { return Node().m_Orientation; }
    void SetScale(const CVector& scale) override
    {
        Node().m_Scale = scale;
        mem::PosesChanged();
    }
    CVector GetScale() const override { return Node().m_Scale; }
    CVector GetSize() const override;
    void AttachToBone(const CGfxObjPtr& child, std::uint16_t boneHandle, const CVector& offset,
                      const CQuaternion& rotation, bool positionFlag, bool orientationFlag) override;
    void DetachFromBone(const CGfxObjPtr& child) override;
    void UpdateAnimation() override;
    void UpdateTransform() override {}
    void PrintAnimationStates(const std::string& category) override;
    void Update(const CTiming& timing) override;

    mem::CNode* GetNode() const { return m_Node; }
    mem::CNode* GetAttachNode() const { return m_AttachNode; }
    // Registered under a scene node of its own (not a bone's tag point).
    bool HasOwnNode() const;
    const std::shared_ptr<mem::CEntity>& GetEntity() const { return m_Entity; }
    // The generated mesh or the material copy goes with the object.
    void OwnMesh(const std::string& name) { m_OwnedMeshes.push_back(name); }
    void OwnMaterial(const std::string& name) { m_OwnedMaterials.push_back(name); }

protected:
    CAnimationPtr MakeAnimation(const std::string& name) override;

private:
    mem::CNode& Node() const;
    mem::CEntity& Entity() const;
    void RotateInWorld(const CQuaternion& rotation);
    std::string CloneMaterial(const std::string& name);
    void DetachBoneChildren();
    void ReleaseAttachNode();

    CMemGfxMgr& m_Mgr;
    mem::CNode* m_Node;
    mem::CNode* m_AttachNode;
    std::shared_ptr<mem::CEntity> m_Entity;
    // The scene this object was made in; once it expires its nodes, and maybe
    // the manager, are gone.
    std::weak_ptr<const bool> m_Scene;
    std::vector<std::string> m_OwnedMeshes;
    std::vector<std::string> m_OwnedMaterials;
};

typedef boost::intrusive_ptr<CMemGfxObj> CMemGfxObjPtr;

} // namespace sds
