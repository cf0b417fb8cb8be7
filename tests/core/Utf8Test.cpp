#include <gtest/gtest.h>

#include "core/Utf8.h"

TEST(Utf8, ByteThatBeginsNoSequenceStandsForItsLatin1Character)
{
    struct Case
    {
        const char* text;
        const char* valid;
    };
    const Case cases[] = {
        {"Plain ASCII", "Plain ASCII"},
        {"Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\xAA\x82", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\xAA\x82"},
        // A Latin-1 name from a file.
        {"Ren\xE9", "Ren\xC3\xA9"},
        // A cut sequence at the end and a stray continuation byte.
        {"a\xE2\x82", "a\xC3\xA2\xC2\x82"},
        {"\x80x", "\xC2\x80x"},
        // Overlong and surrogate forms are no characters.
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},
        {"\xFF", "\xC3\xBF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.valid, sds::ToValidUtf8(c.text)) << c.text;
}

TEST(Utf8, DecodeReadsOneCodePoint)
{
    EXPECT_EQ(std::make_pair(std::uint32_t(0x20AC), std::size_t(3)), sds::DecodeUtf8At("x\xE2\x82\xAC", 1));
    EXPECT_EQ(std::size_t(0), sds::DecodeUtf8At("\xE2\x82", 0).second);
}
