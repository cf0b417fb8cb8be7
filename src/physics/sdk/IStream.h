#pragma once

#include <cstdint>

namespace physics::sdk {

// A byte stream in the machine's own byte order, without framing: cooked meshes
// are written into one and read back from one. A read that cannot be satisfied
// throws.
class IStream
{
public:
    virtual ~IStream() = default;

    virtual std::uint8_t ReadByte() const = 0;
    virtual std::uint16_t ReadWord() const = 0;
    virtual std::uint32_t ReadDword() const = 0;
    virtual float ReadFloat() const = 0;
    virtual double ReadDouble() const = 0;
    virtual void ReadBuffer(void* buffer, std::uint32_t size) const = 0;

    virtual IStream& StoreByte(std::uint8_t value) = 0;
    virtual IStream& StoreWord(std::uint16_t value) = 0;
    virtual IStream& StoreDword(std::uint32_t value) = 0;
    virtual IStream& StoreFloat(float value) = 0;
    virtual IStream& StoreDouble(double value) = 0;
    virtual IStream& StoreBuffer(const void* buffer, std::uint32_t size) = 0;
};

} // namespace physics::sdk
