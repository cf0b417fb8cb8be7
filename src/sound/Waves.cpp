#include "sound/Waves.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <limits>
#include <new>

namespace wrappers {
namespace details {
namespace {

std::uint16_t ReadU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t ReadU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool SameTag(const std::uint8_t* p, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        if (std::tolower(p[i]) != std::tolower(static_cast<unsigned char>(tag[i])))
            return false;
    return true;
}

// The chunk id for a message; bytes that are not printable become '?'.
std::string TagText(const std::uint8_t* p)
{
    std::string text(4, '?');
    for (int i = 0; i < 4; ++i)
        if (std::isprint(p[i]))
            text[i] = static_cast<char>(p[i]);
    return text;
}

// KSDATAFORMAT_SUBTYPE_PCM: 00000001-0000-0010-8000-00aa00389b71.
const std::uint8_t PcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};

const std::size_t PlainFormatSize = 16;
const std::size_t ExtensibleFormatSize = 40;

} // namespace

CWaves::CWaveFormat CWaves::ReadFormat(const std::uint8_t* body, bool extensible)
{
    CWaveFormat f;
    f.FormatTag = ReadU16(body);
    f.Channels = ReadU16(body + 2);
    f.SamplesPerSec = ReadU32(body + 4);
    f.AvgBytesPerSec = ReadU32(body + 8);
    f.BlockAlign = ReadU16(body + 12);
    f.BitsPerSample = ReadU16(body + 14);
    if (extensible) {
        f.ExtraSize = ReadU16(body + 16);
        f.ValidBitsPerSample = ReadU16(body + 18);
        f.ChannelMask = ReadU32(body + 20);
        std::copy(body + 24, body + 40, f.SubFormat.begin());
    }
    return f;
}

CWaves::CWaves() = default;

CWaves::~CWaves()
{
    for (int id = 0; id < MaxWaves; ++id)
        DeleteWaveFile(id);
}

int CWaves::Fail(int code, const std::string& reason)
{
    m_LastError = reason;
    return code;
}

int CWaves::LoadWaveFile(const char* fileName, int* waveId)
{
    if (!fileName || !waveId)
        return Fail(WR_INVALIDPARAM, "no file name or id was given");

    std::ifstream file(fileName, std::ios::binary | std::ios::ate);
    if (!file)
        return Fail(WR_INVALIDFILENAME, "the file cannot be opened");
    const std::streamoff size = file.tellg();
    if (size < 0)
        return Fail(WR_INVALIDFILENAME, "the file cannot be read");
    // A data chunk cannot hold more than its 32-bit size field allows.
    if (static_cast<unsigned long long>(size) > std::numeric_limits<std::uint32_t>::max())
        return Fail(WR_BADWAVEFILE, "the file is larger than a WAV file can be");

    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return Fail(WR_OUTOFMEMORY, "there is not enough memory to read it");
    }
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size))
        return Fail(WR_INVALIDFILENAME, "the file cannot be read");
    return LoadWaveMemory(bytes.data(), bytes.size(), waveId);
}

int CWaves::LoadWaveMemory(const void* data, std::size_t size, int* waveId)
{
    if ((!data && size != 0) || !waveId)
        return Fail(WR_INVALIDPARAM, "no data or id was given");
    static const std::uint8_t nothing = 0;
    if (!data)
        data = &nothing;

    std::unique_ptr<CWave> wave;
    try {
        wave.reset(new CWave);
        const int result = Parse(static_cast<const std::uint8_t*>(data), size, *wave);
        if (result != WR_OK)
            return result;
    } catch (const std::bad_alloc&) {
        return Fail(WR_OUTOFMEMORY, "there is not enough memory to read it");
    }

    auto freeSlot = std::find(m_Waves.begin(), m_Waves.end(), nullptr);
    if (freeSlot == m_Waves.end())
        return Fail(WR_OUTOFMEMORY, "all " + std::to_string(MaxWaves) + " wave slots are in use");
    *freeSlot = std::move(wave);
    *waveId = static_cast<int>(freeSlot - m_Waves.begin());
    return WR_OK;
}

int CWaves::Parse(const std::uint8_t* data, std::size_t size, CWave& wave)
{
    if (size < 12 || !SameTag(data, "RIFF") || !SameTag(data + 8, "WAVE"))
        return Fail(WR_BADWAVEFILE, "it is not a RIFF/WAVE file");

    std::string formatProblem = "it has no format chunk";
    const std::uint8_t* samples = nullptr;
    std::uint32_t dataSize = 0;
    bool hasData = false;

    std::size_t pos = 12;
    // A rest shorter than a chunk header is trailing padding and ends the walk.
    while (size - pos >= 8) {
        const std::uint8_t* header = data + pos;
        const std::uint32_t chunkSize = ReadU32(header + 4);
        pos += 8;
        if (chunkSize > size - pos)
            return Fail(WR_BADWAVEFILE, "its '" + TagText(header) + "' chunk of " + std::to_string(chunkSize) +
                                            " bytes runs past the end of the file (the file is truncated or damaged)");
        const std::uint8_t* body = data + pos;

        if (SameTag(header, "fmt ")) {
            const std::uint16_t tag = chunkSize >= 2 ? ReadU16(body) : 0;
            const bool plain = tag == 1;
            const bool extensible = tag == 0xFFFE;
            if (chunkSize > ExtensibleFormatSize)
                formatProblem = "its format chunk is longer than 40 bytes";
            else if (!plain && !extensible)
                formatProblem = "its sample format (format tag " + std::to_string(tag) + ") is not supported";
            else if (chunkSize < (plain ? PlainFormatSize : ExtensibleFormatSize))
                formatProblem = "its format chunk is too short";
            else {
                wave.Kind = plain ? KindPlain : KindExtensible;
                wave.Format = ReadFormat(body, extensible);
            }
        } else if (SameTag(header, "data")) {
            samples = body;
            dataSize = chunkSize;
            hasData = true;
        }

        pos += chunkSize;
        // A body of odd size is followed by a pad byte, which the last chunk may lack.
        if ((chunkSize & 1) != 0 && pos < size)
            ++pos;
    }

    if (wave.Kind == KindNone)
        return Fail(WR_BADWAVEFILE, formatProblem);
    const CWaveFormat& f = wave.Format;
    if (f.Channels == 0 || f.SamplesPerSec == 0 || f.BitsPerSample == 0)
        return Fail(WR_BADWAVEFILE, "its format chunk gives no channels, sample rate or sample size");
    if (!hasData)
        return Fail(WR_BADWAVEFILE, "it has no data chunk");

    // OpenAL takes whole frames only: a partial frame at the end is dropped.
    const std::uint32_t frameSize = f.Channels * ((f.BitsPerSample + 7u) / 8u);
    dataSize -= dataSize % frameSize;
    if (dataSize == 0)
        return Fail(WR_BADWAVEFILE, "its data chunk holds no samples");
    wave.Data.assign(samples, samples + dataSize);
    return WR_OK;
}

