// The presets file: finding, matching, storing and deleting presets.

#include <fstream>
#include <iterator>

#include <boost/filesystem.hpp>

#include <gtest/gtest.h>

#include "core/XmlFile.h"
#include "gui/menus/PresetsDocument.h"
#include "support/CapturingLogMgr.h"
#include "support/DiskResourceMgr.h"
#include "support/TempDir.h"

using sds::GuiStates::CPresetsDocument;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PresetsDocumentTest : public ::testing::Test
{
protected:
    // A document of one preset "P" with the rows given.
    CPresetsDocument Document(const std::string& rows)
    {
        std::ofstream(m_Folder.File("presets.xml")) << "<Presets>\n\t<Preset Name=\"P\">" << rows
                                                     << "</Preset>\n\t<Preset Name=\"Q\" />\n</Presets>";
        return CPresetsDocument(m_Folder.File("presets.xml"));
    }

    static xml::CNodePtr Settings(const std::string& rows)
    {
        return xml::LoadXmlFromMemory("<Preset>" + rows + "</Preset>", "settings.xml")->GetChild("Preset");
    }

    CDiskResourceMgr m_Resources;
    CTempDir m_Folder;
};

// Values match as texts; every stored row needs a built row whose attributes
// it carries. The built settings may hold more rows than the preset.
TEST_F(PresetsDocumentTest, APresetMatchesSettingsThatHoldEachOfItsRows)
{
    const std::string built = R"(<Info Name="Altitude" Units="Distance">60.96</Info><Info Name="Altimeter">Neptune</Info>)";
    const struct
    {
        const char* Stored;
        bool Matches;
    } cases[] = {
        {R"(<Info Name="Altitude" Units="Distance">60.96</Info><Info Name="Altimeter">Neptune</Info>)", true},
        {R"(<Info Name="Altimeter">Neptune</Info>)", true},
        {R"(<Info Name="Altitude" Units="Distance" Note="x">60.96</Info>)", true},
        {R"(<Info Name="Altitude">60.96</Info>)", false},
        {R"(<Info Name="Altitude" Units="Distance">60.960</Info>)", false},
        {R"(<Info Name="Altitude" Units="Speed">60.96</Info>)", false},
        {R"(<Info Name="Altimeter">Neptune</Info><Info Name="Input type">Student</Info>)", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Matches, Document(c.Stored).PresetMatches(Settings(built), "P")) << c.Stored;
}

TEST_F(PresetsDocumentTest, StoringReplacesAndMovesLastAndDeletingRemoves)
{
    CPresetsDocument presets = Document(R"(<Info Name="Altimeter">Neptune</Info>)");
    EXPECT_EQ((std::vector<std::string>{"P", "Q"}), presets.GetNames());

    presets.StorePreset("P", Settings(R"(<Info Name="Altimeter">AltimasterIII (feet)</Info>)"));
    EXPECT_EQ((std::vector<std::string>{"Q", "P"}), presets.GetNames());
    EXPECT_EQ("AltimasterIII (feet)", presets.FindPreset("P")->GetChild("Info")->GetValue());

    EXPECT_THROW(presets.DeletePreset("R"), xml::CNoNodeException);
    presets.DeletePreset("Q");
    presets.DeletePreset("P");
    EXPECT_TRUE(presets.GetNames().empty());
    presets.DeletePreset("P");
    EXPECT_FALSE(presets.PresetMatches(Settings(""), "P")) << "no preset matches nothing";

    // What is written is what a fresh document reads.
    presets.StorePreset("New", Settings(R"(<Info Name="Random wind">1</Info>)"));
    ASSERT_TRUE(presets.Save());
    const CPresetsDocument reread(m_Folder.File("presets.xml"));
    EXPECT_EQ(std::vector<std::string>{"New"}, reread.GetNames());
    EXPECT_EQ("1", reread.FindPreset("New")->GetChild("Info")->GetValue());
}

TEST_F(PresetsDocumentTest, AFileThatCannotBeUsedIsSetAside)
{
    CCapturingLogMgr log;
    for (const char* damaged : {"<Settings />", "<Presets><Preset Name=\"P\">", "<Presets><Preset /></Presets>"}) {
        SCOPED_TRACE(damaged);
        std::ofstream(m_Folder.File("presets.xml")) << damaged;
        const CPresetsDocument presets(m_Folder.File("presets.xml"));
        EXPECT_TRUE(presets.GetNames().empty()) << "no built-in copy here: no presets";
        EXPECT_EQ(damaged, ReadFile(m_Folder.File("presets.xml.bad")));
        EXPECT_NE(std::string::npos, presets.GetNotice().find("It is kept as " + m_Folder.File("presets.xml.bad")))
            << presets.GetNotice();
    }
}

TEST_F(PresetsDocumentTest, ASaveKeepsTheHeaderCommentAndRemovesWhatACutSaveLeft)
{
    const std::string header = "<!--\n\tJump presets, written back whenever one is saved.\n-->\n";
    std::ofstream(m_Folder.File("presets.xml")) << "<?xml version=\"1.0\" ?>\n" << header << "<Presets />\n";
    std::ofstream(m_Folder.File("presets.xml.tmp")) << "<Presets><Pre";
    CCapturingLogMgr log;

    CPresetsDocument presets(m_Folder.File("presets.xml"));
    EXPECT_FALSE(boost::filesystem::exists(m_Folder.File("presets.xml.tmp")));
    EXPECT_EQ("", presets.GetNotice());
    presets.StorePreset("New", Settings(R"(<Info Name="Random wind">1</Info>)"));
    ASSERT_TRUE(presets.Save());
    ASSERT_TRUE(presets.Save()) << "and again";
    EXPECT_EQ(0u, ReadFile(m_Folder.File("presets.xml")).find("<?xml version=\"1.0\" ?>\n" + header + "<Presets>\n"))
        << ReadFile(m_Folder.File("presets.xml"));
}

} // namespace
