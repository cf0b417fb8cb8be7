#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <boost/filesystem.hpp>

#include "AppFixture.h"
#include "app/ProfileMgr.h"
#include "core/Exception.h"
#include "core/XmlFile.h"
#include "support/TempDir.h"

using namespace sds;
namespace fs = boost::filesystem;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

CJumpRecord MakeJump(std::uint32_t number)
{
    xml::CNodePtr info(new xml::CNode("JumpInfo", false));
    info->AddChild("Info", "1:23")->AddAttribute("Name", "Flight time");
    info->AddChild("Info", std::to_string(number))->AddAttribute("Name", "Jump #");
    xml::CNodePtr landing = info->AddChild("LandingInfo");
    landing->AddChild("Info", "3.5")->AddAttribute("Units", "m/s");
    return CJumpRecord(number, "Skorvel \"North\" & <South>", "Jump_" + std::to_string(number) + ".trajectory",
                       CVector(1.5f, 2000.0f, -3.25f), CVector(0.0f, 0.5f, 100.0f), info);
}

const char* const VALID_PROFILE = "<Profile Name=\"x\" Path=\"y\"><Jump Number=\"1\" Location=\"L\" DataFile=\"J\" "
                                  "StartPos=\"0,0,0\" FinishPos=\"1,1,1\"/></Profile>";

} // namespace

class Profiles : public ::testing::Test
{
protected:
    std::string Folder() const { return m_Dir.File("profiles") + "/"; }
    std::string FileOf(const std::string& name) const { return Folder() + name + "/" + name + ".profile"; }

    std::unique_ptr<CProfileMgr> MakeMgr(const std::string& path = "")
    {
        return std::unique_ptr<CProfileMgr>(
            new CProfileMgr(ParseElement("<Profiles Path=\"" + (path.empty() ? Folder() : path) + "\"/>")));
    }

    std::vector<std::string> Errors() const
    {
        std::vector<std::string> errors;
        for (const std::string& line : m_Log.m_Lines)
            if (line.compare(0, 7, "Error: ") == 0)
                errors.push_back(line);
        return errors;
    }

    CCapturingLogMgr m_Log;
    CMessageCapture m_XmlMessages;
    CTempDir m_Dir;
};

TEST_F(Profiles, EmptyFolderGetsADefaultProfile)
{
    auto mgr = MakeMgr();
    EXPECT_EQ(std::vector<std::string>{"default"}, mgr->GetProfiles());
    EXPECT_TRUE(m_Log.Has("Created profile default"));
    ASSERT_TRUE(mgr->GetCurrentProfile());
    EXPECT_EQ("default", mgr->GetCurrentProfile()->GetName());

    const xml::CNodePtr profile = xml::LoadXmlFile(FileOf("default"))->GetChild("Profile");
    EXPECT_EQ("default", profile->GetAttribute("Name")->GetValue());
    EXPECT_EQ(Folder() + "default/", profile->GetAttribute("Path")->GetValue());
    EXPECT_EQ(2u, profile->GetAttributes().size());
    EXPECT_TRUE(profile->GetChildren().empty());
}

TEST_F(Profiles, FolderPathGetsItsSeparator)
{
    auto mgr = MakeMgr(m_Dir.File("nested"));
    EXPECT_EQ(m_Dir.File("nested") + "/", mgr->GetPath());
    EXPECT_TRUE(fs::exists(m_Dir.File("nested/default/default.profile")));
}

TEST_F(Profiles, OnlyFoldersWithTheirOwnFileAreProfiles)
{
    for (const char* name : {"bob", "Zed", "anna"})
        WriteFile(FileOf(name), VALID_PROFILE);
    fs::create_directories(Folder() + "empty");
    WriteFile(Folder() + "loose.profile", VALID_PROFILE);
    WriteFile(Folder() + "wrong/other.profile", VALID_PROFILE);

    auto mgr = MakeMgr();
    EXPECT_EQ((std::vector<std::string>{"Zed", "anna", "bob"}), mgr->GetProfiles());
    EXPECT_FALSE(m_Log.HasContaining("Created profile"));
    EXPECT_FALSE(mgr->GetCurrentProfile());
}

