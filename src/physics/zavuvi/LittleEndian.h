#pragma once

#include <cstdint>
#include <cstring>

// Little-endian numbers in byte buffers, whatever the machine's own order.
namespace Zavuvi::LittleEndian {

inline std::uint32_t ReadU32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

inline std::int32_t ReadI32(const std::uint8_t* p)
{
    const std::uint32_t u = ReadU32(p);
    std::int32_t i;
    std::memcpy(&i, &u, sizeof i);
    return i;
}

inline float ReadF32(const std::uint8_t* p)
{
    const std::uint32_t u = ReadU32(p);
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

inline std::uint16_t ReadU16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

inline void WriteU32(std::uint8_t* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(value >> (8 * i));
}

inline void WriteI32(std::uint8_t* p, std::int32_t value)
{
    std::uint32_t u;
    std::memcpy(&u, &value, sizeof u);
    WriteU32(p, u);
}

inline void WriteF32(std::uint8_t* p, float value)
{
    std::uint32_t u;
    std::memcpy(&u, &value, sizeof u);
    WriteU32(p, u);
}

inline void WriteU16(std::uint8_t* p, std::uint16_t value)
{
    p[0] = std::uint8_t(value);
    p[1] = std::uint8_t(value >> 8);
}

} // namespace Zavuvi::LittleEndian
