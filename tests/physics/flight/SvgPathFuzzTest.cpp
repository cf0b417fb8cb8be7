#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <boost/filesystem.hpp>

#include "fuzz/physics/SvgPathFuzz.h"

// Replays the path reader's fuzz seeds, good paths and bad, without libFuzzer.
TEST(SvgPathFuzz, SeedCorpusRunsThrough)
{
    const boost::filesystem::path corpus = boost::filesystem::path(SDS_SOURCE_DIR) / "fuzz/physics/corpus/svg_path";
    ASSERT_TRUE(boost::filesystem::is_directory(corpus));
    int inputs = 0;
    for (const auto& entry : boost::filesystem::directory_iterator(corpus))
    {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream file(entry.path().string(), std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_EQ(0, sds::fuzz::FuzzSvgPath(bytes.data(), bytes.size()));
        ++inputs;
    }
    EXPECT_GT(inputs, 0);
}