TEST_F(Profiles, StoredNameAndPathCannotMoveTheProfile)
{
    WriteFile(FileOf("anna"), "<Profile Name=\"root\" Path=\"" + m_Dir.File("elsewhere") + "/\"/>");
    auto mgr = MakeMgr();
    mgr->SelectProfile("anna", false);
    EXPECT_EQ("anna", mgr->GetCurrentProfile()->GetName());
    EXPECT_EQ(Folder() + "anna/", mgr->GetCurrentProfile()->GetPath());
    mgr->GetCurrentProfile()->AddJump(MakeJump(1));
    EXPECT_FALSE(fs::exists(m_Dir.File("elsewhere")));
    EXPECT_NE(std::string::npos, ReadFile(FileOf("anna")).find("Path=\"" + Folder() + "anna/\""));
}

TEST_F(Profiles, SelectingLoadsCreatesAndSavesThePrevious)
{
    auto mgr = MakeMgr();
    mgr->SelectProfile("default", true);
    fs::remove(FileOf("default"));

    mgr->SelectProfile("pilot", true);
    EXPECT_EQ("pilot", mgr->GetCurrentProfile()->GetName());
    EXPECT_TRUE(m_Log.Has("Created profile pilot"));
    // Releasing the previous profile wrote it again.
    EXPECT_TRUE(fs::exists(FileOf("default")));
    EXPECT_EQ((std::vector<std::string>{"default", "pilot"}), mgr->GetProfiles());

    EXPECT_THROW(mgr->SelectProfile("ghost", false), CException);
    EXPECT_EQ("pilot", mgr->GetCurrentProfile()->GetName());
}

TEST_F(Profiles, JumpsSurviveSaveAndLoadUnchanged)
{
    {
        auto mgr = MakeMgr();
        mgr->CreateProfile("anna");
        EXPECT_TRUE(mgr->GetCurrentProfile()->AddJump(MakeJump(1)));
        EXPECT_TRUE(mgr->GetCurrentProfile()->AddJump(MakeJump(2)));
    }
    const std::string written = ReadFile(FileOf("anna"));

    auto mgr = MakeMgr();
    mgr->SelectProfile("anna", false);
    const std::shared_ptr<CProfile> profile = mgr->GetCurrentProfile();
    EXPECT_EQ(Folder() + "anna/", profile->GetPath());
    ASSERT_EQ(2u, profile->GetJumps().size());
    for (std::uint32_t i = 0; i < 2; ++i) {
        const CJumpRecord expected = MakeJump(i + 1);
        const CJumpRecord& jump = profile->GetJumps()[i];
        EXPECT_EQ(expected.Number, jump.Number);
        EXPECT_EQ(expected.Location, jump.Location);
        EXPECT_EQ(expected.DataFile, jump.DataFile);
        EXPECT_EQ(expected.StartPos, jump.StartPos);
        EXPECT_EQ(expected.FinishPos, jump.FinishPos);
        EXPECT_EQ(expected.GetInfo()->GetChildren().size(), jump.GetInfo()->GetChildren().size());
        EXPECT_TRUE(xml::Contains(*expected.GetInfo(), *jump.GetInfo()));
        EXPECT_TRUE(xml::Contains(*jump.GetInfo(), *expected.GetInfo()));
    }
    // Loading and saving again gives the same file, byte for byte.
    EXPECT_TRUE(profile->Save());
    EXPECT_EQ(written, ReadFile(FileOf("anna")));
}

TEST_F(Profiles, AJumpKeepsACompactCopyOfItsRows)
{
    xml::CNodePtr info(new xml::CNode("JumpInfo", false));
    for (int row = 0; row < 30; ++row)
        info->AddChild("Info", std::to_string(row * 1.5f))->AddAttribute("Name", "Row " + std::to_string(row));
    const CJumpRecord jump(1, "Home Field", "Jump_1.trajectory", CVector::ZERO, CVector::ZERO, info);
    std::ostringstream text;
    xml::WriteNode(text, *info, "");
    // A profile keeps every jump of its user: the rows take fewer bytes than
    // their text in the file, and the node they came from is not held.
    EXPECT_LT(jump.GetInfoSize(), text.str().size());
    info->AddChild("Info", "later");
    EXPECT_EQ(30u, jump.GetInfo()->GetChildren().size());
}

TEST_F(Profiles, EmptyJumpNumberIsABadValue)
{
    try {
        CProfile::ReadJumps(ParseElement("<Profile><Jump Number=\"\" Location=\"L\" DataFile=\"J\" "
                                         "StartPos=\"0,0,0\" FinishPos=\"1,1,1\"/></Profile>"));
        FAIL();
    } catch (const xml::CBadValueException& e) {
        EXPECT_EQ("Profile->Jump->>Number has an empty value", std::string(e.what()));
    }
}

