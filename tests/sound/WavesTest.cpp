#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <tuple>

#include "sound/Waves.h"
#include "sound/WavBuilder.h"
#include "support/TempDir.h"

using wrappers::details::CWaves;
using namespace wavbuilder;

namespace {

const char* g_LastLookup = nullptr;

// Stands in for alGetEnumValue: remembers the asked name, knows every format.
int RememberName(const char* name)
{
    g_LastLookup = name;
    return 42;
}

int KnowsNothing(const char*)
{
    return 0;
}

struct CLoaded
{
    int Result;
    std::string Error;
    std::vector<std::uint8_t> Data;
    std::uint32_t Frequency = 0;
    int FormatResult = 0;
    std::string FormatName;
};

CLoaded Load(const CBytes& bytes)
{
    CWaves waves;
    CLoaded loaded;
    int id = -1;
    loaded.Result = waves.LoadWaveMemory(bytes.data(), bytes.size(), &id);
    loaded.Error = waves.GetLastError();
    if (loaded.Result != CWaves::WR_OK)
        return loaded;
    const void* data = nullptr;
    std::uint32_t size = 0;
    EXPECT_EQ(CWaves::WR_OK, waves.GetWaveData(id, &data));
    EXPECT_EQ(CWaves::WR_OK, waves.GetWaveSize(id, &size));
    EXPECT_EQ(CWaves::WR_OK, waves.GetWaveFrequency(id, &loaded.Frequency));
    loaded.Data.assign(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size);
    int format = 0;
    g_LastLookup = nullptr;
    loaded.FormatResult = waves.GetWaveALBufferFormat(id, &RememberName, &format);
    loaded.FormatName = g_LastLookup ? g_LastLookup : "";
    if (loaded.FormatResult != CWaves::WR_OK)
        loaded.Error = waves.GetLastError();
    return loaded;
}

struct CFormatCase
{
    const char* Name;
    CBytes File;
    const char* Format; // "" when no OpenAL format fits
};

} // namespace

TEST(WavReader, ReadsTheSamplesAndNamesTheirFormat)
{
    const std::vector<CFormatCase> cases = {
        {"plain mono 16", Mono16(), "AL_FORMAT_MONO16"},
        {"plain mono 8", Riff({Chunk("fmt ", Format(1, 1, 8000, 8)), Chunk("data", Samples(9))}), "AL_FORMAT_MONO8"},
        {"plain stereo 8", Riff({Chunk("fmt ", Format(1, 2, 8000, 8)), Chunk("data", Samples(8))}), "AL_FORMAT_STEREO8"},
        {"plain stereo 16", Riff({Chunk("fmt ", Format(1, 2, 8000, 16)), Chunk("data", Samples(8))}), "AL_FORMAT_STEREO16"},
        {"plain quad 16", Riff({Chunk("fmt ", Format(1, 4, 8000, 16)), Chunk("data", Samples(16))}), "AL_FORMAT_QUAD16"},
        {"plain 3 channels", Riff({Chunk("fmt ", Format(1, 3, 8000, 16)), Chunk("data", Samples(12))}), ""},
        {"plain 24 bits", Riff({Chunk("fmt ", Format(1, 1, 8000, 24)), Chunk("data", Samples(12))}), ""},
        {"plain quad 8", Riff({Chunk("fmt ", Format(1, 4, 8000, 8)), Chunk("data", Samples(12))}), ""},
        {"extensible mono", Riff({Chunk("fmt ", Extensible(1, 16, 0x4)), Chunk("data", Samples(8))}), "AL_FORMAT_MONO16"},
        {"extensible stereo 8", Riff({Chunk("fmt ", Extensible(2, 8, 0x3)), Chunk("data", Samples(8))}), "AL_FORMAT_STEREO8"},
        {"extensible rear", Riff({Chunk("fmt ", Extensible(2, 16, 0x30)), Chunk("data", Samples(8))}), "AL_FORMAT_REAR16"},
        {"extensible rear 8", Riff({Chunk("fmt ", Extensible(2, 8, 0x30)), Chunk("data", Samples(8))}), ""},
        {"extensible 5.1", Riff({Chunk("fmt ", Extensible(6, 16, 0x3F)), Chunk("data", Samples(12))}), "AL_FORMAT_51CHN16"},
        {"extensible 6.1", Riff({Chunk("fmt ", Extensible(7, 16, 0x13F)), Chunk("data", Samples(14))}), "AL_FORMAT_61CHN16"},
        {"extensible 7.1", Riff({Chunk("fmt ", Extensible(8, 16, 0x63F)), Chunk("data", Samples(16))}), "AL_FORMAT_71CHN16"},
        {"extensible float", Riff({Chunk("fmt ", Extensible(1, 32, 0x4, FloatGuid)), Chunk("data", Samples(8))}), ""},
    };
    for (const CFormatCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const CLoaded loaded = Load(c.File);
        ASSERT_EQ(CWaves::WR_OK, loaded.Result) << loaded.Error;
        EXPECT_FALSE(loaded.Data.empty());
        if (*c.Format) {
            EXPECT_EQ(CWaves::WR_OK, loaded.FormatResult);
            EXPECT_EQ(c.Format, loaded.FormatName);
        } else {
            EXPECT_EQ(CWaves::WR_INVALIDWAVEFORMAT, loaded.FormatResult);
            EXPECT_NE(std::string::npos, loaded.Error.find("cannot be played")) << loaded.Error;
        }
    }
}

