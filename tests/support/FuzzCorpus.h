#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>

// Replays a fuzz target's seed corpus, `fuzz/<area>/corpus/<target>/`, good
// inputs and bad alike, so that every build runs them without libFuzzer.
inline void ExpectCorpusRunsThrough(const std::string& corpusFolder, int (*entry)(const std::uint8_t*, std::size_t))
{
    const boost::filesystem::path corpus = boost::filesystem::path(SDS_SOURCE_DIR) / corpusFolder;
    ASSERT_TRUE(boost::filesystem::is_directory(corpus));
    int inputs = 0;
    for (const auto& file : boost::filesystem::directory_iterator(corpus))
    {
        SCOPED_TRACE(file.path().filename().string());
        std::ifstream in(file.path().string(), std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(0, entry(bytes.data(), bytes.size()));
        ++inputs;
    }
    EXPECT_GT(inputs, 0);
}
