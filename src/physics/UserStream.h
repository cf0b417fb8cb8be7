#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "physics/sdk/IStream.h"

namespace physics::details {

// A stream over a file: opened for binary reading with `load`, for binary
// writing without. A file that cannot be opened, a read past its end and a
// failed write throw CPhyException.
class UserStream final : public sdk::IStream
{
public:
    UserStream(const std::string& fileName, bool load);
    ~UserStream() override;
    UserStream(const UserStream&) = delete;
    UserStream& operator=(const UserStream&) = delete;

    std::uint8_t ReadByte() const override { return Read<std::uint8_t>(); }
    std::uint16_t ReadWord() const override { return Read<std::uint16_t>(); }
    std::uint32_t ReadDword() const override { return Read<std::uint32_t>(); }
    float ReadFloat() const override { return Read<float>(); }
    double ReadDouble() const override { return Read<double>(); }
    void ReadBuffer(void* buffer, std::uint32_t size) const override;

    IStream& StoreByte(std::uint8_t value) override { return StoreBuffer(&value, sizeof value); }
    IStream& StoreWord(std::uint16_t value) override { return StoreBuffer(&value, sizeof value); }
    IStream& StoreDword(std::uint32_t value) override { return StoreBuffer(&value, sizeof value); }
    IStream& StoreFloat(float value) override { return StoreBuffer(&value, sizeof value); }
    IStream& StoreDouble(double value) override { return StoreBuffer(&value, sizeof value); }
    IStream& StoreBuffer(const void* buffer, std::uint32_t size) override;

private:
    template <class T>
    T Read() const
    {
        T value;
        ReadBuffer(&value, sizeof value);
        return value;
    }

    std::string m_FileName;
    std::FILE* m_File;
};

} // namespace physics::details