TEST(WavReader, WalksTheChunksAsWritersLayThemOut)
{
    const CBytes samples = Samples(10);
    const std::vector<std::pair<const char*, CBytes>> cases = {
        {"format chunk of 18 bytes", Riff({Chunk("fmt ", [] {
                                                CBytes f = Format(1, 1, 22050, 16);
                                                PutU16(f, 0);
                                                return f;
                                            }()),
                                            Chunk("data", samples)})},
        {"odd chunk and its pad byte before the data",
         Riff({Chunk("fmt ", Format(1, 1, 22050, 16)), Chunk("LIST", Samples(3)), Chunk("data", samples)})},
        {"tags in other letter cases", Riff({Chunk("FMT ", Format(1, 1, 22050, 16)), Chunk("DATA", samples)}, "riff", "wave")},
        {"chunks after the data", Riff({Chunk("fmt ", Format(1, 1, 22050, 16)), Chunk("data", samples), Chunk("id3 ", Samples(6))})},
        {"odd last chunk without its pad byte",
         Riff({Chunk("fmt ", Format(1, 1, 22050, 16)), Chunk("data", samples), Chunk("note", Samples(3), -1, false)})},
        {"a few stray bytes at the end", [&] {
             CBytes f = Riff({Chunk("fmt ", Format(1, 1, 22050, 16)), Chunk("data", samples)});
             f.push_back(1);
             f.push_back(2);
             return f;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        const CLoaded loaded = Load(c.second);
        ASSERT_EQ(CWaves::WR_OK, loaded.Result) << loaded.Error;
        EXPECT_EQ(samples, loaded.Data);
        EXPECT_EQ(22050u, loaded.Frequency);
    }
}

TEST(WavReader, DropsAPartialFrameAtTheEnd)
{
    // Stereo 16-bit frames are 4 bytes: of 11 bytes, 8 are whole frames.
    const CLoaded loaded = Load(Riff({Chunk("fmt ", Format(1, 2, 8000, 16)), Chunk("data", Samples(11))}));
    ASSERT_EQ(CWaves::WR_OK, loaded.Result);
    EXPECT_EQ(8u, loaded.Data.size());
}

TEST(WavReader, RefusesMalformedFilesWithTheReason)
{
    const CBytes fmt = Chunk("fmt ", Format(1, 1, 22050, 16));
    CBytes truncated = Mono16(64);
    truncated.resize(truncated.size() - 10);
    const std::vector<std::tuple<const char*, CBytes, const char*>> cases = {
        {"empty", CBytes(), "not a RIFF/WAVE file"},
        {"header only", Riff({}), "no format chunk"},
        {"not RIFF", [] {
             CBytes f = Mono16();
             std::memcpy(f.data(), "OggS", 4);
             return f;
         }(),
         "not a RIFF/WAVE file"},
        {"not WAVE", Riff({fmt, Chunk("data", Samples(8))}, "RIFF", "AVI "), "not a RIFF/WAVE file"},
        {"truncated in the data", truncated, "'data' chunk of 64 bytes runs past the end of the file"},
        {"chunk size larger than the file", Riff({fmt, Chunk("LIST", Samples(4), 0x7FFFFFFF), Chunk("data", Samples(8))}),
         "'LIST' chunk of 2147483647 bytes runs past the end of the file"},
        {"data size of 4 GB", Riff({fmt, Chunk("data", Samples(8), 0xFFFFFFFF)}), "runs past the end of the file"},
        {"zero-length data", Riff({fmt, Chunk("data", CBytes())}), "data chunk holds no samples"},
        {"less than one frame of data", Riff({fmt, Chunk("data", Samples(1))}), "data chunk holds no samples"},
        {"no data chunk", Riff({fmt}), "no data chunk"},
        {"no format chunk", Riff({Chunk("data", Samples(8))}), "no format chunk"},
        {"unknown format tag", Riff({Chunk("fmt ", Format(3, 1, 22050, 32)), Chunk("data", Samples(8))}),
         "sample format (format tag 3) is not supported"},
        {"ADPCM", Riff({Chunk("fmt ", Format(2, 1, 22050, 4)), Chunk("data", Samples(8))}),
         "sample format (format tag 2) is not supported"},
        {"format chunk over 40 bytes", Riff({Chunk("fmt ", [] {
                                                  CBytes f = Extensible(2, 16, 3);
                                                  PutU16(f, 0);
                                                  return f;
                                              }()),
                                              Chunk("data", Samples(8))}),
         "format chunk is longer than 40 bytes"},
        {"plain format chunk too short", Riff({Chunk("fmt ", [] {
                                                   CBytes f = Format(1, 1, 22050, 16);
                                                   f.resize(10);
                                                   return f;
                                               }()),
                                               Chunk("data", Samples(8))}),
         "format chunk is too short"},
        {"extensible format chunk too short", Riff({Chunk("fmt ", Format(0xFFFE, 2, 22050, 16)), Chunk("data", Samples(8))}),
         "format chunk is too short"},
        {"no channels", Riff({Chunk("fmt ", Format(1, 0, 22050, 16)), Chunk("data", Samples(8))}),
         "no channels, sample rate or sample size"},
        {"no sample rate", Riff({Chunk("fmt ", Format(1, 1, 0, 16)), Chunk("data", Samples(8))}),
         "no channels, sample rate or sample size"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::get<0>(c));
        const CLoaded loaded = Load(std::get<1>(c));
        EXPECT_EQ(CWaves::WR_BADWAVEFILE, loaded.Result);
        EXPECT_NE(std::string::npos, loaded.Error.find(std::get<2>(c))) << loaded.Error;
    }
}

TEST(WavReader, ReadsFilesFromDisk)
{
    CTempDir dir;
    const CBytes bytes = Mono16(32);
    std::ofstream(dir.File("a.wav"), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    CWaves waves;
    int id = -1;
    ASSERT_EQ(CWaves::WR_OK, waves.LoadWaveFile(dir.File("a.wav").c_str(), &id));
    std::uint32_t size = 0;
    EXPECT_EQ(CWaves::WR_OK, waves.GetWaveSize(id, &size));
    EXPECT_EQ(32u, size);

    EXPECT_EQ(CWaves::WR_INVALIDFILENAME, waves.LoadWaveFile(dir.File("missing.wav").c_str(), &id));
    EXPECT_EQ("the file cannot be opened", waves.GetLastError());
    EXPECT_EQ(CWaves::WR_INVALIDPARAM, waves.LoadWaveFile(nullptr, &id));
    EXPECT_EQ(CWaves::WR_INVALIDPARAM, waves.LoadWaveFile(dir.File("a.wav").c_str(), nullptr));
}

TEST(WavReader, SlotsAndIds)
{
    CWaves waves;
    const CBytes bytes = Mono16(4);
    int id = -1;
    for (int i = 0; i < CWaves::MaxWaves; ++i) {
        ASSERT_EQ(CWaves::WR_OK, waves.LoadWaveMemory(bytes.data(), bytes.size(), &id));
        ASSERT_EQ(i, id);
    }
    EXPECT_EQ(CWaves::WR_OUTOFMEMORY, waves.LoadWaveMemory(bytes.data(), bytes.size(), &id));

    // A freed slot is the next one taken.
    EXPECT_EQ(CWaves::WR_OK, waves.DeleteWaveFile(17));
    EXPECT_EQ(CWaves::WR_INVALIDWAVEID, waves.DeleteWaveFile(17));
    ASSERT_EQ(CWaves::WR_OK, waves.LoadWaveMemory(bytes.data(), bytes.size(), &id));
    EXPECT_EQ(17, id);

    const void* data = nullptr;
    std::uint32_t value = 0;
    int format = 0;
    for (int bad : {-1, CWaves::MaxWaves, 5000}) {
        EXPECT_EQ(CWaves::WR_INVALIDWAVEID, waves.GetWaveData(bad, &data));
        EXPECT_EQ(CWaves::WR_INVALIDWAVEID, waves.GetWaveSize(bad, &value));
        EXPECT_EQ(CWaves::WR_INVALIDWAVEID, waves.GetWaveFrequency(bad, &value));
        EXPECT_EQ(CWaves::WR_INVALIDWAVEID, waves.GetWaveALBufferFormat(bad, &RememberName, &format));
        EXPECT_EQ(CWaves::WR_INVALIDWAVEID, waves.DeleteWaveFile(bad));
    }
    EXPECT_EQ(CWaves::WR_INVALIDPARAM, waves.GetWaveData(0, nullptr));
    EXPECT_EQ(CWaves::WR_INVALIDPARAM, waves.GetWaveSize(0, nullptr));
    EXPECT_EQ(CWaves::WR_INVALIDPARAM, waves.GetWaveFrequency(0, nullptr));
    EXPECT_EQ(CWaves::WR_INVALIDPARAM, waves.GetWaveALBufferFormat(0, nullptr, &format));
    // A format the sound library does not know is refused, not returned as 0.
    EXPECT_EQ(CWaves::WR_INVALIDWAVEFORMAT, waves.GetWaveALBufferFormat(0, &KnowsNothing, &format));
    EXPECT_EQ("the sound library does not know AL_FORMAT_MONO16", waves.GetLastError());
}
