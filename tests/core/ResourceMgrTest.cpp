#include <gtest/gtest.h>

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/Compressor.h"
#include "core/ResourceMgr.h"
#include "core/UserFile.h"
#include "support/CapturingLogMgr.h"
#include "support/MessageCapture.h"
#include "WorkingDir.h"

using sds::CCompressor;

namespace {

std::vector<unsigned char> Deflate(const std::string& text)
{
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    std::vector<unsigned char> stream(size);
    EXPECT_EQ(Z_OK, compress(stream.data(), &size, reinterpret_cast<const Bytef*>(text.data()),
                             static_cast<uLong>(text.size())));
    stream.resize(size);
    return stream;
}

// Text that does not compress to nothing, so the stream spans several chunks.
std::string Pattern(std::size_t size)
{
    std::string text(size, ' ');
    unsigned state = 12345;
    for (char& c : text) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>('a' + (state >> 16) % 26);
    }
    return text;
}

std::string InflateError(const std::vector<unsigned char>& stream)
{
    try {
        CCompressor::Inflate(stream.data(), stream.size());
    } catch (const CCompressor::CException& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(Compressor, InflatesWholeStreamsOfEverySize)
{
    // Sizes around the 1024-byte output chunk, where stopping early would cut the text.
    for (std::size_t size : {0u, 1u, 1023u, 1024u, 1025u, 2048u, 5000u}) {
        const std::string text = Pattern(size);
        const std::vector<unsigned char> stream = Deflate(text);
        EXPECT_EQ(text, CCompressor::Inflate(stream.data(), stream.size())) << size;
    }
}

TEST(Compressor, CorruptAndTruncatedStreamsFail)
{
    const std::string dataError = "Could not inflate. Error code -3: data error";

    std::vector<unsigned char> corrupt = Deflate(Pattern(3000));
    corrupt[0] = 0x12; // not a zlib header
    EXPECT_EQ(dataError, InflateError(corrupt));

    // A stream cut short is an error, not a shorter text, wherever the cut falls.
    const std::vector<unsigned char> whole = Deflate(Pattern(3000));
    for (std::size_t keep : {std::size_t(2), whole.size() / 2, whole.size() - 1}) {
        const std::vector<unsigned char> cut(whole.begin(), whole.begin() + static_cast<long>(keep));
        EXPECT_EQ(dataError, InflateError(cut)) << keep;
    }
    EXPECT_EQ(dataError, InflateError({}));
}

TEST(Compressor, ErrorTexts)
{
    const std::pair<int, const char*> cases[] = {
        {-6, "Error code -6: version error"}, {-5, "Error code -5: buffer error"},
        {-4, "Error code -4: memory error"},  {-3, "Error code -3: data error"},
        {-2, "Error code -2: stream error"},  {-1, "Error code -1: error"},
        {2, "Error code 2: need dictionary error"}, {7, "Error code 7: code is unknown"},
        {0, "Error code 0: code is unknown"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, CCompressor::GetErrorText(c.first));
}

class ResourceMgrTest : public ::testing::Test
{
protected:
    void WriteConf(const std::string& name, const std::string& text)
    {
        boost::filesystem::create_directories(m_Dir.File("conf"));
        std::ofstream(m_Dir.File("conf/" + name)) << text;
    }

    CWorkingDir m_Dir; // bin/ with no ../conf beside it
    CMessageCapture m_Quiet;
    sds::CResourceMgr m_Resources;
};

TEST_F(ResourceMgrTest, IsTheSingleton)
{
    EXPECT_EQ(&m_Resources, sds::IResourceMgr::GetSingleton());
}

TEST_F(ResourceMgrTest, MissingFileGivesTheEmbeddedCopy)
{
    const xml::CNodePtr root = m_Resources.LoadXml("../conf/conf.xml");
    ASSERT_TRUE(root);
    EXPECT_EQ("XmlFile", root->GetName());
    EXPECT_EQ("../conf/conf.xml", root->GetAttribute("Name")->GetValue());
    EXPECT_TRUE(root->HasChild("sds"));
}

TEST_F(ResourceMgrTest, FileOnDiskComesFirst)
{
    WriteConf("presets.xml", "<Presets><Preset Name=\"Mine\"/></Presets>");
    auto firstPreset = [](const xml::CNodePtr& file) {
        return file->GetChild("Presets")->GetChild("Preset")->GetAttribute("Name")->GetValue();
    };
    EXPECT_EQ("Mine", firstPreset(m_Resources.LoadXml("../conf/presets.xml")));
    // The default copy ignores the file on disk.
    EXPECT_EQ("On target, 8mph wind", firstPreset(m_Resources.LoadDefaultXml("../conf/presets.xml")));
}

TEST_F(ResourceMgrTest, MalformedFileOnDiskDoesNotFallBack)
{
    WriteConf("conf.xml", "<sds><Application></sds>");
    try {
        m_Resources.LoadXml("../conf/conf.xml");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("Could not load ../conf/conf.xml", e.what());
    }
}

TEST_F(ResourceMgrTest, UnreadablePathDoesNotFallBack)
{
    boost::filesystem::create_symlink(m_Dir.File("conf"), m_Dir.File("conf")); // a loop
    try {
        m_Resources.LoadXml("../conf/conf.xml");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("Could not load ../conf/conf.xml", e.what());
    }
}

TEST_F(ResourceMgrTest, PathsAreMatchedExactly)
{
    for (const std::string path : {"conf/conf.xml", "../conf/Conf.xml", "../conf/./conf.xml"}) {
        try {
            m_Resources.LoadXml(path);
            FAIL() << path;
        } catch (const sds::IResourceMgr::CException& e) {
            EXPECT_EQ("File not found: " + path, e.what());
        }
    }
    // Not embedded and not on disk: the reader's own failure.
    EXPECT_THROW(m_Resources.LoadDefaultXml("../conf/settings.xml"), std::runtime_error);
}

class UserFileTest : public ResourceMgrTest
{
protected:
    // The first preset's name of what the use was handed; empty when not handed anything.
    std::string Use(const std::string& path)
    {
        m_Used.clear();
        m_Notice = sds::UseUserFile(m_Resources, path, "Presets", [this](const xml::CNodePtr& presets) {
            const std::string name = presets->GetChild("Preset")->GetAttribute("Name")->GetValue();
            if (name == "Refused")
                throw std::runtime_error("a preset the screen cannot show");
            m_Used = name;
        });
        return m_Used;
    }
    std::string ReadConf(const std::string& name)
    {
        std::ifstream in(m_Dir.File("conf/" + name));
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    CCapturingLogMgr m_Log;
    std::string m_Used;
    std::string m_Notice;
};

TEST_F(UserFileTest, AReadableFileIsUsedAndAMissingOneIsTheBuiltInCopy)
{
    EXPECT_EQ("On target, 8mph wind", Use("../conf/presets.xml"));
    WriteConf("presets.xml", "<Presets><Preset Name=\"Mine\"/></Presets>");
    EXPECT_EQ("Mine", Use("../conf/presets.xml"));
    EXPECT_EQ("", m_Notice);
    EXPECT_FALSE(boost::filesystem::exists(m_Dir.File("conf/presets.xml.bad")));
}

TEST_F(UserFileTest, ADamagedFileIsSetAsideAndTheBuiltInCopyTakesItsPlace)
{
    const struct
    {
        const char* damage;
        const char* text;
        const char* reason;
    } cases[] = {
        {"cut off", "<Presets><Preset Name=\"Mine\">", "(line 1, char 30: input ended before all started tags were ended"},
        {"not XML", "\x01\x02 binary", "(line 1, char 1: "},
        {"another document", "<Profile />", "(its document element is not \"Presets\")"},
        {"refused by its user", "<Presets><Preset Name=\"Refused\"/></Presets>", "(a preset the screen cannot show)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        WriteConf("presets.xml", c.text);
        m_Log.m_Lines.clear();

        EXPECT_EQ("On target, 8mph wind", Use("../conf/presets.xml"));
        EXPECT_FALSE(boost::filesystem::exists(m_Dir.File("conf/presets.xml")));
        EXPECT_EQ(c.text, ReadConf("presets.xml.bad")) << "kept as it was, replacing an older one";
        EXPECT_EQ(0u, m_Notice.find("The file ../conf/presets.xml cannot be used " + std::string(c.reason)))
            << m_Notice;
        EXPECT_NE(std::string::npos, m_Notice.find("It is kept as ../conf/presets.xml.bad for you to mend. "
                                                   "The built-in copy is used in its place."))
            << m_Notice;
        EXPECT_TRUE(m_Log.Has("Warning: " + m_Notice));
    }
}

TEST_F(UserFileTest, ADamagedFileWithoutBuiltInCopyIsLeftOut)
{
    WriteConf("mine.template", "<Presets>");
    EXPECT_EQ("", Use("../conf/mine.template")) << "nothing stands in for it";
    EXPECT_NE(std::string::npos, m_Notice.find("It is left out.")) << m_Notice;
    EXPECT_EQ("<Presets>", ReadConf("mine.template.bad"));

    // The program's own copy failing is not the user's file: that goes to the caller.
    EXPECT_THROW(Use("../conf/gone.template"), sds::IResourceMgr::CException);
}
