#pragma once

#include <memory>

#include <LinearMath/btTransform.h>

#include "physics/sdk/IShape.h"
#include "physics/sdk/ShapeDesc.h"

class btCollisionShape;

namespace physics::sdk {

class CBulletActor;
class CBulletConvexMesh;
class CBulletTriangleMesh;

class CBulletShape final : public IShape
{
public:
    CBulletShape(CBulletActor& actor, unsigned index, const CShapeDesc& desc,
                 std::shared_ptr<CBulletTriangleMesh> triangleMesh, std::shared_ptr<CBulletConvexMesh> convexMesh);
    ~CBulletShape();

    EShapeType GetType() const override { return m_Type; }
    IActor& GetActor() const override;
    sds::CVector GetLocalPosition() const override;
    sds::CQuaternion GetLocalOrientation() const override;
    sds::CVector GetGlobalPosition() const override;
    sds::CQuaternion GetGlobalOrientation() const override;
    std::uint16_t GetMaterial() const override { return m_Material; }
    void SetMaterial(std::uint16_t material) override { m_Material = material; }
    std::uint16_t GetGroup() const override { return m_Group; }
    void SetGroup(std::uint16_t group) override { m_Group = group; }
    std::uint32_t GetFlags() const override { return m_Flags; }
    sds::CVector GetDimensions() const override { return m_Dimensions; }
    void SetDimensions(const sds::CVector& halfExtents) override;
    float GetRadius() const override { return m_Radius; }
    float GetHeight() const override { return m_Height; }
    ITriangleMesh* GetTriangleMesh() const override;
    IConvexMesh* GetConvexMesh() const override;

    unsigned GetIndex() const { return m_Index; }
    bool IsTrigger() const { return (m_Flags & SF_TRIGGER_ENABLE) != 0; }
    btCollisionShape& GetCollisionShape() const { return *m_CollisionShape; }
    // The collision shape's frame in the actor's frame (a hull is centred on its bounds).
    btTransform GetCollisionTransform() const;
    float GetVolume() const;
    float GetMassWeight(float density) const; // by the shape's own mass or density when `density` is 0

private:
    CBulletActor& m_Actor;
    unsigned m_Index;
    EShapeType m_Type;
    btTransform m_LocalPose;
    sds::CVector m_Dimensions;
    float m_Radius;
    float m_Height;
    std::uint16_t m_Material;
    std::uint16_t m_Group;
    std::uint32_t m_Flags;
    float m_Density;
    float m_Mass;
    std::shared_ptr<CBulletTriangleMesh> m_TriangleMesh;
    std::shared_ptr<CBulletConvexMesh> m_ConvexMesh;
    std::unique_ptr<btCollisionShape> m_OwnShape;
    btCollisionShape* m_CollisionShape = nullptr;
};

} // namespace physics::sdk
