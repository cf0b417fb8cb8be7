#pragma once

#include "core/Quaternion.h"
#include "core/Vector.h"

namespace physics {

// A physical object with a place in the world.
class IPhyObj
{
public:
    virtual ~IPhyObj() = default;
    virtual sds::CVector GetPos() const = 0;
    virtual sds::CQuaternion GetOrientation() const = 0;
    virtual void SetOrientation(const sds::CQuaternion& orientation) = 0;
    virtual void SetPos(const sds::CVector& position) = 0;
};

} // namespace physics
