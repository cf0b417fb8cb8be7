#include "physics/MemoryWriteBuffer.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "physics/PhyException.h"

namespace physics::details {

namespace {

const std::uint32_t GROWTH = 4096;

} // namespace

MemoryWriteBuffer::~MemoryWriteBuffer()
{
    std::free(m_Data);
}

sdk::IStream& MemoryWriteBuffer::StoreBuffer(const void* buffer, std::uint32_t size)
{
    if (std::uint64_t(m_CurrentSize) + size + GROWTH > UINT32_MAX)
        throw CPhyException("MemoryWriteBuffer: more than 4 GB written");
    if (m_CurrentSize + size > m_MaxSize)
    {
        const std::uint32_t newSize = m_CurrentSize + size + GROWTH;
        auto* block = static_cast<std::uint8_t*>(std::malloc(newSize));
        if (!block)
            throw std::bad_alloc();
        if (m_Data)
        {
            std::memcpy(block, m_Data, m_CurrentSize);
            std::free(m_Data);
        }
        m_Data = block;
        m_MaxSize = newSize;
    }
    if (size)
        std::memcpy(m_Data + m_CurrentSize, buffer, size);
    m_CurrentSize += size;
    return *this;
}

} // namespace physics::details
