#include <gtest/gtest.h>

#include "graphics/memory/MemConsole.h"
#include "support/CapturingLogMgr.h"

namespace {

std::string Numbered(int i)
{
    return "line " + std::to_string(i);
}

} // namespace

TEST(Console, FixedLinesStayWhilePrintedLinesScroll)
{
    sds::CMemConsole console(31, 5);
    console.Clear();
    for (int i = 0; i < 40; ++i)
        console.Print(Numbered(i), false);
    console.Refresh();
    ASSERT_EQ(31u, console.GetNumLines());
    for (unsigned i = 0; i < 5; ++i)
        EXPECT_EQ("", console.GetLine(i));
    for (unsigned i = 5; i < 31; ++i)
        EXPECT_EQ(Numbered(14 + static_cast<int>(i) - 5), console.GetLine(i));
    EXPECT_EQ(console.GetText(), console.m_Drawn);
    EXPECT_EQ("", console.GetLine(31));
}

TEST(Console, PrintCutsAtLineBreaks)
{
    struct Case
    {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {{"a\n\nb", {"a", "", "b"}}, {"a\n", {"a"}}, {"\n", {""}}, {"", {}}};
    for (const Case& c : cases) {
        sds::CMemConsole console(31, 0);
        console.Print(c.text, true);
        ASSERT_EQ(c.lines.size(), console.GetNumLines()) << c.text;
        for (unsigned i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(c.lines[i], console.GetLine(i)) << c.text;
    }
}

TEST(Console, LineCountsAndFixedLines)
{
    {
        sds::CMemConsole console(31, 5);
        console.SetMaxLines(3);
        EXPECT_EQ(3u, console.GetFixedLines());
        EXPECT_EQ(3u, console.GetNumLines());
    }

    // A line below the maximum grows the console up to it.
    sds::CMemConsole grown(31, 5);
    grown.SetFixedLine(7, "status", false);
    EXPECT_EQ(8u, grown.GetNumLines());
    EXPECT_EQ("status", grown.GetLine(7));
    grown.SetFixedLine(0, "Altitude", true);
    EXPECT_EQ("Altitude\n", grown.m_Drawn.substr(0, 9));
}

TEST(Console, LineAtOrBeyondTheMaximumIsRefusedWithALogLine)
{
    CCapturingLogMgr log;
    sds::CMemConsole console(31, 5);
    console.Clear();
    for (unsigned index : {31u, 40u, 2000000000u, 4294967295u})
        console.SetFixedLine(index, "x", true);
    EXPECT_EQ(31u, console.GetNumLines());
    EXPECT_EQ(std::string(31, '\n'), console.m_Drawn);
    EXPECT_TRUE(log.Has("Warning: Console line 2000000000 is not set: the console has 31 lines"));
    EXPECT_EQ(4u, log.m_Lines.size());
}

TEST(Console, AllLinesFixedDropsTheNewest)
{
    sds::CMemConsole console(3, 3);
    console.Clear();
    console.SetFixedLines(5);
    console.Print("x\ny", true);
    EXPECT_EQ(3u, console.GetNumLines());
    EXPECT_EQ("", console.GetLine(2));
}
