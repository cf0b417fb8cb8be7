#include "graphics/memory/MemGfxObj.h"

#include <algorithm>

#include <memory>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "graphics/memory/MemAnimation.h"
#include "graphics/memory/MemGfxMgr.h"
#include "graphics/memory/MemJoint.h"

namespace sds {

CMemGfxObj::CMemGfxObj(CMemGfxMgr& mgr, mem::CNode* node, const std::shared_ptr<mem::CEntity>& entity)
    : m_Mgr(mgr), m_Node(node), m_AttachNode(node), m_Entity(entity), m_Scene(mgr.GetSceneToken())
{
    if (m_Node) {
        m_Mgr.RegisterGfxObj(m_Node, this);
        if (m_Entity) {
            m_Node->m_Attached.push_back(m_Entity);
            m_Entity->m_Node = m_Node;
            mem::PosesChanged();
            if (!m_Entity->m_Bones.empty()) {
                auto skeleton = std::make_shared<ISkeleton>();
                for (std::size_t i = 0; i < m_Entity->m_Bones.size(); ++i)
                    skeleton->AddJoint(CJointPtr(new CMemJoint(m_Entity, static_cast<std::uint16_t>(i))));
                SetSkeleton(skeleton);
            }
        }
    }
}

CMemGfxObj::~CMemGfxObj()
{
    // Nodes of a scene that was reset since are gone, and maybe the manager:
    // leave them alone.
    if (m_Scene.expired()) {
        ReleaseAnimationsAndSkeleton();
        return;
    }
    if (m_Entity)
        DetachBoneChildren();
    if (m_Node)
        m_Mgr.UnregisterGfxObj(m_Node, this);
    if (m_AttachNode && m_AttachNode != m_Node)
        m_Mgr.UnregisterGfxObj(m_AttachNode, this);
    if (m_Entity)
        m_Mgr.DestroyEntity(m_Entity);
    // The tag point of a bone goes with what hung on it.
    if (m_Node && m_Node != m_AttachNode)
        m_Mgr.DestroyNode(m_Node);
    if (m_AttachNode)
        ReleaseAttachNode();
    ReleaseAnimationsAndSkeleton();
    for (const std::string& mesh : m_OwnedMeshes)
        m_Mgr.RemoveMesh(mesh);
    for (const std::string& material : m_OwnedMaterials)
        m_Mgr.RemoveMaterial(material);
}

void CMemGfxObj::DetachBoneChildren()
{
    for (CMemGfxObj* child : m_Mgr.FindObjectsOnBonesOf(*m_Entity))
        DetachFromBone(CGfxObjPtr(child));
}

void CMemGfxObj::ReleaseAttachNode()
{
    mem::CNode* node = m_AttachNode;
    // The child objects live on, out of the scene graph; nodes other code hung
    // here stay where they are.
    const std::vector<mem::CNode*> children = node->m_Children;
    for (mem::CNode* child : children) {
        if (m_Mgr.FindGfxObjByNode(child))
            node->RemoveChild(child);
    }
    if (node != m_Mgr.GetRootNode() && node->m_Children.empty() && node->m_Attached.empty())
        m_Mgr.DestroyNode(node);
}

std::string CMemGfxObj::CloneMaterial(const std::string& name)
{
    const std::string copy = MakeUniqueName(name);
    m_Mgr.CopyMaterial(name, copy);
    OwnMaterial(copy);
    return copy;
}

bool CMemGfxObj::HasOwnNode() const
{
    return m_Node && m_Node == m_AttachNode && m_Mgr.FindGfxObjByNode(m_Node) == this;
}

mem::CNode& CMemGfxObj::Node() const
{
    SDS_ASSERT(m_Node && "The object must have a node");
    return *m_Node;
}

mem::CEntity& CMemGfxObj::Entity() const
{
    SDS_ASSERT(m_Entity && "Entity must exist");
    return *m_Entity;
}

std::string CMemGfxObj::GetName() const
{
    if (m_Node)
        return m_Node->m_Name;
    return m_Entity ? m_Entity->m_Name : std::string();
}

void CMemGfxObj::SetVisible(bool visible)
{
    if (m_Entity)
        m_Entity->m_Visible = visible;
}

void CMemGfxObj::SetMaterial(const std::string& name, bool clone)
{
    const std::string material = clone ? CloneMaterial(name) : name;
    for (std::string& each : Entity().m_Materials)
        each = material;
}

void CMemGfxObj::SetSubEntityMaterial(std::uint16_t index, const std::string& name, bool clone)
{
    SDS_ASSERT(index < GetNumSubEntities() && "Invalid index for subentity");
    Entity().m_Materials[index] = clone ? CloneMaterial(name) : name;
}

unsigned CMemGfxObj::GetNumSubEntities() const
{
    return static_cast<unsigned>(Entity().m_Materials.size());
}

std::string CMemGfxObj::GetSubEntityMaterialName(std::uint16_t index) const
{
    SDS_ASSERT(index < GetNumSubEntities() && "Invalid index for subentity");
    return Entity().m_Materials[index];
}

void CMemGfxObj::SetSubEntityTexture(const std::string& texture, std::uint16_t SubEntity)
{
    if (!m_Entity)
        throw std::runtime_error("m_pEntity && \"Entity must exist\"");
    if (SubEntity >= GetNumSubEntities())
        throw std::runtime_error("SubEntity < GetNumSubEntities() && \"Invalid index for subentity\"");
    const mem::CMaterial* material = m_Mgr.GetMaterial(m_Entity->m_Materials[SubEntity]);
    if (!material)
        throw std::runtime_error(
            "!m_pEntity->getSubEntity(SubEntity)->getMaterial().isNull() && \"Sub mesh must have material\"");
    if (!material->m_HasTextureUnit)
        throw std::runtime_error("m_pEntity->getSubEntity(SubEntity)->getMaterial()->getTechnique(0)->getPass(0)->"
                                 "getTextureUnitState(0) && \"Material must have a texture unit and only one pass\"");
    const_cast<mem::CMaterial*>(material)->m_Texture = texture;
}

void CMemGfxObj::SetSubEntityColour(std::uint16_t index, const CFourFloats& colour)
{
    const mem::CMaterial* material = m_Mgr.GetMaterial(GetSubEntityMaterialName(index));
    SDS_ASSERT(material && "Sub mesh must have material");
    mem::CMaterial* changed = const_cast<mem::CMaterial*>(material);
    changed->m_Diffuse = colour;
    changed->m_Ambient = CVector(colour.v[0], colour.v[1], colour.v[2]);
}

CBoundingBox CMemGfxObj::GetBoundingBox() const
{
    const mem::CEntity& entity = Entity();
    const float radius = entity.m_Mesh.m_BoneBoundingRadius;
    if (radius <= 0.0f || entity.m_Bones.size() < 2)
        return entity.m_Mesh.m_Box;
    // Around the posed bones, as the engine's box of a skinned rope.
    CBoundingBox box;
    for (std::size_t handle = 1; handle < entity.m_Bones.size(); ++handle) {
        const CVector bone = entity.GetBoneWorldPos(handle);
        for (const CVector& corner : {bone - CVector(radius, radius, radius), bone + CVector(radius, radius, radius)}) {
            if (box.m_Empty)
                box.Reset(corner);
            else
                box.Merge(corner);
        }
    }
    return box;
}

void CMemGfxObj::SetNormaliseNormals(bool normalise)
{
    Entity().m_NormaliseNormals = normalise;
}

std::uint16_t CMemGfxObj::GetNumChildren() const
{
    return static_cast<std::uint16_t>(Node().m_Children.size());
}

CGfxObjPtr CMemGfxObj::GetChild(std::uint16_t index) const
{
    if (index >= Node().m_Children.size())
        return CGfxObjPtr();
    return CGfxObjPtr(m_Mgr.FindGfxObjByNode(Node().m_Children[index]));
}

void CMemGfxObj::AddChild(const CGfxObjPtr& child)
{
    CMemGfxObj& other = static_cast<CMemGfxObj&>(*child);
    Node().AddChild(&other.Node());
}

void CMemGfxObj::RemoveChild(const CGfxObjPtr& child)
{
    Node().RemoveChild(&static_cast<CMemGfxObj&>(*child).Node());
}

CGfxObjPtr CMemGfxObj::GetParent() const
{
    if (!Node().m_Parent)
        return CGfxObjPtr();
    return CGfxObjPtr(m_Mgr.FindGfxObjByNode(Node().m_Parent));
}

CGfxObjPtr CMemGfxObj::CreateChild(const std::string& name, const std::string& mesh)
{
    return m_Mgr.CreateGfxObj(m_AttachNode, name, mesh);
}

void CMemGfxObj::RemoveAllChildren()
{
    Node().RemoveAllChildren();
}

void CMemGfxObj::Rotate(const CQuaternion& rotation)
{
    Node().m_Orientation = Node().m_Orientation * mem::Normalised(rotation);
    mem::PosesChanged();
}

void CMemGfxObj::RotateInWorld(const CQuaternion& rotation)
{
    const CQuaternion world = Node().GetWorldOrientation();
    Node().m_Orientation = Node().m_Orientation * world.Inverse() * mem::Normalised(rotation) * world;
    mem::PosesChanged();
}

void CMemGfxObj::SetYawPitchRoll(const CVector& degrees)
{
    CQuaternion& orientation = Node().m_Orientation;
    orientation = CQuaternion::IDENTITY;
    orientation = orientation * mem::FromAngleAxisDegrees(degrees.x, CVector::UNIT_X);
    orientation = orientation * mem::FromAngleAxisDegrees(degrees.y, CVector::UNIT_Y);
    orientation = orientation * mem::FromAngleAxisDegrees(degrees.z, CVector::UNIT_Z);
    mem::PosesChanged();
}

CVector CMemGfxObj::GetSize() const
{
    const CBoundingBox box = GetBoundingBox();
    return box.m_Max - box.m_Min;
}

void CMemGfxObj::AttachToBone(const CGfxObjPtr& child, std::uint16_t boneHandle, const CVector& offset,
                              const CQuaternion& rotation, bool positionFlag, bool orientationFlag)
{
    CMemGfxObj& other = static_cast<CMemGfxObj&>(*child);
    SDS_ASSERT(other.m_Entity && "Entity must exist");
    SDS_ASSERT(boneHandle < Entity().m_Bones.size() && "The skeleton must have the bone");
    const CVector b = m_Entity->GetBoneWorldPos(boneHandle);
    const CQuaternion inverse = m_Entity->GetBoneWorldOrientation(boneHandle).Inverse();

    if (other.m_Entity->m_Node)
        other.m_Entity->m_Node->Detach(other.m_Entity);
    mem::CNode* tag = m_Mgr.CreateTagPoint();
    tag->m_TagOwner = m_Entity;
    tag->m_TagBone = boneHandle;
    tag->m_Pos = positionFlag ? offset - inverse * b : inverse * offset;
    tag->m_Orientation = orientationFlag ? inverse * rotation : rotation;
    tag->m_Attached.push_back(other.m_Entity);
    other.m_Entity->m_Node = tag;

    // A tag point it hung on before goes, as the engine's does.
    if (other.m_Node && other.m_Node != other.m_AttachNode) {
        m_Mgr.UnregisterGfxObj(other.m_Node, &other);
        m_Mgr.DestroyNode(other.m_Node);
    }
    other.m_Node = tag;
    m_Mgr.RegisterGfxObj(tag, &other);
    mem::PosesChanged();
}

void CMemGfxObj::DetachFromBone(const CGfxObjPtr& child)
{
    CMemGfxObj& other = static_cast<CMemGfxObj&>(*child);
    mem::CNode* tag = other.m_Node;
    if (!other.m_Entity || !tag || tag->m_TagOwner != m_Entity)
        return;
    tag->Detach(other.m_Entity);
    m_Mgr.UnregisterGfxObj(tag, &other);
    m_Mgr.DestroyNode(tag);
    // Back on its own node, where it hung before.
    other.m_Node = other.m_AttachNode;
    if (other.m_AttachNode) {
        other.m_AttachNode->m_Attached.push_back(other.m_Entity);
        other.m_Entity->m_Node = other.m_AttachNode;
        m_Mgr.RegisterGfxObj(other.m_AttachNode, &other);
    }
    mem::PosesChanged();
}

void CMemGfxObj::UpdateAnimation()
{
    Entity().ApplyAnimations();
}

void CMemGfxObj::PrintAnimationStates(const std::string& category)
{
    ILogMgr* log = ILogMgr::GetSingleton();
    if (category != "anim" || !log)
        return;
    log->LogMessage("Printing animation states for: " + GetName());
    if (!m_Entity)
        return;
    for (const auto& entry : m_Entity->m_States) {
        const mem::CAnimationState& state = entry.second;
        log->LogMessage(state.m_Name + " " + ToString(state.m_Enabled) + " " + ToString(state.m_Weight) + " " +
                        ToString(state.m_Time) + " " + ToString(state.m_Length) + " ");
    }
}

void CMemGfxObj::Update(const CTiming& timing)
{
    AdvanceAnimations(timing.m_Elapsed);
    if (!m_Node)
        return;
    // As the engine's objects walk them. Nodes that no object wraps are skipped.
    const std::vector<mem::CNode*>& children = m_Node->m_Children;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (CMemGfxObj* object = m_Mgr.FindGfxObjByNode(children[i]))
            CGfxObjPtr(object)->Update(timing);
    }
}

CAnimationPtr CMemGfxObj::MakeAnimation(const std::string& name)
{
    Entity();
    return CAnimationPtr(new CMemAnimation(m_Entity, name));
}

} // namespace sds
