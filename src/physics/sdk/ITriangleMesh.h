#pragma once

#include <cstdint>

namespace physics::sdk {

// A cooked triangle mesh read back by the SDK; shapes keep it alive.
class ITriangleMesh
{
public:
    virtual std::uint32_t GetVertexCount() const = 0;
    virtual std::uint32_t GetTriangleCount() const = 0;

protected:
    ~ITriangleMesh() = default;
};

} // namespace physics::sdk
