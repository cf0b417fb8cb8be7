#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds RIFF/WAVE bytes chunk by chunk, so each test shows the one thing its
// file gets wrong.
namespace wavbuilder {

typedef std::vector<std::uint8_t> CBytes;

inline void PutU16(CBytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void PutU32(CBytes& out, std::uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

inline void PutText(CBytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

// A chunk whose size field is the body's size unless given; odd bodies get their pad byte.
inline CBytes Chunk(const std::string& id, const CBytes& body, long declaredSize = -1, bool pad = true)
{
    CBytes out;
    PutText(out, id);
    PutU32(out, declaredSize < 0 ? static_cast<std::uint32_t>(body.size()) : static_cast<std::uint32_t>(declaredSize));
    out.insert(out.end(), body.begin(), body.end());
    if (pad && body.size() % 2 != 0)
        out.push_back(0);
    return out;
}

inline CBytes Riff(const std::vector<CBytes>& chunks, const std::string& riff = "RIFF", const std::string& wave = "WAVE")
{
    CBytes body;
    PutText(body, wave);
    for (const CBytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    CBytes out;
    PutText(out, riff);
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// The 16 bytes of a plain format chunk body.
inline CBytes Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    const std::uint16_t align = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    CBytes out;
    PutU16(out, tag);
    PutU16(out, channels);
    PutU32(out, rate);
    PutU32(out, rate * align);
    PutU16(out, align);
    PutU16(out, bits);
    return out;
}

const std::uint8_t PcmGuid[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                  0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};
const std::uint8_t FloatGuid[16] = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                    0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};

// The 40 bytes of an extensible format chunk body.
inline CBytes Extensible(std::uint16_t channels, std::uint16_t bits, std::uint32_t mask, const std::uint8_t* guid = PcmGuid)
{
    CBytes out = Format(0xFFFE, channels, 44100, bits);
    PutU16(out, 22);
    PutU16(out, bits);
    PutU32(out, mask);
    out.insert(out.end(), guid, guid + 16);
    return out;
}

inline CBytes Samples(std::size_t count)
{
    CBytes out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return out;
}

// A well-formed 16-bit mono file of `bytes` bytes of samples.
inline CBytes Mono16(std::size_t bytes = 64)
{
    return Riff({Chunk("fmt ", Format(1, 1, 22050, 16)), Chunk("data", Samples(bytes))});
}

} // namespace wavbuilder
