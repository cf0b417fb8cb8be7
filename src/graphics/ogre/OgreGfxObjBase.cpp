#include "graphics/ogre/OgreGfxObjBase.h"

#include <map>

#include <memory>
#include <OGRE/OgreAnimationState.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSkeletonInstance.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreTagPoint.h>
#include <OGRE/OgreTechnique.h>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "graphics/ogre/OgreAnimation.h"
#include "graphics/ogre/OgreConvert.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "graphics/ogre/OgreJoint.h"

namespace wrappers {

namespace {

std::map<const Ogre::Node*, COgreGfxObjBase*>& Registry()
{
    static std::map<const Ogre::Node*, COgreGfxObjBase*> registry;
    return registry;
}

COgreGfxObjBase& ObjectOf(const sds::CGfxObjPtr& object)
{
    SDS_ASSERT(object && "The object must exist");
    return static_cast<COgreGfxObjBase&>(*object);
}

} // namespace

void RegisterGfxObj(const Ogre::Node* node, COgreGfxObjBase* object)
{
    Registry()[node] = object;
}

COgreGfxObjBase* FindGfxObjByNode(const Ogre::Node* node)
{
    const auto found = Registry().find(node);
    return found == Registry().end() ? nullptr : found->second;
}

void UnregisterGfxObj(const Ogre::Node* node, const COgreGfxObjBase* object)
{
    const auto found = Registry().find(node);
    if (found != Registry().end() && found->second == object)
        Registry().erase(found);
}

void ClearGfxObjRegistry()
{
    Registry().clear();
}

COgreGfxObjBase::COgreGfxObjBase(Ogre::SceneNode* node)
    : m_pNode(node), m_pAttachNode(node), m_Scene(COgreGfxMgr::Get().GetSceneToken())
{
    RegisterGfxObj(m_pNode, this);
}

COgreGfxObjBase::COgreGfxObjBase(const sds::CGfxObjPtr&, Ogre::SceneNode* node) : COgreGfxObjBase(node) {}

COgreGfxObjBase::COgreGfxObjBase(const sds::CGfxObjPtr&, Ogre::SceneNode* node, Ogre::Entity* entity)
    : COgreGfxObjBase(node)
{
    SetEntity(entity);
}

COgreGfxObjBase::COgreGfxObjBase(Ogre::Entity* entity)
    : m_pEntity(entity), m_Scene(COgreGfxMgr::Get().GetSceneToken())
{
}

COgreGfxObjBase::~COgreGfxObjBase()
{
    // After a scene reset the node and the entity are gone with the scene.
    if (!m_Scene.expired()) {
        if (m_pEntity)
            DetachBoneChildren();
        if (m_pNode)
            UnregisterGfxObj(m_pNode, this);
        if (m_pAttachNode && m_pAttachNode != m_pNode)
            UnregisterGfxObj(m_pAttachNode, this);
        // Off its node or its bone, whichever holds it.
        if (m_pEntity)
            COgreGfxMgr::Get().DestroyEntity(m_pEntity);
        if (m_pAttachNode)
            ReleaseAttachNode();
    }
    m_pNode = nullptr;
    m_pAttachNode = nullptr;
    m_pEntity = nullptr;
    ReleaseAnimationsAndSkeleton();
    ReleaseOwnedResources();
}

void COgreGfxObjBase::DetachBoneChildren()
{
    if (!m_pEntity->hasSkeleton())
        return;
    // A copy: each detach changes the entity's list.
    const Ogre::Entity::ChildObjectList onBones = m_pEntity->getAttachedObjects();
    for (Ogre::MovableObject* movable : onBones) {
        if (COgreGfxObjBase* child = FindGfxObjByNode(movable->getParentNode()))
            DetachFromBone(sds::CGfxObjPtr(child));
    }
}

void COgreGfxObjBase::ReleaseAttachNode()
{
    Ogre::SceneNode* node = m_pAttachNode;
    // The child objects live on, out of the scene graph; nodes other code
    // hung here (cameras, lights, effects) stay where they are.
    std::vector<Ogre::Node*> childObjects;
    for (Ogre::Node* child : node->getChildren()) {
        if (FindGfxObjByNode(child))
            childObjects.push_back(child);
    }
    for (Ogre::Node* child : childObjects)
        node->removeChild(child);
    Ogre::SceneManager* scene = node->getCreator();
    if (node != scene->getRootSceneNode() && node->getChildren().empty() && node->getAttachedObjects().empty())
        scene->destroySceneNode(node);
}

void COgreGfxObjBase::OwnResource(const Ogre::ResourcePtr& resource)
{
    m_OwnedResources.push_back({resource->getCreator()->getResourceType(), resource->getName(), resource->getGroup()});
}

void COgreGfxObjBase::ReleaseOwnedResources()
{
    // The engine may be gone already when an object outlives the program's graphics.
    Ogre::ResourceGroupManager* groups = Ogre::ResourceGroupManager::getSingletonPtr();
    for (const COwnedResource& owned : m_OwnedResources) {
        if (groups)
            groups->_getResourceManager(owned.m_Type)->remove(owned.m_Name, owned.m_Group);
    }
    m_OwnedResources.clear();
}

Ogre::MaterialPtr COgreGfxObjBase::CloneMaterial(const std::string& name)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name);
    if (!material)
        throw sds::CException("Material does not exist: " + name);
    Ogre::MaterialPtr copy = material->clone(sds::MakeUniqueName(name));
    OwnResource(copy);
    return copy;
}

