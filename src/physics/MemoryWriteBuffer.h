#pragma once

#include <cstdint>

#include "physics/sdk/IStream.h"

namespace physics::details {

// A growing block of bytes that cooking writes into. The bytes stay valid until
// the buffer is destroyed. Reading from it gives 0.
class MemoryWriteBuffer final : public sdk::IStream
{
public:
    MemoryWriteBuffer() = default;
    ~MemoryWriteBuffer() override;
    MemoryWriteBuffer(const MemoryWriteBuffer&) = delete;
    MemoryWriteBuffer& operator=(const MemoryWriteBuffer&) = delete;

    void ReadBuffer(void*, std::uint32_t) const override {}
    // Grows by what is missing plus 4096 bytes whenever the block is full.
    IStream& StoreBuffer(const void* buffer, std::uint32_t size) override;

    const std::uint8_t* GetData() const { return m_Data; }
    std::uint32_t GetCurrentSize() const { return m_CurrentSize; }
    std::uint32_t GetMaxSize() const { return m_MaxSize; }

private:
    std::uint32_t m_CurrentSize = 0;
    std::uint32_t m_MaxSize = 0;
    std::uint8_t* m_Data = nullptr;
};

} // namespace physics::details
