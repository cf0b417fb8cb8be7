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

    std::uint8_t ReadByte() const override { return Read<std::uint8_t>(); }
    std::uint16_t ReadWord() const override { return Read<std::uint16_t>(); }
    std::uint32_t ReadDword() const override { return Read<std::uint32_t>(); }
    float ReadFloat() const override { return Read<float>(); }
    double ReadDouble() const override { return Read<double>(); }
    void ReadBuffer(void* buffer, std::uint32_t size) const override;

    IStream& StoreByte(std::uint8_t) override { return *this; }
    IStream& StoreWord(std::uint16_t) override { return *this; }
    IStream& StoreDword(std::uint32_t) override { return *this; }
    IStream& StoreFloat(float) override { return *this; }
    IStream& StoreDouble(double) override { return *this; }
    IStream& StoreBuffer(const void*, std::uint32_t) override { return *this; }

    std::uint32_t GetBytesLeft() const { return m_Left; }

private:
    template <class T>
    T Read() const
    {
        T value;
        ReadBuffer(&value, sizeof value);
        return value;
    }

    mutable const std::uint8_t* m_Buffer;
    mutable std::uint32_t m_Left;
};

} // namespace physics::details
