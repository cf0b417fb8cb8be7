#include "support/FuzzCorpus.h"

#include "fuzz/physics/PhsReaderFuzz.h"

// The reader's seeds: good files and bad.
TEST(PhsReaderFuzz, SeedCorpusRunsThrough)
{
    ExpectCorpusRunsThrough("fuzz/physics/corpus/phs_reader", sds::fuzz::FuzzPhsReader);
}
