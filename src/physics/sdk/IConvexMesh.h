#pragma once

#include <cstdint>

namespace physics::sdk {

// A cooked convex mesh read back by the SDK; shapes keep it alive.
class IConvexMesh
{
public:
    virtual std::uint32_t GetVertexCount() const = 0;

protected:
    ~IConvexMesh() = default;
};

} // namespace physics::sdk
