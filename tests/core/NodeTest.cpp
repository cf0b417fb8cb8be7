#include <gtest/gtest.h>

#include <algorithm>

#include "core/Node.h"
#include "core/XmlFile.h"
#include "support/MessageCapture.h"

using xml::CNode;
using xml::CNodePtr;

namespace {

CNodePtr Parse(const std::string& text, const std::string& name = "../conf/conf.xml")
{
    CMessageCapture quiet;
    return xml::LoadXmlFromMemory(text, name);
}

} // namespace

TEST(Node, DescriptionNamesEveryStepWithItsKey)
{
    CNodePtr root = Parse("<sds><Application Edition=\"Full\"/><B Id=\"7\" Name=\"x\"><C Id=\"3\"/></B></sds>");
    CNodePtr app = root->GetChild("sds")->GetChild("Application");
    EXPECT_EQ("XmlFile[Name=../conf/conf.xml]->sds->Application->>Edition", app->GetAttribute("Edition")->GetPath());
    // Name wins over Id; Id is used when there is no Name.
    CNodePtr c = root->GetChild("sds")->GetChild("B")->GetChild("C");
    EXPECT_EQ("XmlFile[Name=../conf/conf.xml]->sds->B[Name=x]->C[Id=3]", c->GetPath());
}

TEST(Node, MissingChildAndAttributeMessages)
{
    CNodePtr root(new CNode("a", false));
    try {
        root->GetChild("b");
        FAIL();
    } catch (const xml::CNoNodeException& e) {
        EXPECT_STREQ("a does not have a child 'b'", e.what());
    }
    try {
        root->GetAttribute("c");
        FAIL();
    } catch (const xml::CNoNodeException& e) {
        EXPECT_STREQ("a does not have an attribute 'c'", e.what());
    }
    EXPECT_THROW(root->GetChildrenBegin("b"), xml::CNoNodeException);
    EXPECT_THROW(CNode("", false), xml::CNoNodeException);
}

TEST(Node, GetChildByIdTakesTheKeyFromTheFirstChild)
{
    CNodePtr a(new CNode("a", false));
    a->AddChild("b")->AddAttribute("Id", "7");
    CNodePtr second = a->AddChild("b");
    second->AddAttribute("Name", "x");
    second->AddAttribute("Id", "8");

    // The first b has only Id, so Id is the key for every b.
    try {
        a->GetChildById("b", "x", "Name,Id");
        FAIL();
    } catch (const xml::CNoNodeException& e) {
        EXPECT_STREQ("a does not have a child 'b' with unique identifier 'x'", e.what());
    }
    EXPECT_FALSE(a->HasChildById("b", "x", "Name,Id"));
    EXPECT_EQ(second, a->GetChildById("b", "8", "Name,Id"));
    EXPECT_TRUE(a->HasChildById("b", "8", "Name,Id"));

    CNodePtr plain(new CNode("p", false));
    plain->AddChild("q");
    try {
        plain->GetChildById("q", "1", "Name,Id");
        FAIL();
    } catch (const xml::CNoNodeException& e) {
        EXPECT_STREQ("p->q does not have an attribute or child with one of the following names 'Name,Id'", e.what());
    }
    EXPECT_FALSE(plain->HasChildById("q", "1", "Name,Id"));
    EXPECT_FALSE(plain->HasChildById("nothing", "1", "Name,Id"));
}

TEST(Node, HasNamedValueFallsBackToTheChild)
{
    CNodePtr n(new CNode("n", false));
    n->AddAttribute("Key", "other");
    n->AddChild("Key", "wanted");
    EXPECT_TRUE(n->HasNamedValue("Key", "wanted"));
    EXPECT_TRUE(n->HasNamedValue("Key", "other"));
    EXPECT_FALSE(n->HasNamedValue("Key", "none"));
}

TEST(Node, BooleanRules)
{
    struct Case { const char* text; bool value; bool reported; };
    const Case cases[] = {
        {"TRUE", true, false}, {"On", true, false},  {"1", true, false},  {"false", false, false},
        {"OFF", false, false}, {"0", false, false},  {"yes", false, true}, {"", false, true},
        {"2", false, true},
    };
    for (const Case& c : cases) {
        CMessageCapture capture;
        CNodePtr n(new CNode("Flag", c.text, nullptr, false));
        EXPECT_EQ(c.value, n->GetValue<bool>()) << c.text;
        ASSERT_EQ(c.reported ? 1u : 0u, capture.m_Messages.size()) << c.text;
        if (c.reported) {
            EXPECT_EQ(std::string("Flag = '") + c.text + "' is not bool (1/0, true/false, on/off)",
                      capture.m_Messages[0]);
        }
    }
}