const CWaves::CWave* CWaves::Find(int waveId) const
{
    if (waveId < 0 || waveId >= MaxWaves)
        return nullptr;
    return m_Waves[static_cast<std::size_t>(waveId)].get();
}

int CWaves::GetWaveData(int waveId, const void** data) const
{
    const CWave* wave = Find(waveId);
    if (!wave)
        return WR_INVALIDWAVEID;
    if (!data)
        return WR_INVALIDPARAM;
    *data = wave->Data.data();
    return WR_OK;
}

int CWaves::GetWaveSize(int waveId, std::uint32_t* size) const
{
    const CWave* wave = Find(waveId);
    if (!wave)
        return WR_INVALIDWAVEID;
    if (!size)
        return WR_INVALIDPARAM;
    *size = static_cast<std::uint32_t>(wave->Data.size());
    return WR_OK;
}

int CWaves::GetWaveFrequency(int waveId, std::uint32_t* frequency) const
{
    const CWave* wave = Find(waveId);
    if (!wave)
        return WR_INVALIDWAVEID;
    if (!frequency)
        return WR_INVALIDPARAM;
    *frequency = wave->Format.SamplesPerSec;
    return WR_OK;
}

int CWaves::GetWaveALBufferFormat(int waveId, CEnumLookup lookup, int* format)
{
    const CWave* wave = Find(waveId);
    if (!wave)
        return Fail(WR_INVALIDWAVEID, "no wave has the id " + std::to_string(waveId));
    if (!lookup || !format)
        return Fail(WR_INVALIDPARAM, "no lookup or format was given");

    const CWaveFormat& f = wave->Format;
    const unsigned channels = f.Channels;
    const unsigned bits = f.BitsPerSample;
    const std::uint32_t mask = f.ChannelMask;
    // Only 8- and 16-bit integer samples have OpenAL formats; any other size
    // would be played as noise.
    const bool is16 = bits == 16;
    const bool is8 = bits == 8;
    const char* name = nullptr;

    if (wave->Kind == KindPlain) {
        if (channels == 1)
            name = is16 ? "AL_FORMAT_MONO16" : is8 ? "AL_FORMAT_MONO8" : nullptr;
        else if (channels == 2)
            name = is16 ? "AL_FORMAT_STEREO16" : is8 ? "AL_FORMAT_STEREO8" : nullptr;
        else if (channels == 4 && is16)
            name = "AL_FORMAT_QUAD16";
    } else if (wave->Kind == KindExtensible &&
               std::equal(f.SubFormat.begin(), f.SubFormat.end(), std::begin(PcmSubFormat))) {
        if (channels == 1 && mask == 0x4)
            name = is16 ? "AL_FORMAT_MONO16" : is8 ? "AL_FORMAT_MONO8" : nullptr;
        else if (channels == 2 && mask == 0x3)
            name = is16 ? "AL_FORMAT_STEREO16" : is8 ? "AL_FORMAT_STEREO8" : nullptr;
        else if (channels == 2 && mask == 0x30 && is16)
            name = "AL_FORMAT_REAR16";
        else if (channels == 4 && mask == 0x33 && is16)
            name = "AL_FORMAT_QUAD16";
        else if (channels == 6 && mask == 0x3F && is16)
            name = "AL_FORMAT_51CHN16";
        else if (channels == 7 && mask == 0x13F && is16)
            name = "AL_FORMAT_61CHN16";
        else if (channels == 8 && mask == 0x63F && is16)
            name = "AL_FORMAT_71CHN16";
    }

    if (!name)
        return Fail(WR_INVALIDWAVEFORMAT, "its sample format (" + std::to_string(channels) + " channels of " +
                                              std::to_string(bits) + " bits" +
                                              (wave->Kind == KindExtensible ? ", extensible" : "") +
                                              ") cannot be played");
    const int value = lookup(name);
    if (value == 0)
        return Fail(WR_INVALIDWAVEFORMAT, std::string("the sound library does not know ") + name);
    *format = value;
    return WR_OK;
}

int CWaves::DeleteWaveFile(int waveId)
{
    if (!Find(waveId))
        return WR_INVALIDWAVEID;
    m_Waves[static_cast<std::size_t>(waveId)].reset();
    return WR_OK;
}

} // namespace details
} // namespace wrappers
