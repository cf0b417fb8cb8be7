#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <LinearMath/btTransform.h>

#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"

class btCollisionObject;
class btCompoundShape;
class btRigidBody;

namespace physics::sdk {

class CBulletConvexMesh;
class CBulletJoint;
class CBulletScene;
class CBulletShape;
class CBulletTriangleMesh;

// The meshes a shape descriptor names, found by the scene.
struct CShapeMeshes
{
    std::shared_ptr<CBulletTriangleMesh> m_TriangleMesh;
    std::shared_ptr<CBulletConvexMesh> m_ConvexMesh;
};

// A static actor is one collision object per shape, each placed once. A dynamic
// actor is one rigid body in its centre-of-mass frame: the bare shape when it
// has one, else a compound of its shapes. The actor's frame is the body's frame
// carried back by the mass frame.
class CBulletActor final : public IActor
{
public:
    // The descriptor has been checked by the scene; `meshes` has one entry per shape.
    CBulletActor(CBulletScene& scene, std::uint64_t serial, const CActorDesc& desc,
                 const std::vector<CShapeMeshes>& meshes);
    ~CBulletActor();
    // Places the actor in the engine's world; false when its mass cannot be worked out.
    bool Init(const CActorDesc& desc);

    // IActor
    IScene& GetScene() const override;
    bool IsDynamic() const override { return m_Body != nullptr; }
    const std::vector<IShape*>& GetShapes() const override { return m_ShapeList; }
    sds::CVector GetGlobalPosition() const override;
    sds::CQuaternion GetGlobalOrientation() const override;
    void SetGlobalPosition(const sds::CVector& position) override;
    void SetGlobalOrientation(const sds::CQuaternion& orientation) override;
    void SetGlobalPose(const sds::CVector& position, const sds::CQuaternion& orientation) override;
    void MoveGlobalPosition(const sds::CVector& position) override;
    void MoveGlobalOrientation(const sds::CQuaternion& orientation) override;
    void SetGroupPose(const sds::CVector& position, const sds::CQuaternion& orientation) override;
    void SetGroupVelocity(const sds::CVector& linear, const sds::CVector& angular) override;
    sds::CVector GetLinearVelocity() const override;
    void SetLinearVelocity(const sds::CVector& velocity) override;
    sds::CVector GetAngularVelocity() const override;
    void SetAngularVelocity(const sds::CVector& velocity) override;
    sds::CVector GetLocalPointVelocity(const sds::CVector& localPoint) const override;
    void AddForceAtLocalPos(const sds::CVector& force, const sds::CVector& localPoint, bool wakeUp) override;
    void AddLocalForceAtLocalPos(const sds::CVector& force, const sds::CVector& localPoint, bool wakeUp) override;
    bool UpdateMassFromShapes(float density, float totalMass) override;
    float GetMass() const override { return m_Mass; }
    sds::CVector GetCMassLocalPosition() const override;
    float GetLinearDamping() const override { return m_LinearDamping; }
    void SetLinearDamping(float perSecond) override;
    float GetAngularDamping() const override { return m_AngularDamping; }
    void SetAngularDamping(float perSecond) override;
    void RaiseBodyFlag(std::uint32_t flags) override;
    void ClearBodyFlag(std::uint32_t flags) override;
    bool ReadBodyFlag(std::uint32_t flags) const override { return (m_BodyFlags & flags) == flags; }
    void RaiseActorFlag(std::uint32_t flags) override;
    void ClearActorFlag(std::uint32_t flags) override;
    bool ReadActorFlag(std::uint32_t flags) const override { return (m_ActorFlags & flags) == flags; }
    std::uint16_t GetActorGroup() const override { return m_ActorGroup; }
    void SetActorGroup(std::uint16_t group) override;
    bool IsSleeping() const override;
    void WakeUp() override;
    IUserData* GetUserData() const override { return m_UserData; }
    void SetUserData(IUserData* userData) override { m_UserData = userData; }

    // Used by the scene and the joints.
    CBulletScene& GetBulletScene() const { return m_Scene; }
    std::uint64_t GetSerial() const { return m_Serial; }
    btRigidBody* GetBody() const { return m_Body.get(); }
    bool IsKinematic() const { return m_Body && (m_BodyFlags & BF_KINEMATIC); }
    bool IsMovingDynamic() const { return m_Body && !(m_BodyFlags & BF_KINEMATIC); }
    bool IsTrigger() const { return m_Trigger; }
    btTransform GetActorTransform() const;
    const btTransform& GetMassLocalPose() const { return m_MassLocalPose; }
    // The shape of a contact: `index` is the engine's shape index for that object.
    CBulletShape* ShapeForContact(const btCollisionObject* object, int index) const;
    void OnShapeReplaced(CBulletShape& shape);
    // Forgets the contacts of every pair of this actor, so that changed rules apply now.
    void RefreshPairs();
    void ApplyGravity();
    // Puts a moving body at a pose with a motion that a joint dictates.
    void Follow(const btTransform& actorPose, const btVector3& linear, const btVector3& angular);
    void AddJoint(CBulletJoint* joint) { m_Joints.push_back(joint); }
    void RemoveJoint(CBulletJoint* joint);
    const std::vector<CBulletJoint*>& GetJoints() const { return m_Joints; }

private:
    bool SetMassFromShapes(float density, float totalMass);
    void ApplyMassProperties();
    void ApplyBodyFlags(std::uint32_t oldFlags);
    void ApplyResponseFlags();
    void ApplyContinuousCollision();
    void ApplyDamping();
    void SetActorTransform(const btTransform& actorPose);
    std::vector<btCollisionObject*> GetCollisionObjects() const;
    // This actor first, then the rest of its group.
    std::vector<CBulletActor*> GetGroup();
    bool CheckDynamic(const char* operation) const;

    CBulletScene& m_Scene;
    std::uint64_t m_Serial;
    std::vector<std::unique_ptr<CBulletShape>> m_Shapes;
    std::vector<IShape*> m_ShapeList;
    bool m_Trigger = false;

    std::unique_ptr<btRigidBody> m_Body;
    std::unique_ptr<btCompoundShape> m_Compound;
    std::vector<std::unique_ptr<btCollisionObject>> m_StaticObjects;
    btTransform m_StaticPose;
    btTransform m_MassLocalPose;
    btTransform m_MassLocalPoseInverse;

    float m_Mass = 0.0f;
    btVector3 m_Inertia;
    std::uint32_t m_BodyFlags = 0;
    std::uint32_t m_ActorFlags = 0;
    float m_LinearDamping = 0.0f;
    float m_AngularDamping = 0.0f;
    std::uint16_t m_ActorGroup = 0;
    IUserData* m_UserData = nullptr;
    std::vector<CBulletJoint*> m_Joints;
};

} // namespace physics::sdk
