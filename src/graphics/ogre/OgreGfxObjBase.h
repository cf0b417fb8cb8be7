#pragma once

#include <memory>
#include <string>
#include <vector>

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreResource.h>
#include <OGRE/OgreSceneNode.h>

#include "graphics/IGfxObj.h"

namespace wrappers {

class COgreGfxObjBase;

// The static registry from scene nodes (and tag points) to the objects that
// wrap them. It holds raw pointers: objects register and unregister themselves.
void RegisterGfxObj(const Ogre::Node* node, COgreGfxObjBase* object);
COgreGfxObjBase* FindGfxObjByNode(const Ogre::Node* node);
// Erases the entry only while it still names this object.
void UnregisterGfxObj(const Ogre::Node* node, const COgreGfxObjBase* object);
void ClearGfxObjRegistry();

// A graphic object over a scene node with an optional entity. The object owns
// the scene node it is built on (the root's excepted) and the resources handed
// to it: releasing the last reference hands the objects hung on its bones back
// to their own nodes, destroys the entity, takes the child objects off the
// node and destroys the node, unless other code hung something of its own
// there; then the owned meshes, skeletons and material copies go.
class COgreGfxObjBase : public sds::IGfxObj
{
public:
    explicit COgreGfxObjBase(Ogre::SceneNode* node);
    COgreGfxObjBase(const sds::CGfxObjPtr& parent, Ogre::SceneNode* node);
    COgreGfxObjBase(const sds::CGfxObjPtr& parent, Ogre::SceneNode* node, Ogre::Entity* entity);
    ~COgreGfxObjBase() override;

    std::string GetName() const override;
    std::string GetEntityName() const override;
    bool IsVisible() const override;
    void SetVisible(bool visible) override;
    void SetMaterial(const std::string& name, bool clone) override;
    void SetSubEntityMaterial(std::uint16_t index, const std::string& name, bool clone) override;
    unsigned GetNumSubEntities() const override;
    std::string GetSubEntityMaterialName(std::uint16_t index) const override;
    void SetSubEntityTexture(const std::string& texture, std::uint16_t index) override;
    void SetSubEntityColour(std::uint16_t index, const sds::CFourFloats& colour) override;
    sds::CBoundingBox GetBoundingBox() const override;
    void SetNormaliseNormals(bool normalise) override;

    std::uint16_t GetNumChildren() const override;
    sds::CGfxObjPtr GetChild(std::uint16_t index) const override;
    void AddChild(const sds::CGfxObjPtr& child) override;
    void RemoveChild(const sds::CGfxObjPtr& child) override;
    sds::CGfxObjPtr GetParent() const override;
    sds::CGfxObjPtr CreateChild(const std::string& name, const std::string& mesh) override;
    void RemoveAllChildren() override;
    sds::CVector GetPos() const override;
    sds::CVector GetYawPitchRoll() const override;
    sds::CVector GetWorldPos() const override;
    sds::CQuaternion GetWorldOrientation() const override;
    void SetPos(const sds::CVector& pos) override;
    void Rotate(const sds::CQuaternion& rotation) override;
    void SetYawPitchRoll(const sds::CVector& degrees) override;
    void Yaw(float degrees) override;
    void Pitch(float degrees) override;
    void Roll(float degrees) override;
    void SetOrientation(const sds::CQuaternion& orientation) override;
    void ResetOrientation() override;
    sds::CQuaternion GetOrientation() const override;
    void SetScale(const sds::CVector& scale) override;
    sds::CVector GetScale() const override;
    sds::CVector GetSize() const override;
    void AttachToBone(const sds::CGfxObjPtr& child, std::uint16_t boneHandle, const sds::CVector& offset,
                      const sds::CQuaternion& rotation, bool positionFlag, bool orientationFlag) override;
    void DetachFromBone(const sds::CGfxObjPtr& child) override;
    void UpdateAnimation() override;
    void UpdateTransform() override;
    void PrintAnimationStates(const std::string& category) override;
    void Update(const sds::CTiming& timing) override;

    // Stores the entity and attaches it to the attach node.
    void SetEntity(Ogre::Entity* entity);
    Ogre::Node* GetNode() const { return m_pNode; }
    Ogre::SceneNode* GetAttachNode() const { return m_pAttachNode; }
    Ogre::Entity* GetEntity() const { return m_pEntity; }
    // Lets go of the node (which someone else destroys); the object keeps its entity.
    void ReleaseNode();
    // The resource (a generated mesh or skeleton, a material copy) goes with the object.
    void OwnResource(const Ogre::ResourcePtr& resource);

protected:
    // An object over an entity that hangs under no node.
    explicit COgreGfxObjBase(Ogre::Entity* entity);

    sds::CAnimationPtr MakeAnimation(const std::string& name) override;
    // The skeleton as joints, with cumulative blending of the animations.
    void BuildSkeletonView();

private:
    struct COwnedResource
    {
        std::string m_Type;
        std::string m_Name;
        std::string m_Group;
    };

    Ogre::Node& Node() const;
    Ogre::Entity& Entity() const;
    // Material copies are the object's own.
    Ogre::MaterialPtr CloneMaterial(const std::string& name);
    // Objects hung on this entity's bones go back to their own nodes.
    void DetachBoneChildren();
    // Takes the child objects off the attach node and destroys the node when
    // nothing else hangs there.
    void ReleaseAttachNode();
    void ReleaseOwnedResources();

    Ogre::Node* m_pNode = nullptr;
    Ogre::SceneNode* m_pAttachNode = nullptr;
    Ogre::Entity* m_pEntity = nullptr;
    // The scene this object was made in; once it expires its node and entity are gone.
    std::weak_ptr<const bool> m_Scene;
    std::vector<COwnedResource> m_OwnedResources;
};

} // namespace wrappers
