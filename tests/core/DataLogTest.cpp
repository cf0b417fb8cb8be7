#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "core/DataLog.h"
#include "support/CapturingLogMgr.h"

using sds::CDataLog;

namespace {

std::string Text(CDataLog& log, std::size_t minimumColumns = 0)
{
    std::ostringstream out;
    log.WriteText(out, minimumColumns);
    return out.str();
}

std::string Csv(const CDataLog& log)
{
    std::ostringstream out;
    log.WriteCsv(out);
    return out.str();
}

} // namespace

TEST(DataLog, EmptyLog)
{
    CDataLog log;
    EXPECT_EQ("time,\n", Csv(log));
    EXPECT_EQ("", Text(log));
}

TEST(DataLog, RowsShareOneTimeAxisAndMissingCellsDiffer)
{
    CDataLog log;
    // Created in the reverse of name order: the output follows the names.
    log.SetCell("2000_b", 1.0f, 20.5f);
    log.SetCell("1000_a", 0.5f, 1.0f / 3.0f);
    log.GetColumn("1000_a").SetValue(1.0f, 7);

    EXPECT_EQ("time,\"1000_a\",\"2000_b\",\n"
              "0.5,\"0.333333\",\"\",\n"
              "1,\"7\",\"20.5\",\n",
              Csv(log));
    EXPECT_EQ("0.5\t0.333333\t0\t\n"
              "1\t7\t20.5\t\n",
              Text(log));
}

TEST(DataLog, TextPadsToTheMinimumColumns)
{
    CDataLog log;
    log.SetCell("1000_a", 2.0f, 5.0f);
    log.SetCell("1000_a", 3.0f, 6.0f);
    EXPECT_EQ("2\t5\t0\t0\t\n"
              "3\t6\t0\t0\t\n",
              Text(log, 3));
    ASSERT_EQ(3u, log.GetColumns().size());
    EXPECT_EQ("0", log.GetColumns().at("zzzzzzz1").GetCells().at(2.0f));
    EXPECT_EQ("0", log.GetColumns().at("zzzzzzz2").GetCells().at(2.0f));

    CDataLog empty;
    EXPECT_EQ("0\t0\t0\t\n", Text(empty, 2)); // padding starts at time 0
}

TEST(DataLog, LastWriteWinsAndQuotesAreEscaped)
{
    CDataLog log;
    log.GetColumn("say \"x\"").GetCell(1.0f) = "first";
    log.GetColumn("say \"x\"").GetCell(1.0f) = "a \"b\"";
    EXPECT_EQ("time,\"say \"\"x\"\"\",\n1,\"a \"\"b\"\"\",\n", Csv(log));
}

TEST(DataLog, NonFiniteTimesAreDroppedWithALogLine)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    CCapturingLogMgr logMgr;
    CDataLog log;
    log.SetCell("1000_a", 1.0f, 2.0f);
    log.SetCell("1000_a", nan, 3.0f);
    log.SetCell("1000_a", inf, 4.0f);
    log.GetColumn("1000_a").GetCell(-inf) = "5";
    log.GetColumn("1000_a").SetValue(nan, 6);
    log.SetCell("1000_a", 0.5f, 7.0f);
    log.SetCell("1001_b", -inf, 8.0f);

    EXPECT_EQ("time,\"1000_a\",\"1001_b\",\n0.5,\"7\",\"\",\n1,\"2\",\"\",\n", Csv(log));
    // A clock gone wrong would repeat the drop every step: one line per column.
    EXPECT_EQ((std::vector<std::string>{
                  "Warning: Data log: a cell at the time nan is dropped (and later ones of this column)",
                  "Warning: Data log: a cell at the time -inf is dropped (and later ones of this column)"}),
              logMgr.m_Lines);
}

TEST(DataLog, RegistryKeepsLogsByName)
{
    sds::GetDataLog("test-registry").SetCell("c", 1.0f, 2.0f);
    EXPECT_EQ(&sds::GetDataLog("test-registry"), &sds::GetDataLogs().at("test-registry"));
    EXPECT_EQ("2", sds::GetDataLog("test-registry").GetColumn("c").GetCell(1.0f));
    sds::GetDataLogs().erase("test-registry");
}
