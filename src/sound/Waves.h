#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wrappers {
namespace details {

// Reads RIFF/WAVE files into memory and names the OpenAL sample format that
// fits them. Every operation returns one of the result codes below and never
// throws; GetLastError tells in words why the last load or format query failed.
// The whole file is read first and parsed in memory, so no chunk size in the
// file can make the reader look outside it.
class CWaves
{
public:
    enum
    {
        WR_OK = 0,
        WR_INVALIDFILENAME = -1,
        WR_BADWAVEFILE = -2,
        WR_INVALIDPARAM = -3,
        WR_INVALIDWAVEID = -4,
        WR_OUTOFMEMORY = -14,
        WR_INVALIDWAVEFORMAT = -16
    };
    static constexpr int MaxWaves = 1024;
    // An OpenAL enum value by its name ("AL_FORMAT_MONO16"); 0 when unknown.
    typedef int (*CEnumLookup)(const char* name);

    CWaves();
    virtual ~CWaves();
    CWaves(const CWaves&) = delete;
    CWaves& operator=(const CWaves&) = delete;

    // On success the wave's id (its slot, 0 to 1023) is written to waveId.
    int LoadWaveFile(const char* fileName, int* waveId);
    int LoadWaveMemory(const void* data, std::size_t size, int* waveId);
    int GetWaveData(int waveId, const void** data) const;
    int GetWaveSize(int waveId, std::uint32_t* size) const;
    int GetWaveFrequency(int waveId, std::uint32_t* frequency) const;
    int GetWaveALBufferFormat(int waveId, CEnumLookup lookup, int* format);
    int DeleteWaveFile(int waveId);

    const std::string& GetLastError() const { return m_LastError; }

private:
    enum EKind
    {
        KindNone = 0,
        KindPlain = 1,
        KindExtensible = 2
    };

    // The "fmt " chunk as stored in the file; a plain chunk fills the first 16 bytes.
    struct CWaveFormat
    {
        std::uint16_t FormatTag = 0;
        std::uint16_t Channels = 0;
        std::uint32_t SamplesPerSec = 0;
        std::uint32_t AvgBytesPerSec = 0;
        std::uint16_t BlockAlign = 0;
        std::uint16_t BitsPerSample = 0;
        std::uint16_t ExtraSize = 0;
        std::uint16_t ValidBitsPerSample = 0;
        std::uint32_t ChannelMask = 0;
        std::array<std::uint8_t, 16> SubFormat{};
    };

    struct CWave
    {
        EKind Kind = KindNone;
        CWaveFormat Format;
        std::vector<std::uint8_t> Data;
    };

    // Reads 16 bytes of a plain or 40 of an extensible format chunk's body.
    static CWaveFormat ReadFormat(const std::uint8_t* body, bool extensible);
    int Parse(const std::uint8_t* data, std::size_t size, CWave& wave);
    const CWave* Find(int waveId) const;
    int Fail(int code, const std::string& reason);

    std::array<std::unique_ptr<CWave>, MaxWaves> m_Waves;
    std::string m_LastError;
};

} // namespace details
} // namespace wrappers
