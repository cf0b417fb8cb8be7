#include <gtest/gtest.h>

#include <OgreLogManager.h>
#include <OgreRoot.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "core/XmlFile.h"
#include "core/ogre/OgreLogMgr.h"
#include "support/TempDir.h"

using wrappers::COgreLogMgr;

namespace {

std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// "HH:MM:SS:<frame> <text>"
bool IsLine(const std::string& line, unsigned frame, const std::string& text)
{
    static const std::regex form("([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]:([0-9]+) (.*)");
    std::smatch match;
    return std::regex_match(line, match, form) && match[2] == std::to_string(frame) && match[3] == text;
}

} // namespace

TEST(OgreLogMgr, WritesStampedLinesWithTheFrameCount)
{
    CTempDir dir;
    const std::string file = dir.File("test.log");
    {
        std::shared_ptr<sds::ILogMgr> log = wrappers::CreateLogMgr(file);
        EXPECT_EQ(log.get(), sds::ILogMgr::GetSingleton());
        log->LogMessage("Engine is started");
        log->LogError("x");
        static_cast<COgreLogMgr&>(*log).IncrementFrameCount();
        static_cast<COgreLogMgr&>(*log).IncrementFrameCount();
        log->LogWarning("y");
        // The XML layer reports into the log while it lives.
        xml::MessageHandler("from the xml layer");
        xml::ErrorMessageHandler("xml failure");
        // Lines are flushed at once.
        ASSERT_EQ(5u, ReadLines(file).size());
    }
    EXPECT_EQ(nullptr, sds::ILogMgr::GetSingleton());

    const std::vector<std::string> lines = ReadLines(file);
    ASSERT_EQ(6u, lines.size());
    EXPECT_TRUE(IsLine(lines[0], 0, "Engine is started")) << lines[0];
    EXPECT_TRUE(IsLine(lines[1], 0, "Error: x")) << lines[1];
    EXPECT_TRUE(IsLine(lines[2], 2, "Warning: y")) << lines[2];
    EXPECT_TRUE(IsLine(lines[3], 2, "from the xml layer")) << lines[3];
    EXPECT_TRUE(IsLine(lines[4], 2, "Error: xml failure")) << lines[4];
    EXPECT_TRUE(IsLine(lines[5], 2, "LogMgr is destroyed")) << lines[5];
}

TEST(OgreLogMgr, RenderingEngineMessagesShareTheFile)
{
    CTempDir dir;
    const std::string file = dir.File("test.log");
    {
        COgreLogMgr log(file);
        // The engine's root finds the log manager and logs its start-up into it.
        std::unique_ptr<Ogre::Root> root(new Ogre::Root("", "", dir.File("ignored.log")));
    }
    bool found = false;
    for (const std::string& line : ReadLines(file))
        found = found || IsLine(line, 0, "Creating resource group General");
    EXPECT_TRUE(found);
    EXPECT_FALSE(boost::filesystem::exists(dir.File("ignored.log")));
}

TEST(OgreLogMgr, MissingFolderThrowsAndLeavesNothingBehind)
{
    CTempDir dir;
    const std::string file = dir.File("no/such/folder/test.log");
    try {
        COgreLogMgr log(file);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_EQ("Could not open log file: '" + file + "'", e.what());
    }
    EXPECT_EQ(nullptr, sds::ILogMgr::GetSingleton());
    EXPECT_EQ(nullptr, Ogre::LogManager::getSingletonPtr());

    // A later log manager still works.
    COgreLogMgr log(dir.File("test.log"));
    log.LogMessage("after");
    EXPECT_TRUE(IsLine(ReadLines(dir.File("test.log")).at(0), 0, "after"));
}

TEST(OgreLogMgr, XmlWarningsGoToStandardErrorAfterwards)
{
    CTempDir dir;
    {
        COgreLogMgr log(dir.File("test.log"));
    }
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(xml::LoadXmlFromMemory("<a>", "broken.xml"), std::runtime_error);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, errors.find("Error at file broken.xml")) << errors;
    EXPECT_EQ(1u, ReadLines(dir.File("test.log")).size());
}
