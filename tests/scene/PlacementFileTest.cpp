#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "core/Exception.h"
#include "dzgen/PlacementWriter.h"
#include "scene/PlacementFile.h"

namespace {

dzgen::CPlacementFileDesc TwoTiles()
{
    dzgen::CPlacementFileDesc desc;
    desc.m_FirstCorner[0] = -250;
    desc.m_FirstCorner[1] = -250;
    desc.m_SecondCorner[0] = 250;
    desc.m_SecondCorner[1] = 250;
    desc.m_TileSize[0] = desc.m_TileSize[1] = 125;
    dzgen::CPlacementFileDesc::CTile first;
    first.m_Key = {0, 0};
    first.m_Origin[0] = -250;
    first.m_Origin[2] = -250;
    first.m_Groups = {{"Tree.mesh", {{1, 0.5f, 2, 1, 30}, {10, 0.4f, 20, 1.2f, 200}}}, {"Pine.mesh", {{5, 1, 5, 0.9f, 0}}}};
    dzgen::CPlacementFileDesc::CTile second;
    second.m_Key = {3, -2};
    second.m_Origin[0] = 125;
    second.m_Groups = {{"Tree.mesh", {{7, 0, 8, 1, 90}}}};
    desc.m_Tiles = {first, second};
    return desc;
}

// Reads the bytes, keeping the warnings.
struct CRead
{
    explicit CRead(const std::string& bytes) : m_In(bytes), m_File(m_In, "test.so", [this](const std::string& w) { m_Warnings.push_back(w); }) {}

    std::vector<std::string> m_Warnings;
    std::istringstream m_In;
    sds::CPlacementFile m_File;
};

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

const std::size_t kFirstRecord = sds::CPlacementFile::kHeaderSize;
const std::size_t kOffsetInRecord = 22;

} // namespace

TEST(PlacementFile, ReadsWhatTheWriterWrote)
{
    CRead read(dzgen::EncodePlacementFile(TwoTiles()));
    const sds::CPlacementFile& file = read.m_File;
    EXPECT_EQ(sds::CVector(-250, 0, -250), file.GetFirstCorner());
    EXPECT_EQ(sds::CVector(250, 0, 250), file.GetSecondCorner());
    EXPECT_EQ(sds::CVector(125, 0, 125), file.GetTileSize());
    ASSERT_EQ(2u, file.GetTiles().size());
    EXPECT_EQ((sds::CTileKey{3, -2}), file.GetTiles()[1].m_Key);
    EXPECT_EQ(sds::CVector(-250, 0, -250), file.GetTiles()[0].m_Origin);
    EXPECT_EQ(2, file.GetTiles()[0].m_Groups);

    const std::vector<sds::CPlacementGroup> groups = read.m_File.ReadTile(file.GetTiles()[0]);
    ASSERT_EQ(2u, groups.size());
    EXPECT_EQ("Tree.mesh", groups[0].m_Mesh);
    ASSERT_EQ(2u, groups[0].m_Placements.size());
    const sds::CPlacement& p = groups[0].m_Placements[1];
    EXPECT_EQ(10, p.x);
    EXPECT_FLOAT_EQ(0.4f, p.y);
    EXPECT_EQ(20, p.z);
    EXPECT_FLOAT_EQ(1.2f, p.m_Scale);
    EXPECT_EQ(200, p.m_Yaw);
    EXPECT_EQ("Pine.mesh", groups[1].m_Mesh);
    EXPECT_EQ(1u, read.m_File.ReadTile(file.GetTiles()[1]).at(0).m_Placements.size());
    EXPECT_TRUE(read.m_Warnings.empty());
}

TEST(PlacementFile, RefusesAnotherHeader)
{
    const std::string good = dzgen::EncodePlacementFile(TwoTiles());
    std::string magic = good;
    magic[0] = 'E';
    magic[1] = 'R';
    std::string minor = good;
    minor[4] = 1;
    std::string major = good;
    major[2] = 2;
    for (const std::string& bytes : {magic, minor, major, std::string(), good.substr(0, 20)}) {
        try {
            CRead read(bytes);
            ADD_FAILURE() << "accepted a header of " << bytes.size() << " bytes";
        } catch (const sds::CException& e) {
            EXPECT_STREQ("Incorrect header: test.so", e.what());
        }
    }
}

