// The drop-zone folder as the menus list it: which files are drop zones, and
// what the user is told of those that are not.

#include <fstream>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "app/DropZoneList.h"
#include "scene/DropZoneLevel.h"
#include "support/CapturingLogMgr.h"
#include "support/MessageCapture.h"
#include "support/TempDir.h"

namespace {

TEST(DropZoneList, FilesThatAreNoDropZoneAreNamedWithTheReason)
{
    CCapturingLogMgr log;
    CMessageCapture quiet;
    CTempDir folder;
    const struct
    {
        const char* file;
        const char* text;
        const char* reason; // empty: listed
    } files[] = {
        {"a-good.dz", "<scene FullName=\"Good\" />", ""},
        {"b-cut.dz", "<scene FullName=\"Cut\"><Target", "line 1, char 30: unexpected end of input"},
        {"c-profile.dz", "<Profile Name=\"me\" />", "its document element is not \"scene\""},
        {"d-nameless.dz", "<scene />", "its \"scene\" has no \"FullName\""},
        {"e-twin.dz", "<scene FullName=\"Good\" />", ""},
        {"notes.txt", "not a drop zone, not looked at", ""},
        {"notes.tmp", "the user's own", ""},
        {"a-good.dz.tmp", "<scene FullName=\"Good\"><Tar", ""},
    };
    for (const auto& f : files)
        std::ofstream(folder.File(f.file)) << f.text;

    sds::IGameMode::CDropZones dropZones;
    std::vector<std::string> names;
    std::vector<std::string> unreadable = {"from an earlier listing"};
    sds::ListDirectory(folder.Path() + "/", ".dz", dropZones, names, &unreadable);

    EXPECT_EQ(std::vector<std::string>{"Good"}, names);
    // A save cut off left its temporary copy; only such a copy goes.
    EXPECT_FALSE(boost::filesystem::exists(folder.File("a-good.dz.tmp")));
    EXPECT_TRUE(boost::filesystem::exists(folder.File("notes.tmp")));
    EXPECT_TRUE(log.HasContaining("a-good.dz.tmp, left by a save that was cut off"));
    const std::string good = dropZones.at("Good")->GetPath();
    ASSERT_NE(std::string::npos, good.find("a-good.dz")) << "the first of two namesakes";
    const std::string folderPrefix = good.substr(0, good.find("a-good.dz"));
    ASSERT_EQ(3u, unreadable.size());
    for (std::size_t i = 0; i < unreadable.size(); ++i) {
        const auto& f = files[i + 1];
        const std::string file = folderPrefix + f.file;
        EXPECT_EQ(0u, unreadable[i].find(file + ": " + f.reason)) << unreadable[i];
        EXPECT_TRUE(log.Has("Warning: '" + file + "' cannot be read and is skipped: " +
                            unreadable[i].substr(file.size() + 2)))
            << f.file;
    }
}

} // namespace
