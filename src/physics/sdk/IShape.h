#pragma once

#include <cstdint>

#include "core/Quaternion.h"
#include "core/Vector.h"
#include "physics/sdk/SdkConstants.h"

namespace physics::sdk {

class IActor;
class IConvexMesh;
class ITriangleMesh;

// One shape of an actor; it lives as long as its actor.
class IShape
{
public:
    virtual EShapeType GetType() const = 0;
    virtual IActor& GetActor() const = 0;

    virtual sds::CVector GetLocalPosition() const = 0;
    virtual sds::CQuaternion GetLocalOrientation() const = 0;
    virtual sds::CVector GetGlobalPosition() const = 0;
    virtual sds::CQuaternion GetGlobalOrientation() const = 0;

    virtual std::uint16_t GetMaterial() const = 0;
    virtual void SetMaterial(std::uint16_t material) = 0;
    virtual std::uint16_t GetGroup() const = 0;
    virtual void SetGroup(std::uint16_t group) = 0;
    virtual std::uint32_t GetFlags() const = 0;

    // Box half extents; setting them resizes the box in place.
    virtual sds::CVector GetDimensions() const = 0;
    virtual void SetDimensions(const sds::CVector& halfExtents) = 0;
    virtual float GetRadius() const = 0; // sphere, capsule
    virtual float GetHeight() const = 0; // capsule
    virtual ITriangleMesh* GetTriangleMesh() const = 0;
    virtual IConvexMesh* GetConvexMesh() const = 0;

protected:
    ~IShape() = default;
};

} // namespace physics::sdk