Ogre::Node& COgreGfxObjBase::Node() const
{
    SDS_ASSERT(m_pNode && "The object must have a node");
    return *m_pNode;
}

Ogre::Entity& COgreGfxObjBase::Entity() const
{
    SDS_ASSERT(m_pEntity && "Entity must exist");
    return *m_pEntity;
}

void COgreGfxObjBase::ReleaseNode()
{
    if (m_pNode)
        UnregisterGfxObj(m_pNode, this);
    if (m_pAttachNode)
        UnregisterGfxObj(m_pAttachNode, this);
    m_pNode = nullptr;
    m_pAttachNode = nullptr;
    SetSkeleton(sds::CSkeletonPtr());
}

void COgreGfxObjBase::SetEntity(Ogre::Entity* entity)
{
    m_pEntity = entity;
    if (m_pAttachNode && m_pEntity)
        m_pAttachNode->attachObject(m_pEntity);
}

void COgreGfxObjBase::BuildSkeletonView()
{
    if (!m_pNode || !m_pEntity || !m_pEntity->hasSkeleton())
        return;
    Ogre::SkeletonInstance* skeleton = m_pEntity->getSkeleton();
    skeleton->setBlendMode(Ogre::ANIMBLEND_CUMULATIVE);
    auto view = std::make_shared<sds::ISkeleton>();
    for (unsigned short handle = 0; handle < skeleton->getNumBones(); ++handle)
        view->AddJoint(sds::CJointPtr(new COgreJoint(skeleton->getBone(handle), m_pEntity)));
    SetSkeleton(view);
}

std::string COgreGfxObjBase::GetName() const
{
    if (m_pNode)
        return m_pNode->getName();
    return m_pEntity ? m_pEntity->getName() : std::string();
}

std::string COgreGfxObjBase::GetEntityName() const
{
    return m_pEntity ? m_pEntity->getName() : std::string();
}

bool COgreGfxObjBase::IsVisible() const
{
    return m_pEntity && m_pEntity->getVisible();
}

void COgreGfxObjBase::SetVisible(bool visible)
{
    if (m_pEntity)
        m_pEntity->setVisible(visible);
}

void COgreGfxObjBase::SetMaterial(const std::string& name, bool clone)
{
    if (clone)
        Entity().setMaterial(CloneMaterial(name));
    else
        Entity().setMaterialName(name);
}

