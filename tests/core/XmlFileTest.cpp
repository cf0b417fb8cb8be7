#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "core/SAXTestHandler.h"
#include "core/XmlFile.h"
#include "support/MessageCapture.h"
#include "support/TempDir.h"

using xml::CNode;
using xml::CNodePtr;

namespace {

std::string Write(const CNode& node)
{
    std::ostringstream out;
    xml::WriteNode(out, node, "");
    return out.str();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

TEST(XmlRead, BuildsTheTreeUnderXmlFile)
{
    CMessageCapture capture;
    CNodePtr root = xml::LoadXmlFromMemory("<a>\n\t<b>5</b>\n\t<c x=\"&quot;q&amp;\"/><!-- note --></a>", "mem.xml");
    ASSERT_TRUE(root);
    EXPECT_EQ("XmlFile", root->GetName());
    EXPECT_EQ("mem.xml", root->GetValue());
    EXPECT_EQ("mem.xml", root->GetAttribute("Name")->GetValue());
    CNodePtr a = root->GetChild("a");
    EXPECT_EQ("\n\t\n\t", a->GetValue());
    EXPECT_EQ("5", a->GetChild("b")->GetValue());
    EXPECT_EQ("\"q&", a->GetChild("c")->GetAttribute("x")->GetValue());
    ASSERT_EQ(1u, capture.m_Messages.size());
    EXPECT_NE(std::string::npos, capture.m_Messages[0].find("mem.xml: "));
    EXPECT_NE(std::string::npos, capture.m_Messages[0].find(" ms (3 elems,1 attrs,0 spaces,"));
}

TEST(XmlRead, NamePrefixIsRemovedOnlyFromLongerNames)
{
    CMessageCapture quiet;
    CNodePtr root = xml::LoadXmlFromMemory("<pre><preItem/></pre>", "m", "pre");
    EXPECT_TRUE(root->HasChild("pre"));
    EXPECT_TRUE(root->GetChild("pre")->HasChild("Item"));
}

TEST(XmlRead, MalformedInputReportsAndThrows)
{
    const char* broken[] = {"<a><b></a>", "<a x=\"1></a>", "<a>", "", "\x01\xff<a/>"};
    for (const char* text : broken) {
        CMessageCapture capture;
        try {
            xml::LoadXmlFromMemory(text, "broken.xml");
            FAIL() << text;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ("Could not load broken.xml", e.what());
        }
        ASSERT_EQ(1u, capture.m_Messages.size()) << text;
        EXPECT_EQ(0u, capture.m_Messages[0].find("Error at file broken.xml, line ")) << capture.m_Messages[0];
        EXPECT_NE(std::string::npos, capture.m_Messages[0].find(", char "));
    }
}

TEST(XmlRead, HostileDocumentsFailInsteadOfExhaustingTheProgram)
{
    const auto nested = [](unsigned depth) {
        std::string text;
        for (unsigned i = 0; i < depth; ++i)
            text += "<a>";
        for (unsigned i = 0; i < depth; ++i)
            text += "</a>";
        return text;
    };
    {
        CMessageCapture quiet;
        EXPECT_TRUE(xml::LoadXmlFromMemory(nested(xml::SAXTestHandler::kMaxDepth), "deep.xml"));
    }
    {
        // Every walk over the tree recurses: a deeper one would overflow the stack.
        CMessageCapture capture;
        EXPECT_THROW(xml::LoadXmlFromMemory(nested(xml::SAXTestHandler::kMaxDepth + 1), "deep.xml"),
                     std::runtime_error);
        ASSERT_EQ(1u, capture.m_Messages.size());
        EXPECT_EQ("Error at file deep.xml, line 1, char 3004. Message: elements are nested deeper than 1000 levels",
                  capture.m_Messages[0]);
    }
    {
        // Entities of entities: ten to the ninth copies if expanded.
        std::string text = "<!DOCTYPE a [<!ENTITY e0 \"lol\">";
        for (int level = 1; level <= 9; ++level) {
            text += "<!ENTITY e" + std::to_string(level) + " \"";
            for (int i = 0; i < 10; ++i)
                text += "&e" + std::to_string(level - 1) + ";";
            text += "\">";
        }
        text += "]><a>&e9;</a>";
        CMessageCapture capture;
        try {
            xml::LoadXmlFromMemory(text, "entities.xml");
            FAIL();
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ("Could not load entities.xml", e.what());
        }
        bool limited = false;
        for (const std::string& message : capture.m_Messages)
            limited = limited || (message.find("Error at file entities.xml") == 0 &&
                                  message.find("entity expansions") != std::string::npos);
        EXPECT_TRUE(limited);
    }
}

TEST(XmlRead, ExternalEntitiesAndDtdsAreNeverRead)
{
    CTempDir dir;
    std::ofstream(dir.File("secret.txt")) << "SECRET";
    std::ofstream(dir.File("defs.dtd")) << "<!ELEMENT a ANY><!ENTITY s \"SECRET\">";
    const std::string secret = "file://" + dir.File("secret.txt");
    const std::string dtd = "file://" + dir.File("defs.dtd");
    const std::string documents[] = {
        "<!DOCTYPE a [<!ELEMENT a ANY><!ENTITY x SYSTEM \"" + secret + "\">]><a>&x;</a>",
        "<!DOCTYPE a SYSTEM \"" + dtd + "\"><a>&s;</a>",
        "<!DOCTYPE a [<!ENTITY % p SYSTEM \"" + dtd + "\">%p;]><a>&s;</a>",
        // Nothing listens there; a fetch would fail with another message.
        "<!DOCTYPE a PUBLIC \"-//sds//x\" \"http://127.0.0.1:9/a.dtd\"><a/>",
    };
    for (const std::string& text : documents) {
        CMessageCapture capture;
        try {
            xml::LoadXmlFromMemory(text, "external.xml");
            ADD_FAILURE() << text;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ("Could not load external.xml", e.what());
        }
        ASSERT_FALSE(capture.m_Messages.empty()) << text;
        EXPECT_EQ(0u, capture.m_Messages[0].find("Error at file external.xml, line 1, char ")) << capture.m_Messages[0];
        EXPECT_NE(std::string::npos, capture.m_Messages[0].find("external entities and DTDs are not read"))
            << capture.m_Messages[0];
        for (const std::string& message : capture.m_Messages)
            EXPECT_EQ(std::string::npos, message.find("SECRET")) << message;
    }
}

TEST(XmlRead, InternalSubsetsStillDeclareAndValidate)
{
    {
        CMessageCapture quiet;
        CNodePtr root = xml::LoadXmlFromMemory(
            "<!DOCTYPE a [<!ELEMENT a (#PCDATA)><!ATTLIST a k CDATA 'dflt'><!ENTITY e 'v&#38;#38;w'>]><a>&e;</a>",
            "internal.xml");
        EXPECT_EQ("v&w", root->GetChild("a")->GetValue());
        EXPECT_EQ("dflt", root->GetChild("a")->GetAttribute("k")->GetValue());
    }
    CMessageCapture capture;
    EXPECT_THROW(xml::LoadXmlFromMemory("<!DOCTYPE a [<!ELEMENT a EMPTY>]><a>x</a>", "invalid.xml"),
                 std::runtime_error);
    ASSERT_FALSE(capture.m_Messages.empty());
    EXPECT_EQ(0u, capture.m_Messages[0].find("Error at file invalid.xml, line 1, char "));
}

TEST(XmlRead, EntitiesMayNotBlowUpTheDocument)
{
    // Few expansions of one large entity, far below the count limit: in text,
    // in an attribute value and as the default value of an attribute.
    const std::string declare = "<!DOCTYPE a [<!ELEMENT a ANY><!ATTLIST a x CDATA #IMPLIED><!ELEMENT b EMPTY>"
                                "<!ENTITY e \"" + std::string(20000, 'x') + "\"><!ATTLIST b d CDATA \"&e;&e;&e;&e;\">]>";
    std::string references;
    for (std::size_t i = 0; i < xml::SAXTestHandler::kMaxExpansion / 20000 + 5; ++i)
        references += "&e;";
    std::string defaults;
    for (std::size_t i = 0; i < xml::SAXTestHandler::kMaxExpansion / 80000 + 5; ++i)
        defaults += "<b/>";
    std::string twiceTheValue;
    for (std::size_t i = 0; i <= 2 * xml::SAXTestHandler::kMaxExpansion / 20000; ++i)
        twiceTheValue += "&e;";
    const std::string documents[] = {
        declare + "<a>" + references + "</a>",
        declare + "<a x=\"" + references + "\"/>",
        declare + "<a>" + defaults + "</a>",
        declare + "<a x=\"" + twiceTheValue + "\"/>",
    };
    for (const std::string& text : documents) {
        CMessageCapture capture;
        try {
            xml::LoadXmlFromMemory(text, "bomb.xml");
            ADD_FAILURE() << text.substr(text.size() - 40);
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ("Could not load bomb.xml", e.what());
        }
        ASSERT_EQ(1u, capture.m_Messages.size());
        EXPECT_EQ(0u, capture.m_Messages[0].find("Error at file bomb.xml, line 1, char ")) << capture.m_Messages[0];
        EXPECT_NE(std::string::npos, capture.m_Messages[0].find("entities expand the document by more than "))
            << capture.m_Messages[0];
    }
}

TEST(XmlRead, MissingAndTruncatedFiles)
{
    CTempDir dir;
    std::ofstream(dir.File("cut.xml")) << "<sds><Application Edition=\"Fu";
    for (const std::string& path : {dir.File("cut.xml"), dir.File("absent.xml")}) {
        CMessageCapture capture;
        EXPECT_THROW(xml::LoadXmlFile(path), std::runtime_error) << path;
        EXPECT_FALSE(capture.m_Messages.empty());
    }
}

TEST(XmlWrite, TabLayoutAttributesAndEscaping)
{
    CNodePtr root(new CNode("root", false));
    CNodePtr item = root->AddChild("item");
    item->AddAttribute("y", "2");
    item->AddAttribute("x", "a\"b&c");
    root->AddChild("empty");
    root->AddChild("leaf", "v<1>");

    EXPECT_EQ("<root>\n"
              "\t<empty />\n"
              "\t<item x=\"a&quot;b&amp;c\"\n"
              "\t\ty=\"2\" />\n"
              "\t<leaf>v&lt;1&gt;</leaf>\n"
              "</root>\n",
              Write(*root));
    EXPECT_EQ("<v>text</v>\n", Write(CNode("v", "text", nullptr, false)));
    EXPECT_EQ("&quot;&amp;quot;&apos;&lt;&gt;", xml::EscapeText("\"&quot;'<>"));
}

TEST(XmlWrite, SaveReadsBackAndNeverLeavesAHalfFile)
{
    CTempDir dir;
    CNodePtr root(new CNode("Profile", false));
    root->AddChild("Jump")->AddAttribute("Location", "Q\"uote & <co>");
    const std::string path = dir.File("p.xml");
    CMessageCapture capture;
    ASSERT_TRUE(xml::SaveXmlFile(path, root));
    EXPECT_EQ(0u, ReadFile(path).find("<?xml version=\"1.0\" ?>\n<Profile>\n"));
    CNodePtr back = xml::LoadXmlFile(path);
    EXPECT_EQ("Q\"uote & <co>", back->GetChild("Profile")->GetChild("Jump")->GetAttribute("Location")->GetValue());
    EXPECT_FALSE(boost::filesystem::exists(path + ".tmp"));

    EXPECT_FALSE(xml::SaveXmlFile(dir.File("no/such/folder/p.xml"), root));
    EXPECT_EQ("Could not open file for writing: " + dir.File("no/such/folder/p.xml"), capture.m_Messages.back());
}

TEST(XmlWrite, AHeaderCommentIsReadAndWrittenBack)
{
    const struct
    {
        const char* text;
        const char* prolog;
    } cases[] = {
        {"<?xml version=\"1.0\" ?>\n<!--\n\tWhat the file holds.\n-->\n<r />\n", "<!--\n\tWhat the file holds.\n-->\n"},
        {"\xEF\xBB\xBF<!-- one --> <!-- two -->\r\n<r />", "<!-- one --> <!-- two -->\n"},
        {"<?xml version=\"1.0\" ?>\n<r><!-- inside --></r>", ""},
        {"<r />\n<!-- after -->\n", ""},
        {"<?xml version=\"1.0\" ?>\n<!-- never closed <r />", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.prolog, xml::ReadProlog(c.text)) << c.text;

    CTempDir dir;
    const std::string path = dir.File("p.xml");
    CNodePtr root(new CNode("r", false));
    ASSERT_TRUE(xml::SaveXmlFile(path, root, xml::ReadProlog(cases[0].text)));
    EXPECT_EQ(cases[0].text, ReadFile(path)) << "written back as it was read";
}

// A root written with its children handed out one at a time is the same file
// as the whole tree saved at once, with or without children; a child that
// cannot be written leaves the old file.
TEST(XmlWrite, ChildByChildIsTheWholeTreesFile)
{
    CTempDir dir;
    CMessageCapture quiet;
    for (int count : {0, 1, 3}) {
        SCOPED_TRACE(count);
        CNodePtr whole(new CNode("Profile", false));
        whole->AddAttribute("Name", "a & b");
        whole->AddAttribute("Path", "../profiles/");
        CNodePtr root(new CNode("Profile", false));
        root->AddAttribute("Name", "a & b");
        root->AddAttribute("Path", "../profiles/");
        std::vector<CNodePtr> children;
        for (int i = 0; i < count; ++i) {
            CNodePtr jump = whole->AddChild("Jump");
            jump->AddAttribute("Number", std::to_string(i));
            jump->AddChild("Info", "x<" + std::to_string(i))->AddAttribute("Name", "Landing type");
            children.push_back(xml::CNode::Clone(jump));
        }
        ASSERT_TRUE(xml::SaveXmlFile(dir.File("whole.xml"), whole));
        std::size_t next = 0;
        ASSERT_TRUE(xml::SaveXmlFile(dir.File("each.xml"), *root,
                                     [&] { return next < children.size() ? children[next++] : CNodePtr(); }));
        EXPECT_EQ(ReadFile(dir.File("whole.xml")), ReadFile(dir.File("each.xml")));
    }
    bool handed = false;
    EXPECT_FALSE(xml::SaveXmlFile(dir.File("each.xml"), CNode("Profile", false), [&] {
        if (handed)
            return CNodePtr();
        handed = true;
        return CNodePtr(new CNode("bad name", false));
    }));
    EXPECT_EQ(std::string::npos, ReadFile(dir.File("each.xml")).find("bad"));
}

TEST(XmlWrite, WhiteSpaceReadsBackAsItWasWritten)
{
    CNodePtr root(new CNode("r", false));
    root->AddAttribute("a", "tab\tline\ncr\r end");
    root->AddChild("t", "cr\r\nlf\ttab");
    const std::string text = Write(*root);
    EXPECT_EQ("<r a=\"tab&#9;line&#10;cr&#13; end\">\n\t<t>cr&#13;\nlf\ttab</t>\n</r>\n", text);

    CMessageCapture quiet;
    CNodePtr back = xml::LoadXmlFromMemory(text, "white.xml")->GetChild("r");
    EXPECT_EQ("tab\tline\ncr\r end", back->GetAttribute("a")->GetValue());
    EXPECT_EQ("cr\r\nlf\ttab", back->GetChild("t")->GetValue());
}

TEST(XmlWrite, WhatXmlCannotHoldIsRefusedAndNeverSaved)
{
    struct Case
    {
        const char* name;
        const char* attribute;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"c", "x\x01y", "", "r->c->>a: the control character 0x01 cannot be written to XML"},
        {"c", "", "x\x1f", "r->c: the control character 0x1F cannot be written to XML"},
        {"c", "", "caf\xe9", "r->c: the text is not valid UTF-8"},
        {"c", "\xed\xa0\x80", "", "r->c->>a: the text is not valid UTF-8"},
        {"bad name", "", "", "r->bad name: 'bad name' is not a valid XML name"},
        {"1st", "", "", "r->1st: '1st' is not a valid XML name"},
        {"c", "\xef\xbf\xbe", "", "r->c->>a: the character U+FFFE cannot be written to XML"},
    };
    CTempDir dir;
    const std::string path = dir.File("kept.xml");
    std::ofstream(path) << "<?xml version=\"1.0\" ?>\n<r />\n";
    for (const Case& c : cases) {
        CNodePtr root(new CNode("r", false));
        CNodePtr child = root->AddChild(c.name, c.text);
        if (*c.attribute)
            child->AddAttribute("a", c.attribute);
        try {
            Write(*root);
            ADD_FAILURE() << c.message;
        } catch (const xml::CException& e) {
            EXPECT_STREQ(c.message, e.what());
        }

        CMessageCapture capture;
        EXPECT_FALSE(xml::SaveXmlFile(path, root)) << c.message;
        EXPECT_EQ((std::vector<std::string>{"Could not write file: " + path + ". " + c.message}), capture.m_Messages);
        EXPECT_EQ("<?xml version=\"1.0\" ?>\n<r />\n", ReadFile(path));
        EXPECT_FALSE(boost::filesystem::exists(path + ".tmp"));
    }

    // Characters from the whole of Unicode pass as they are.
    CNodePtr fine(new CNode("r", "Z\xc3\xbcrich \xe2\x82\xac \xf0\x9f\xaa\x82 \x7f", nullptr, false));
    EXPECT_EQ("<r>Z\xc3\xbcrich \xe2\x82\xac \xf0\x9f\xaa\x82 \x7f</r>\n", Write(*fine));
    EXPECT_EQ("<Stra\xc3\x9f" "e />\n", Write(CNode("Stra\xc3\x9f" "e", false)));
}

TEST(XmlNames, UnescapeTokens)
{
    EXPECT_EQ("Keyboard/Mouse 1", xml::UnescapeName("Keyboard_fsl_Mouse_spc_1"));
    EXPECT_EQ("a&b<c>\t", xml::UnescapeName("a_amp_b_srt_c_grt__tab_"));
    EXPECT_EQ("plain", xml::UnescapeName("plain"));
}
