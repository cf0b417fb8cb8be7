#include <gtest/gtest.h>

#include <fstream>

#include "physics/MemoryReadBuffer.h"
#include "physics/MemoryWriteBuffer.h"
#include "physics/PhyException.h"
#include "physics/UserStream.h"
#include "support/TempDir.h"

using physics::CPhyException;
using physics::details::MemoryReadBuffer;
using physics::details::MemoryWriteBuffer;
using physics::details::UserStream;

TEST(CookingStreams, WriteBufferGrowsByWhatIsMissingAndMore)
{
    MemoryWriteBuffer small;
    EXPECT_EQ(nullptr, small.GetData());
    small.StoreByte(1).StoreWord(2).StoreDword(3).StoreDouble(4.0);
    EXPECT_EQ(15u, small.GetCurrentSize());
    EXPECT_EQ(4097u, small.GetMaxSize());

    MemoryWriteBuffer large;
    const std::vector<std::uint8_t> block(5000, 7);
    large.StoreBuffer(block.data(), 5000);
    EXPECT_EQ(5000u, large.GetCurrentSize());
    EXPECT_EQ(9096u, large.GetMaxSize());
    EXPECT_EQ(0, large.ReadByte()); // a write buffer is not read
}

TEST(CookingStreams, ReaderGivesBackWhatWasWrittenAndNoMore)
{
    MemoryWriteBuffer written;
    written.StoreByte(200).StoreWord(60000).StoreDword(4000000000u).StoreFloat(1.5f).StoreDouble(-2.25);
    const char text[] = "tail";
    written.StoreBuffer(text, 4);

    MemoryReadBuffer reader(written.GetData(), written.GetCurrentSize());
    EXPECT_EQ(200, reader.ReadByte());
    EXPECT_EQ(60000, reader.ReadWord());
    EXPECT_EQ(4000000000u, reader.ReadDword());
    EXPECT_EQ(1.5f, reader.ReadFloat());
    EXPECT_EQ(-2.25, reader.ReadDouble());
    char tail[4];
    reader.ReadBuffer(tail, 4);
    EXPECT_EQ(std::string("tail"), std::string(tail, 4));
    EXPECT_EQ(0u, reader.GetBytesLeft());
    EXPECT_THROW(reader.ReadByte(), CPhyException);

    MemoryReadBuffer shortReader(written.GetData(), 3);
    shortReader.ReadByte();
    try
    {
        shortReader.ReadDword();
        FAIL() << "read past the end";
    }
    catch (const CPhyException& e)
    {
        EXPECT_STREQ("MemoryReadBuffer: a read of 4 bytes passes the end (2 bytes left)", e.what());
    }
}

TEST(CookingStreams, FileStream)
{
    CTempDir dir;
    const std::string path = dir.File("mesh.bin");
    {
        UserStream out(path, false);
        out.StoreDword(42).StoreFloat(0.5f);
    }
    {
        UserStream in(path, true);
        EXPECT_EQ(42u, in.ReadDword());
        EXPECT_EQ(0.5f, in.ReadFloat());
        EXPECT_THROW(in.ReadByte(), CPhyException);
    }
    try
    {
        UserStream missing(dir.File("missing.bin"), true);
        FAIL() << "opened a missing file";
    }
    catch (const CPhyException& e)
    {
        EXPECT_EQ("Could not open '" + dir.File("missing.bin") + "' for reading: No such file or directory",
                  std::string(e.what()));
    }
}
