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

    // The typed reads and stores go through ReadBuffer and StoreBuffer; a read
    // that ReadBuffer leaves alone gives 0.
    virtual std::uint8_t ReadByte() const { return Read<std::uint8_t>(); }
    virtual std::uint16_t ReadWord() const { return Read<std::uint16_t>(); }
    virtual std::uint32_t ReadDword() const { return Read<std::uint32_t>(); }
    virtual float ReadFloat() const { return Read<float>(); }
    virtual double ReadDouble() const { return Read<double>(); }
    virtual void ReadBuffer(void* buffer, std::uint32_t size) const = 0;

    virtual IStream& StoreByte(std::uint8_t value) { return StoreBuffer(&value, sizeof value); }
    virtual IStream& StoreWord(std::uint16_t value) { return StoreBuffer(&value, sizeof value); }
    virtual IStream& StoreDword(std::uint32_t value) { return StoreBuffer(&value, sizeof value); }
    virtual IStream& StoreFloat(float value) { return StoreBuffer(&value, sizeof value); }
    virtual IStream& StoreDouble(double value) { return StoreBuffer(&value, sizeof value); }
    virtual IStream& StoreBuffer(const void* buffer, std::uint32_t size) = 0;

private:
    template <class T>
    T Read() const
    {
        T value{};
        ReadBuffer(&value, sizeof value);
        return value;
    }
};

} // namespace physics::sdk
