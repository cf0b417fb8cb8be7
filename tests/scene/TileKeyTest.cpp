#include <gtest/gtest.h>

#include <stdexcept>

#include "scene/TileKey.h"

TEST(TileKey, ReadsTwoWholeNumbers)
{
    const struct
    {
        const char* m_Name;
        int x;
        int z;
    } cases[] = {{"0.0", 0, 0}, {"3.7", 3, 7}, {"-1.0", -1, 0}, {"12.-4", 12, -4}, {"+2.5", 2, 5}};
    for (const auto& c : cases) {
        const sds::CTileKey key = sds::ParseTileName(c.m_Name);
        EXPECT_EQ(c.x, key.x) << c.m_Name;
        EXPECT_EQ(c.z, key.z) << c.m_Name;
        EXPECT_EQ(key, sds::ParseTileName(sds::TileName(key))) << c.m_Name;
    }
}

// Anything but "X.Z" of whole numbers is refused with the one message, a part
// that is not a number included.
TEST(TileKey, RefusesOtherNames)
{
    for (const char* name : {"3", "3.4.5", "", ".", "3.", ".3", "a.b", "1.x", "1.2x", " 1.2", "99999999999.0", "1.5e3"}) {
        try {
            sds::ParseTileName(name);
            ADD_FAILURE() << "accepted '" << name << "'";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ("xz.size() == 2 && \"name should have format X.Z\"", e.what()) << name;
        }
    }
}

TEST(TileKey, OrdersByXThenZAsSignedNumbers)
{
    EXPECT_TRUE((sds::CTileKey{-1, 5} < sds::CTileKey{0, 0}));
    EXPECT_TRUE((sds::CTileKey{0, -1} < sds::CTileKey{0, 0}));
    EXPECT_FALSE((sds::CTileKey{1, 0} < sds::CTileKey{0, 9}));
}
