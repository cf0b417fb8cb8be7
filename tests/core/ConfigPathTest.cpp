#include <gtest/gtest.h>

#include "core/ConfigPath.h"
#include "support/MessageCapture.h"

using xml::CNode;
using xml::CNodePtr;

TEST(ConfigPath, SetterCreatesStepsAndGetterReadsThem)
{
    CNodePtr root(new CNode("sds", false));
    EXPECT_FALSE(sds::GetConfigBool(root, "Switches->>ReloadDZs", false));
    EXPECT_TRUE(sds::GetConfigBool(root, "Switches->>ReloadDZs", true));

    sds::SetConfigCount(root, "Switches->>ReloadDZs", 2);
    CNodePtr switches = root->GetChild("Switches");
    EXPECT_EQ("", switches->GetValue());
    EXPECT_EQ("2", switches->GetAttribute("ReloadDZs")->GetValue());

    // Only 1, true and on are true.
    CMessageCapture capture;
    EXPECT_FALSE(sds::GetConfigBool(root, "Switches->>ReloadDZs", true));
    ASSERT_EQ(1u, capture.m_Messages.size());
    EXPECT_EQ("sds->Switches->>ReloadDZs = '2' is not bool (1/0, true/false, on/off)", capture.m_Messages[0]);

    sds::SetConfigBool(root, "Switches->>ReloadDZs", true);
    EXPECT_TRUE(sds::GetConfigBool(root, "Switches->>ReloadDZs", false));
    sds::SetConfigFloat(root, "Graphics->Gamma", 1.25f);
    EXPECT_FLOAT_EQ(1.25f, sds::GetConfigFloat(root, "Graphics->Gamma", 0.0f));
    EXPECT_EQ("1.25", sds::GetConfigString(root, "Graphics->Gamma", ""));
}

TEST(ConfigPath, WalkRules)
{
    CNodePtr root(new CNode("sds", false));
    root->AddChild("A", "first");
    root->AddChild("A", "second");
    root->AddChild("Empty");

    EXPECT_EQ("first", sds::GetConfigString(root, "A", "d"));
    // An empty first step: the default, and nothing written.
    EXPECT_EQ("d", sds::GetConfigString(root, "->A", "d"));
    sds::SetConfigBool(root, "->X", true);
    EXPECT_FALSE(root->HasChild("X"));
    EXPECT_THROW(sds::GetConfigFloat(root, "Empty", 1.0f), xml::CBadValueException);
    EXPECT_FLOAT_EQ(4.0f, sds::GetConfigFloat(root, "Missing->>Value", 4.0f));
    root->AddChild("Huge", "1e39");
    CMessageCapture capture;
    EXPECT_FLOAT_EQ(4.0f, sds::GetConfigFloat(root, "Huge", 4.0f));
    EXPECT_EQ((std::vector<std::string>{"sds->Huge = '1e39' is out of range for float"}), capture.m_Messages);
}

TEST(ConfigPath, TrimKeepsCarriageReturnAndAttributes)
{
    CNodePtr root(new CNode("r", "\n\t", nullptr, false));
    root->AddAttribute("a", " kept ");
    CNodePtr child = root->AddChild("c", "\t\n1.5\r\n");
    xml::TrimNodeValues(*root);
    EXPECT_EQ("", root->GetValue());
    EXPECT_EQ(" kept ", root->GetAttribute("a")->GetValue());
    EXPECT_EQ("1.5\r", child->GetValue());
}
