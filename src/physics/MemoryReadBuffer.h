#pragma once

#include <cstdint>

#include "physics/sdk/IStream.h"

namespace physics::details {

// Reads back, in order, bytes that someone else owns: `size` bytes from `data`.
// A read past them throws CPhyException; storing does nothing.
class MemoryReadBuffer final : public sdk::IStream
{
public:
    MemoryReadBuffer(const std::uint8_t* data, std::uint32_t size) : m_Buffer(data), m_Left(size) {}

    void ReadBuffer(void* buffer, std::uint32_t size) const override;
    IStream& StoreBuffer(const void*, std::uint32_t) override { return *this; }

    std::uint32_t GetBytesLeft() const { return m_Left; }

private:
    mutable const std::uint8_t* m_Buffer;
    mutable std::uint32_t m_Left;
};

} // namespace physics::details