void COgreGfxObjBase::SetSubEntityMaterial(std::uint16_t index, const std::string& name, bool clone)
{
    Ogre::SubEntity* sub = Entity().getSubEntity(index);
    if (clone)
        sub->setMaterial(CloneMaterial(name));
    else
        sub->setMaterialName(name);
}

unsigned COgreGfxObjBase::GetNumSubEntities() const
{
    return static_cast<unsigned>(Entity().getNumSubEntities());
}

std::string COgreGfxObjBase::GetSubEntityMaterialName(std::uint16_t index) const
{
    return Entity().getSubEntity(index)->getMaterialName();
}

void COgreGfxObjBase::SetSubEntityTexture(const std::string& texture, std::uint16_t SubEntity)
{
    // The texts name the conditions as the program has always reported them.
    if (!m_pEntity)
        throw std::runtime_error("m_pEntity && \"Entity must exist\"");
    if (SubEntity >= GetNumSubEntities())
        throw std::runtime_error("SubEntity < GetNumSubEntities() && \"Invalid index for subentity\"");
    Ogre::SubEntity* sub = m_pEntity->getSubEntity(SubEntity);
    if (!sub)
        throw std::runtime_error("m_pEntity->getSubEntity(SubEntity) && \"Entity must have at least one sub mesh\"");
    const Ogre::MaterialPtr& material = sub->getMaterial();
    if (!material)
        throw std::runtime_error(
            "!m_pEntity->getSubEntity(SubEntity)->getMaterial().isNull() && \"Sub mesh must have material\"");
    const Ogre::Technique* technique = material->getNumTechniques() > 0 ? material->getTechnique(0) : nullptr;
    Ogre::Pass* pass = technique && technique->getNumPasses() > 0 ? technique->getPass(0) : nullptr;
    if (!pass || pass->getNumTextureUnitStates() == 0)
        throw std::runtime_error("m_pEntity->getSubEntity(SubEntity)->getMaterial()->getTechnique(0)->getPass(0)->"
                                 "getTextureUnitState(0) && \"Material must have a texture unit and only one pass\"");
    pass->getTextureUnitState(0)->setTextureName(texture, Ogre::TEX_TYPE_2D);
}

void COgreGfxObjBase::SetSubEntityColour(std::uint16_t index, const sds::CFourFloats& colour)
{
    const Ogre::MaterialPtr& material = Entity().getSubEntity(index)->getMaterial();
    material->setDiffuse(colour.v[0], colour.v[1], colour.v[2], colour.v[3]);
    material->setAmbient(colour.v[0], colour.v[1], colour.v[2]);
}

sds::CBoundingBox COgreGfxObjBase::GetBoundingBox() const
{
    const Ogre::AxisAlignedBox& box = Entity().getBoundingBox();
    sds::CBoundingBox result;
    result.Reset(FromOgre(box.getMinimum()));
    result.Merge(FromOgre(box.getMaximum()));
    return result;
}

void COgreGfxObjBase::SetNormaliseNormals(bool)
{
    // The scene manager renormalises the normals of scaled objects by itself;
    // this engine version has no switch per entity.
    Entity();
}

std::uint16_t COgreGfxObjBase::GetNumChildren() const
{
    return static_cast<std::uint16_t>(Node().numChildren());
}

sds::CGfxObjPtr COgreGfxObjBase::GetChild(std::uint16_t index) const
{
    const auto& children = Node().getChildren();
    if (index >= children.size())
        return sds::CGfxObjPtr();
    return sds::CGfxObjPtr(FindGfxObjByNode(children[index]));
}

void COgreGfxObjBase::AddChild(const sds::CGfxObjPtr& child)
{
    Ogre::Node& node = ObjectOf(child).Node();
    if (node.getParent())
        node.getParent()->removeChild(&node);
    Node().addChild(&node);
}

void COgreGfxObjBase::RemoveChild(const sds::CGfxObjPtr& child)
{
    Node().removeChild(&ObjectOf(child).Node());
}

