#include "support/FuzzCorpus.h"

#include "fuzz/sound/WavReaderFuzz.h"

// The fuzz target's seeds, well-formed and malformed files alike.
TEST(WavReaderFuzz, SeedCorpusRunsThrough)
{
    ExpectCorpusRunsThrough("fuzz/sound/corpus/wav_reader", sds::fuzz::FuzzWavReader);
}