TEST_F(Profiles, NumbersAndPositionsThatCannotBeReadAreKeptAsTheyWereAndWarnedAbout)
{
    const std::string jumps =
        "<Profile Name=\"anna\" Path=\"x\">"
        "<Jump Number=\"abc\" Location=\"L\" DataFile=\"J1\" StartPos=\"nan,nan,nan\" FinishPos=\"1,2,3\" />"
        "<Jump Number=\"99999999999\" Location=\"L\" DataFile=\"J2\" StartPos=\"1,inf,3\" FinishPos=\"4,5\" />"
        "<Jump Number=\" 7 \" Location=\"L\" DataFile=\"J3\" StartPos=\"1, 2, 3\" FinishPos=\"-1,0.5,2\" />"
        "</Profile>";
    WriteFile(FileOf("anna"), jumps);
    auto mgr = MakeMgr();
    mgr->SelectProfile("anna", false);
    const std::shared_ptr<CProfile> profile = mgr->GetCurrentProfile();
    ASSERT_EQ(3u, profile->GetJumps().size());

    // What cannot be read counts 0, never NaN; what can is read.
    const CJumpRecord& first = profile->GetJumps()[0];
    EXPECT_EQ(0u, first.Number);
    EXPECT_EQ(CVector::ZERO, first.StartPos);
    EXPECT_EQ(CVector(1.0f, 2.0f, 3.0f), first.FinishPos);
    EXPECT_EQ(7u, profile->GetJumps()[2].Number);
    EXPECT_TRUE(profile->GetJumps()[2].Unreadable.empty());

    EXPECT_EQ(2u, profile->GetReadWarnings().size());
    EXPECT_TRUE(m_Log.Has("Warning: Profile " + FileOf("anna") +
                          ", jump 1: Number 'abc', StartPos 'nan,nan,nan' cannot be read; kept as it is"));
    EXPECT_TRUE(m_Log.Has("Warning: Profile " + FileOf("anna") +
                          ", jump 2: FinishPos '4,5', Number '99999999999', StartPos '1,inf,3' cannot be read; "
                          "kept as it is"));
    const std::vector<std::string> notices = mgr->TakeNotices();
    ASSERT_EQ(1u, notices.size());
    EXPECT_NE(std::string::npos, notices[0].find(FileOf("anna"))) << notices[0];

    // Written back, the texts are as they were, not zeros.
    ASSERT_TRUE(profile->Save());
    const std::string written = ReadFile(FileOf("anna"));
    for (const char* kept : {"Number=\"abc\"", "StartPos=\"nan,nan,nan\"", "Number=\"99999999999\"",
                             "StartPos=\"1,inf,3\"", "FinishPos=\"4,5\""})
        EXPECT_NE(std::string::npos, written.find(kept)) << kept << "\n" << written;
}

TEST_F(Profiles, DamagedProfilesAreReportedAndSkipped)
{
    WriteFile(FileOf("anna"), VALID_PROFILE);
    const std::pair<const char*, const char*> damaged[] = {
        {"cut", "<Profile Name=\"cut\"><Jump Num"},
        {"other", "<Other/>"},
        {"nofinish", "<Profile><Jump Number=\"1\" Location=\"L\" DataFile=\"J\" StartPos=\"0,0,0\"/></Profile>"},
        {"nonumber", "<Profile><Jump Number=\"\" Location=\"L\" DataFile=\"J\" StartPos=\"0,0,0\" "
                     "FinishPos=\"0,0,0\"/></Profile>"},
    };
    for (const auto& profile : damaged)
        WriteFile(FileOf(profile.first), profile.second);

    auto mgr = MakeMgr();
    EXPECT_EQ(std::vector<std::string>{"anna"}, mgr->GetProfiles());
    ASSERT_EQ(4u, Errors().size());
    for (const auto& profile : damaged)
        EXPECT_TRUE(m_Log.HasContaining(std::string("Error: Profile '") + profile.first + "' is skipped: "));

    // Asked for by the settings at start-up: the first good profile is used.
    mgr->SelectProfile("cut", true);
    EXPECT_TRUE(m_Log.HasContaining("Error: Profile 'cut' could not be loaded: "));
    EXPECT_EQ("anna", mgr->GetCurrentProfile()->GetName());

    // Later on the current profile stays; the damaged file is left for the user.
    mgr->SelectProfile("other", true);
    EXPECT_EQ("anna", mgr->GetCurrentProfile()->GetName());
    mgr.reset();
    for (const auto& profile : damaged)
        EXPECT_EQ(profile.second, ReadFile(FileOf(profile.first)));
}