sds::CGfxObjPtr COgreGfxObjBase::GetParent() const
{
    const Ogre::Node* parent = Node().getParent();
    return parent ? sds::CGfxObjPtr(FindGfxObjByNode(parent)) : sds::CGfxObjPtr();
}

sds::CGfxObjPtr COgreGfxObjBase::CreateChild(const std::string& name, const std::string& mesh)
{
    return COgreGfxMgr::Get().CreateGfxObj(m_pAttachNode, name, mesh);
}

void COgreGfxObjBase::RemoveAllChildren()
{
    Node().removeAllChildren();
}

sds::CVector COgreGfxObjBase::GetPos() const
{
    return FromOgre(Node().getPosition());
}

sds::CVector COgreGfxObjBase::GetYawPitchRoll() const
{
    // The inverse of SetYawPitchRoll: angles about x, the turned y and the turned z.
    Ogre::Matrix3 rotation;
    Node().getOrientation().ToRotationMatrix(rotation);
    Ogre::Radian x, y, z;
    rotation.ToEulerAnglesXYZ(x, y, z);
    return sds::CVector(x.valueDegrees(), y.valueDegrees(), z.valueDegrees());
}

sds::CVector COgreGfxObjBase::GetWorldPos() const
{
    return FromOgre(Node()._getDerivedPosition());
}

sds::CQuaternion COgreGfxObjBase::GetWorldOrientation() const
{
    return FromOgre(Node()._getDerivedOrientation());
}

void COgreGfxObjBase::SetPos(const sds::CVector& pos)
{
    Node().setPosition(ToOgre(pos));
}

void COgreGfxObjBase::Rotate(const sds::CQuaternion& rotation)
{
    Node().rotate(ToOgre(rotation), Ogre::Node::TS_LOCAL);
}

void COgreGfxObjBase::SetYawPitchRoll(const sds::CVector& degrees)
{
    Ogre::Node& node = Node();
    node.setOrientation(Ogre::Quaternion::IDENTITY);
    node.pitch(Ogre::Degree(degrees.x), Ogre::Node::TS_LOCAL);
    node.yaw(Ogre::Degree(degrees.y), Ogre::Node::TS_LOCAL);
    node.roll(Ogre::Degree(degrees.z), Ogre::Node::TS_LOCAL);
}

void COgreGfxObjBase::Yaw(float degrees)
{
    Node().yaw(Ogre::Degree(degrees), Ogre::Node::TS_WORLD);
}

void COgreGfxObjBase::Pitch(float degrees)
{
    Node().pitch(Ogre::Degree(degrees), Ogre::Node::TS_WORLD);
}

void COgreGfxObjBase::Roll(float degrees)
{
    Node().roll(Ogre::Degree(degrees), Ogre::Node::TS_WORLD);
}

void COgreGfxObjBase::SetOrientation(const sds::CQuaternion& orientation)
{
    Node().setOrientation(ToOgre(orientation));
}

void COgreGfxObjBase::ResetOrientation()
{
    Node().resetOrientation();
}

sds::CQuaternion COgreGfxObjBase::GetOrientation() const
{
    return FromOgre(Node().getOrientation());
}

void COgreGfxObjBase::SetScale(const sds::CVector& scale)
{
    Node().setScale(ToOgre(scale));
}

sds::CVector COgreGfxObjBase::GetScale() const
{
    return FromOgre(Node().getScale());
}

sds::CVector COgreGfxObjBase::GetSize() const
{
    const Ogre::AxisAlignedBox& box = Entity().getBoundingBox();
    return FromOgre(box.getMaximum() - box.getMinimum());
}