// Each tile's data is found only through its offset, wherever it lies.
TEST(PlacementFile, FindsTileDataByItsOffset)
{
    std::string bytes = dzgen::EncodePlacementFile(TwoTiles());
    const std::size_t dataStart = kFirstRecord + 2 * sds::CPlacementFile::kTileRecordSize;
    bytes.insert(dataStart, "padding");
    for (int tile = 0; tile < 2; ++tile) {
        const std::size_t at = kFirstRecord + tile * sds::CPlacementFile::kTileRecordSize + kOffsetInRecord;
        std::uint32_t offset = 0;
        for (int i = 3; i >= 0; --i)
            offset = (offset << 8) | static_cast<unsigned char>(bytes[at + i]);
        PutU32(bytes, at, offset + 7);
    }
    CRead read(bytes);
    EXPECT_EQ("Pine.mesh", read.m_File.ReadTile(read.m_File.GetTiles()[0]).at(1).m_Mesh);
    EXPECT_EQ(90, read.m_File.ReadTile(read.m_File.GetTiles()[1]).at(0).m_Placements.at(0).m_Yaw);
}

// What the tables promise past the end of the file is left out with a warning.
TEST(PlacementFile, ShortFilesGiveWhatTheyHold)
{
    const std::string good = dzgen::EncodePlacementFile(TwoTiles());
    {
        std::string bytes = good;
        PutU32(bytes, 30, 1000);
        CRead read(bytes.substr(0, kFirstRecord + sds::CPlacementFile::kTileRecordSize + 5));
        EXPECT_EQ(1000u, read.m_File.GetTileCount());
        EXPECT_EQ(1u, read.m_File.GetTiles().size());
        EXPECT_EQ(1u, read.m_Warnings.size());
        EXPECT_TRUE(read.m_File.ReadTile(read.m_File.GetTiles()[0]).empty());
    }
    {
        std::string bytes = good;
        PutU32(bytes, kFirstRecord + kOffsetInRecord, 1u << 30);
        CRead read(bytes);
        EXPECT_TRUE(read.m_File.ReadTile(read.m_File.GetTiles()[0]).empty());
        EXPECT_EQ(1u, read.m_Warnings.size());
    }
    {
        // The last group's placements end early: that group is dropped, the one before kept.
        dzgen::CPlacementFileDesc desc = TwoTiles();
        desc.m_Tiles.pop_back();
        CRead read(dzgen::EncodePlacementFile(desc).substr(0, dzgen::EncodePlacementFile(desc).size() - 3));
        const auto groups = read.m_File.ReadTile(read.m_File.GetTiles()[0]);
        ASSERT_EQ(1u, groups.size());
        EXPECT_EQ(2u, groups[0].m_Placements.size());
        EXPECT_EQ(1u, read.m_Warnings.size());
    }
}

TEST(PlacementFile, EmptyTilesAndPlacementsThatAreNoNumbers)
{
    dzgen::CPlacementFileDesc desc = TwoTiles();
    desc.m_Tiles[1].m_Groups.clear();
    desc.m_Tiles[0].m_Groups[0].m_Placements[0].x = std::numeric_limits<float>::quiet_NaN();
    desc.m_Tiles[0].m_Groups[1].m_Placements[0].m_Scale = std::numeric_limits<float>::infinity();
    CRead read(dzgen::EncodePlacementFile(desc));
    EXPECT_TRUE(read.m_File.ReadTile(read.m_File.GetTiles()[1]).empty());
    const auto groups = read.m_File.ReadTile(read.m_File.GetTiles()[0]);
    EXPECT_EQ(1u, groups.at(0).m_Placements.size());
    EXPECT_EQ(0u, groups.at(1).m_Placements.size());
    EXPECT_EQ(2u, read.m_Warnings.size());
}
