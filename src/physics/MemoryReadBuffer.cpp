#include "physics/MemoryReadBuffer.h"

#include <cstring>
#include <string>

#include "physics/PhyException.h"

namespace physics::details {

void MemoryReadBuffer::ReadBuffer(void* buffer, std::uint32_t size) const
{
    if (size > m_Left)
        throw CPhyException("MemoryReadBuffer: a read of " + std::to_string(size) + " bytes passes the end (" +
                            std::to_string(m_Left) + " bytes left)");
    std::memcpy(buffer, m_Buffer, size);
    m_Buffer += size;
    m_Left -= size;
}

} // namespace physics::details