TEST(Node, TypedReads)
{
    CNodePtr n(new CNode("v", "12.5abc", nullptr, false));
    EXPECT_FLOAT_EQ(12.5f, n->GetValue<float>());
    EXPECT_EQ(12, n->GetValue<int>());
    n->SetValue("abc");
    EXPECT_FLOAT_EQ(0.0f, n->GetValue<float>());
    n->SetValue("1,2");
    const sds::CVector v = n->GetValue<sds::CVector>();
    EXPECT_EQ(sds::CVector(1, 2, 0), v);
    n->SetValue("0.5,1");
    const sds::CQuaternion q = n->GetValue<sds::CQuaternion>();
    EXPECT_EQ(sds::CQuaternion(0.5f, 1, 0, 0), q);

    n->SetValue("");
    try {
        n->GetValue<float>();
        FAIL();
    } catch (const xml::CBadValueException& e) {
        EXPECT_STREQ("v has an empty value", e.what());
    }
    EXPECT_THROW(n->GetValue<sds::CVector>(), xml::CBadValueException);
    EXPECT_EQ("", n->GetValue<std::string>());

    CMessageCapture capture;
    EXPECT_FLOAT_EQ(3.0f, n->GetAttribute("Missing", 3.0f));
    EXPECT_EQ("dflt", n->GetAttribute("Missing", "dflt"));
    EXPECT_TRUE(capture.m_Messages.empty());
}

TEST(Node, NumbersThatDoNotFitAreReportedAndGiveTheDefault)
{
    struct Case
    {
        const char* text;
        const char* message; // after "n = '<text>' ", or null for none
        unsigned readUnsigned;
        int readInt;
        float readFloat;
    };
    const Case cases[] = {
        {"-1", "is out of range for unsigned int", 0u, -1, -1.0f},
        {"4294967296", "is out of range for unsigned int", 0u, 0, 4294967296.0f},
        {"2147483648", "is out of range for int", 2147483648u, 0, 2147483648.0f},
        {"-2147483649", "is out of range for unsigned int", 0u, 0, -2147483649.0f},
        {"1e39", "is out of range for float", 1u, 1, 0.0f},
        {"-1e39", "is out of range for unsigned int", 0u, -1, 0.0f},
        {"abc", "is not a number", 0u, 0, 0.0f},
        {"-0", nullptr, 0u, 0, 0.0f},
        {" 7x", nullptr, 7u, 7, 7.0f},
        {"-2147483648", "is out of range for unsigned int", 0u, -2147483647 - 1, -2147483648.0f},
    };
    for (const Case& c : cases) {
        CMessageCapture capture;
        CNodePtr n(new CNode("n", c.text, nullptr, false));
        EXPECT_EQ(c.readUnsigned, n->GetValue<unsigned int>()) << c.text;
        EXPECT_EQ(c.readInt, n->GetValue<int>()) << c.text;
        EXPECT_FLOAT_EQ(c.readFloat, n->GetValue<float>()) << c.text;
        for (const std::string& message : capture.m_Messages) {
            ASSERT_TRUE(c.message) << message;
            EXPECT_EQ(0u, message.find(std::string("n = '") + c.text + "' ")) << message;
        }
        if (c.message) {
            EXPECT_NE(capture.m_Messages.end(),
                      std::find(capture.m_Messages.begin(), capture.m_Messages.end(),
                                std::string("n = '") + c.text + "' " + c.message))
                << c.text;
        }
    }

    // A default given by the caller is kept.
    CNodePtr e(new CNode("e", false));
    e->AddAttribute("Count", "-1");
    e->AddAttribute("Scale", "1e40");
    CMessageCapture capture;
    EXPECT_EQ(7u, e->GetAttribute("Count", 7u));
    EXPECT_FLOAT_EQ(3.0f, e->GetAttribute("Scale", 3.0f));
    EXPECT_EQ((std::vector<std::string>{"e->>Count = '-1' is out of range for unsigned int",
                                        "e->>Scale = '1e40' is out of range for float"}),
              capture.m_Messages);
}

