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

    void ReadBuffer(void* buffer, std::uint32_t size) const override;
    IStream& StoreBuffer(const void* buffer, std::uint32_t size) override;

private:
    std::string m_FileName;
    std::FILE* m_File;
};

} // namespace physics::details
