#include "sound/WaveOutput.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include "support/TempDir.h"

namespace waveoutput {
namespace {

class CWaveBackend : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_File = m_Dir.File("mixed.wav");
        const std::string conf = m_Dir.File("alsoft.conf");
        std::ofstream(conf) << "[general]\ndrivers = wave\nchannels = mono\nsample-type = float32\n"
                               "frequency = "
                            << SampleRate << "\n[wave]\nfile = " << m_File << "\n";
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
        // OpenAL reads its configuration on first use: do it now, before any test.
        alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    }

    CTempDir m_Dir;
    std::string m_File;
};

CWaveBackend* const g_Backend =
    static_cast<CWaveBackend*>(::testing::AddGlobalTestEnvironment(new CWaveBackend));

} // namespace

const std::string& File()
{
    return g_Backend->m_File;
}

void WaitForMixed(double seconds)
{
    ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
    ASSERT_TRUE(device);
    auto getClock = reinterpret_cast<LPALCGETINTEGER64VSOFT>(alcGetProcAddress(device, "alcGetInteger64vSOFT"));
    ASSERT_TRUE(getClock);
    const auto clock = [&] {
        ALCint64SOFT ns = 0;
        getClock(device, ALC_DEVICE_CLOCK_SOFT, 1, &ns);
        return ns;
    };
    const ALCint64SOFT until = clock() + static_cast<ALCint64SOFT>(seconds * 1e9);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (clock() < until) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the wave device stopped mixing";
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

std::vector<float> Read()
{
    SF_INFO info = {};
    SNDFILE* file = sf_open(File().c_str(), SFM_READ, &info);
    if (!file)
        throw std::runtime_error("Cannot read " + File() + ": " + sf_strerror(nullptr));
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    if (info.channels != 1 || info.samplerate != SampleRate)
        throw std::runtime_error("The wave device did not write mono at the configured rate");
    return samples;
}

double Rms(const std::vector<float>& samples, double from, double to)
{
    const std::size_t begin = std::min(samples.size(), static_cast<std::size_t>(std::max(0.0, from) * SampleRate));
    const std::size_t end = std::min(samples.size(), static_cast<std::size_t>(std::max(0.0, to) * SampleRate));
    if (end <= begin)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / double(end - begin));
}

double PlayedLevel(const std::vector<float>& samples)
{
    double level = 0.0;
    for (double t = 0.0; t + 0.02 <= Duration(samples); t += 0.01)
        level = std::max(level, Rms(samples, t, t + 0.02));
    return level;
}

void WriteTone(const std::string& path, double seconds)
{
    SF_INFO info = {};
    info.samplerate = SampleRate;
    info.channels = 1;
    const bool ogg = path.size() > 4 && path.compare(path.size() - 4, 4, ".ogg") == 0;
    info.format = ogg ? (SF_FORMAT_OGG | SF_FORMAT_VORBIS) : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    std::vector<float> samples(static_cast<std::size_t>(seconds * SampleRate));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.5f * static_cast<float>(std::sin(2.0 * 3.14159265358979 * 440.0 * double(i) / SampleRate));
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("Cannot write " + path + ": " + sf_strerror(nullptr));
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
}

double Duration(const std::vector<float>& samples)
{
    return double(samples.size()) / SampleRate;
}

} // namespace waveoutput