void COgreGfxObjBase::AttachToBone(const sds::CGfxObjPtr& child, std::uint16_t boneHandle, const sds::CVector& offset,
                                   const sds::CQuaternion& rotation, bool positionFlag, bool orientationFlag)
{
    COgreGfxObjBase& other = ObjectOf(child);
    Ogre::Entity* childEntity = &other.Entity();
    SDS_ASSERT(Entity().hasSkeleton() && "The object must have a skeleton");
    m_pEntity->getSkeleton()->_updateTransforms();
    Ogre::Bone* bone = m_pEntity->getSkeleton()->getBone(boneHandle);
    const Ogre::Vector3 b = bone->_getDerivedPosition();
    const Ogre::Quaternion inverse = bone->_getDerivedOrientation().Inverse();
    const Ogre::Vector3 position = positionFlag ? ToOgre(offset) - inverse * b : inverse * ToOgre(offset);
    const Ogre::Quaternion orientation = orientationFlag ? inverse * ToOgre(rotation) : ToOgre(rotation);

    if (childEntity->isAttached())
        childEntity->detachFromParent();
    Ogre::TagPoint* tag = m_pEntity->attachObjectToBone(bone->getName(), childEntity, orientation, position);
    if (other.m_pNode && other.m_pNode != other.m_pAttachNode)
        UnregisterGfxObj(other.m_pNode, &other);
    other.m_pNode = tag;
    RegisterGfxObj(tag, &other);
}

void COgreGfxObjBase::DetachFromBone(const sds::CGfxObjPtr& child)
{
    COgreGfxObjBase& other = ObjectOf(child);
    if (!other.m_pEntity || !other.m_pEntity->isParentTagPoint() || !m_pEntity)
        return;
    m_pEntity->detachObjectFromBone(other.m_pEntity);
    // The engine takes the tag point back: the object returns to its own node.
    if (other.m_pNode != other.m_pAttachNode)
        UnregisterGfxObj(other.m_pNode, &other);
    other.m_pNode = other.m_pAttachNode;
    if (other.m_pAttachNode) {
        other.m_pAttachNode->attachObject(other.m_pEntity);
        RegisterGfxObj(other.m_pAttachNode, &other);
    }
}

void COgreGfxObjBase::UpdateAnimation()
{
    Ogre::Entity& entity = Entity();
    // Straight onto the skeleton: the entity itself recomputes once a frame only.
    if (entity.hasSkeleton() && entity.getAllAnimationStates())
        entity.getSkeleton()->setAnimationState(*entity.getAllAnimationStates());
    entity._updateAnimation();
}

void COgreGfxObjBase::UpdateTransform()
{
    if (m_pAttachNode)
        m_pAttachNode->_update(true, false);
}

void COgreGfxObjBase::PrintAnimationStates(const std::string& category)
{
    sds::ILogMgr* log = sds::ILogMgr::GetSingleton();
    if (category != "anim" || !log)
        return;
    log->LogMessage("Printing animation states for: " + GetName());
    if (!m_pEntity || !m_pEntity->getAllAnimationStates())
        return;
    for (const auto& entry : m_pEntity->getAllAnimationStates()->getAnimationStates()) {
        const Ogre::AnimationState* state = entry.second;
        log->LogMessage(state->getAnimationName() + " " + sds::ToString(state->getEnabled()) + " " +
                        sds::ToString(state->getWeight()) + " " + sds::ToString(state->getTimePosition()) + " " +
                        sds::ToString(state->getLength()) + " ");
    }
}

void COgreGfxObjBase::Update(const sds::CTiming& timing)
{
    AdvanceAnimations(timing.m_Elapsed);
    if (!m_pNode)
        return;
    // By index against the live list, which an update could change, with no
    // copy each frame. Nodes no object wraps (those of scene files and
    // cameras) are skipped.
    const Ogre::Node::ChildNodeMap& children = m_pNode->getChildren();
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (COgreGfxObjBase* object = FindGfxObjByNode(children[i]))
            sds::CGfxObjPtr(object)->Update(timing);
    }
}

sds::CAnimationPtr COgreGfxObjBase::MakeAnimation(const std::string& name)
{
    return sds::CAnimationPtr(new COgreAnimation(Entity().getAnimationState(name)));
}

} // namespace wrappers
