#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <boost/filesystem.hpp>

#include "fuzz/scene/SoReaderFuzz.h"

// Replays the fuzz target's seed corpus, well-formed and malformed files alike,
// so every build runs them without libFuzzer.
TEST(SoReaderFuzz, SeedCorpusRunsThrough)
{
    const boost::filesystem::path corpus = boost::filesystem::path(SDS_SOURCE_DIR) / "fuzz/scene/corpus/so_reader";
    ASSERT_TRUE(boost::filesystem::is_directory(corpus));
    int inputs = 0;
    for (const auto& entry : boost::filesystem::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream file(entry.path().string(), std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_EQ(0, sds::fuzz::FuzzSoReader(bytes.data(), bytes.size()));
        ++inputs;
    }
    EXPECT_GT(inputs, 0);
}
