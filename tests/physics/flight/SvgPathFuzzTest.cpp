#include "support/FuzzCorpus.h"

#include "fuzz/physics/SvgPathFuzz.h"

TEST(SvgPathFuzz, SeedCorpusRunsThrough)
{
    ExpectCorpusRunsThrough("fuzz/physics/corpus/svg_path", sds::fuzz::FuzzSvgPath);
}
