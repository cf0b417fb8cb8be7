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

    std::uint8_t ReadByte() const override { return 0; }
    std::uint16_t ReadWord() const override { return 0; }
    std::uint32_t ReadDword() const override { return 0; }
    float ReadFloat() const override { return 0.0f; }
    double ReadDouble() const override { return 0.0; }
    void ReadBuffer(void*, std::uint32_t) const override {}

    IStream& StoreByte(std::uint8_t value) override { return StoreBuffer(&value, sizeof value); }
    IStream& StoreWord(std::uint16_t value) override { return StoreBuffer(&value, sizeof value); }
    IStream& StoreDword(std::uint32_t value) override { return StoreBuffer(&value, sizeof value); }
    IStream& StoreFloat(float value) override { return StoreBuffer(&value, sizeof value); }
    IStream& StoreDouble(double value) override { return StoreBuffer(&value, sizeof value); }
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
