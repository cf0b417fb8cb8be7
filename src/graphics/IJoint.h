#pragma once

#include <cstdint>
#include <string>

#include "core/Quaternion.h"
#include "core/Vector.h"

namespace sds {

// One bone of a graphic object's skeleton. "World" values are in the model
// space of the skeleton's owner.
class IJoint
{
public:
    // Spaces of Rotate.
    enum ESpace { SPACE_LOCAL = 0, SPACE_PARENT = 1, SPACE_OWNER = 2 };

    virtual std::string GetParentName() const = 0;
    virtual CQuaternion GetInitialOrientation() const = 0;
    virtual bool IsRoot() const = 0;
    virtual CVector GetPos() const = 0;
    virtual void SetPos(const CVector& pos) = 0;
    virtual CQuaternion GetOrientation() const = 0;
    virtual void SetOrientation(const CQuaternion& orientation) = 0;
    // While set, animations leave the bone where the caller put it.
    virtual void SetManuallyControlled(bool manual) = 0;
    virtual std::string GetName() const = 0;
    virtual std::uint16_t GetHandle() const = 0;
    virtual CQuaternion GetWorldOrientation() const = 0;
    virtual CVector GetWorldPos() const = 0;
    // The bone must have a parent.
    virtual CQuaternion GetParentWorldOrientation() const = 0;
    // Any space other than the three of ESpace does nothing.
    virtual void Rotate(const CQuaternion& rotation, int space) = 0;
    virtual ~IJoint() = default;
};

} // namespace sds