TEST_F(Profiles, DamagedDefaultIsKeptAndAnotherIsCreated)
{
    WriteFile(FileOf("default"), "not a profile");
    auto mgr = MakeMgr();
    EXPECT_EQ(std::vector<std::string>{"default2"}, mgr->GetProfiles());
    EXPECT_TRUE(m_Log.Has("Created profile default2"));
    EXPECT_EQ("not a profile", ReadFile(FileOf("default")));
}

TEST_F(Profiles, NamesThatCannotBeFolderNamesAreRefused)
{
    auto mgr = MakeMgr();
    const std::vector<std::string> refused = {
        "", "a/b", "a\\b", "..", "../escape", "a..b", ".", "tab\tname", std::string("nul\0x", 5), "del\x7f",
    };
    const auto before = std::distance(fs::directory_iterator(m_Dir.Path()), fs::directory_iterator());
    for (const std::string& name : refused) {
        for (bool create : {false, true}) {
            try {
                if (create)
                    mgr->CreateProfile(name);
                else
                    mgr->SelectProfile(name, true);
                FAIL() << name;
            } catch (const CException& e) {
                EXPECT_NE(std::string::npos, std::string(e.what()).find("is not allowed: it ")) << e.what();
            }
        }
    }
    try {
        mgr->CreateProfile("../escape");
    } catch (const CException& e) {
        EXPECT_STREQ("The profile name '../escape' is not allowed: it contains a slash or a backslash", e.what());
    }
    EXPECT_EQ(before, std::distance(fs::directory_iterator(m_Dir.Path()), fs::directory_iterator()));
    EXPECT_EQ(std::vector<std::string>{"default"}, mgr->GetProfiles());

    for (const char* name : {"Anna Smith", "a.b", "\xc3\x89milie"})
        mgr->CreateProfile(name);
    EXPECT_EQ((std::vector<std::string>{"Anna Smith", "a.b", "default", "\xc3\x89milie"}), mgr->GetProfiles());
}

TEST_F(Profiles, CreatingAnExistingProfileKeepsItsJumps)
{
    auto mgr = MakeMgr();
    mgr->CreateProfile("anna");
    mgr->GetCurrentProfile()->AddJump(MakeJump(1));
    try {
        mgr->CreateProfile("anna");
        FAIL();
    } catch (const CException& e) {
        EXPECT_STREQ("Profile 'anna' already exists", e.what());
    }
    EXPECT_EQ(1u, mgr->GetCurrentProfile()->GetJumps().size());
    EXPECT_NE(std::string::npos, ReadFile(FileOf("anna")).find("Jump_1.trajectory"));
}

TEST_F(Profiles, AWriteIsWholeOrNotAtAll)
{
    auto mgr = MakeMgr();
    mgr->CreateProfile("anna");
    mgr->GetCurrentProfile()->AddJump(MakeJump(1));
    mgr->GetCurrentProfile()->AddJump(MakeJump(2));
    const std::string file = FileOf("anna");
    const std::string twoJumps = ReadFile(file);

    // The old file's data is never written over: a second name for it still
    // reads the two jumps after the third is added.
    fs::create_hard_link(file, file + ".before");
    mgr->GetCurrentProfile()->AddJump(MakeJump(3));
    EXPECT_EQ(twoJumps, ReadFile(file + ".before"));
    const std::string threeJumps = ReadFile(file);
    EXPECT_NE(twoJumps, threeJumps);
    mgr.reset();

    // Killed in the middle of the next write: half a temporary file is left.
    WriteFile(file + ".tmp", threeJumps.substr(0, threeJumps.size() / 2));
    mgr = MakeMgr();
    EXPECT_EQ((std::vector<std::string>{"anna", "default"}), mgr->GetProfiles());
    EXPECT_TRUE(Errors().empty());
    mgr->SelectProfile("anna", false);
    EXPECT_EQ(3u, mgr->GetCurrentProfile()->GetJumps().size());
    EXPECT_TRUE(mgr->GetCurrentProfile()->AddJump(MakeJump(4)));
    EXPECT_FALSE(fs::exists(file + ".tmp"));

    // A write that cannot even start is reported and leaves the file as it was.
    const std::string fourJumps = ReadFile(file);
    fs::create_directory(file + ".tmp");
    EXPECT_FALSE(mgr->GetCurrentProfile()->AddJump(MakeJump(5)));
    EXPECT_TRUE(m_Log.Has("Error: Could not save profile 'anna' into " + file));
    EXPECT_EQ(fourJumps, ReadFile(file));
    EXPECT_EQ(5u, mgr->GetCurrentProfile()->GetJumps().size());
    fs::remove(file + ".tmp");
}
