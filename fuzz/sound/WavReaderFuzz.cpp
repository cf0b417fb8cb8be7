#include "fuzz/sound/WavReaderFuzz.h"

#include <cstdlib>

#include "fuzz/FuzzTarget.h"
#include "sound/Waves.h"

namespace sds {
namespace fuzz {
namespace {

int AnyFormat(const char*)
{
    return 1;
}

} // namespace

int FuzzWavReader(const std::uint8_t* data, std::size_t size)
{
    using wrappers::details::CWaves;
    CWaves waves;
    int id = -1;
    if (waves.LoadWaveMemory(data, size, &id) != CWaves::WR_OK)
        return 0;

    const void* samples = nullptr;
    std::uint32_t bytes = 0;
    std::uint32_t frequency = 0;
    int format = 0;
    if (waves.GetWaveData(id, &samples) != CWaves::WR_OK || waves.GetWaveSize(id, &bytes) != CWaves::WR_OK ||
        waves.GetWaveFrequency(id, &frequency) != CWaves::WR_OK)
        std::abort();
    // The samples are a copy of part of the input: never more, never empty.
    if (bytes == 0 || bytes > size || frequency == 0)
        std::abort();
    waves.GetWaveALBufferFormat(id, &AnyFormat, &format);

    // Read every byte so the address sanitizer sees any overrun of the copy.
    const std::uint8_t* p = static_cast<const std::uint8_t*>(samples);
    volatile std::uint8_t sum = 0;
    for (std::uint32_t i = 0; i < bytes; ++i)
        sum = static_cast<std::uint8_t>(sum + p[i]);

    if (waves.DeleteWaveFile(id) != CWaves::WR_OK)
        std::abort();
    return 0;
}

} // namespace fuzz
} // namespace sds

SDS_FUZZ_EXPORT(sds::fuzz::FuzzWavReader)