TEST(Node, ChildrenAreVisitedInNameOrder)
{
    CNodePtr root(new CNode("r", false));
    CNodePtr b1 = root->AddChild("b", "1");
    root->AddChild("a", "0");
    CNodePtr b2 = root->AddChild("b", "2");
    std::vector<std::string> seen;
    for (const auto& child : root->GetChildren())
        seen.push_back(child.second->GetName() + child.second->GetValue());
    EXPECT_EQ((std::vector<std::string>{"a0", "b1", "b2"}), seen);
    EXPECT_EQ(b1, root->GetChild("b"));
}

TEST(Node, RemoveChildAndDestroyedParent)
{
    CNodePtr root(new CNode("r", false));
    CNodePtr other(new CNode("o", false));
    CNodePtr child = root->AddChild("c");
    CNodePtr attribute = root->AddAttribute("at", "1");

    try {
        other->RemoveChild(child);
        FAIL();
    } catch (const xml::CNoNodeException& e) {
        EXPECT_STREQ("Trying to remove child 'r->c' that does not belong to this parent 'o'", e.what());
    }
    try {
        root->RemoveChild(attribute);
        FAIL();
    } catch (const xml::CNoNodeException& e) {
        EXPECT_STREQ("r does not have a child 'at'. Programming error?", e.what());
    }

    root->RemoveChild(child);
    EXPECT_FALSE(root->HasChild("c"));
    EXPECT_EQ(nullptr, child->GetParent());

    // Removing through the tree's own entry, the only holder: the node dies
    // with the entry and must not be touched after it.
    root->AddChild("only");
    root->RemoveChild(root->GetChildren().find("only")->second);
    EXPECT_FALSE(root->HasChild("only"));

    CNodePtr kept = root->AddChild("k");
    root.reset();
    EXPECT_EQ(nullptr, kept->GetParent());
    EXPECT_EQ("k", kept->GetPath());
    EXPECT_EQ("at", attribute->GetPath());
}

TEST(Node, CloneCopiesTheWholeTree)
{
    CNodePtr root = Parse("<a x=\"1\"><b y=\"2\">t</b><b>u</b></a>");
    CNodePtr copy = CNode::Clone(root->GetChild("a"));
    EXPECT_EQ("", copy->GetValue());
    // A text-only node cloned on its own keeps its text.
    EXPECT_EQ("t", CNode::Clone(root->GetChild("a")->GetChild("b"))->GetValue());
    EXPECT_EQ("1", copy->GetAttribute("x")->GetValue());
    EXPECT_EQ(2u, copy->GetChildren().count("b"));
    EXPECT_EQ("t", copy->GetChild("b")->GetValue());
    EXPECT_EQ("2", copy->GetChild("b")->GetAttribute("y")->GetValue());
    EXPECT_NE(root->GetChild("a")->GetChild("b"), copy->GetChild("b"));
}

TEST(Node, ContainsMatchesPresetsAgainstSettings)
{
    // The preset's first-level node may carry extra attributes; the settings may
    // have extra first-level children.
    CNodePtr preset = Parse("<Preset Name=\"p\"><Jumper Note=\"n\"><Canopy Size=\"220\"/><Altitude>1000</Altitude>"
                            "</Jumper></Preset>");
    CNodePtr settings = Parse("<Settings><Jumper><Canopy Size=\"220\"/><Altitude>1000</Altitude></Jumper>"
                              "<More>1</More></Settings>");
    CNodePtr differs = Parse("<Settings><Jumper><Canopy Size=\"220\"/><Altitude>1500</Altitude></Jumper></Settings>");
    CNodePtr missing = Parse("<Settings><Other/></Settings>");
    CNodePtr p = preset->GetChild("Preset");
    EXPECT_TRUE(xml::Contains(*p, *settings->GetChild("Settings")));
    EXPECT_FALSE(xml::Contains(*p, *differs->GetChild("Settings")));
    EXPECT_FALSE(xml::Contains(*p, *missing->GetChild("Settings")));
    EXPECT_TRUE(xml::Contains(CNode("empty", false), *missing->GetChild("Settings")));
}
