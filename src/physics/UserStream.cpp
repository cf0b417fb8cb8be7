#include "physics/UserStream.h"

#include <cerrno>
#include <cstring>

#include "physics/PhyException.h"

namespace physics::details {

UserStream::UserStream(const std::string& fileName, bool load)
    : m_FileName(fileName), m_File(std::fopen(fileName.c_str(), load ? "rb" : "wb"))
{
    if (!m_File)
        throw CPhyException("Could not open '" + fileName + "' for " + (load ? "reading" : "writing") + ": " +
                            std::strerror(errno));
}

UserStream::~UserStream()
{
    std::fclose(m_File);
}

void UserStream::ReadBuffer(void* buffer, std::uint32_t size) const
{
    if (size && std::fread(buffer, size, 1, m_File) != 1)
        throw CPhyException("'" + m_FileName + "' ends before " + std::to_string(size) + " more bytes");
}

sdk::IStream& UserStream::StoreBuffer(const void* buffer, std::uint32_t size)
{
    if (size && std::fwrite(buffer, size, 1, m_File) != 1)
        throw CPhyException("Could not write to '" + m_FileName + "': " + std::strerror(errno));
    return *this;
}

} // namespace physics::details
