#include <gtest/gtest.h>

#include "app/EditionSelection.h"
#include "core/XmlFile.h"
#include "support/MessageCapture.h"

namespace {

xml::CNodePtr Config(const std::string& chosen)
{
    CMessageCapture quiet;
    return xml::LoadXmlFromMemory(
               "<sds><Application Edition=\"" + chosen + "\">"
               "<AvailableEdition>A</AvailableEdition><AvailableEdition>B</AvailableEdition>"
               "<Title Edition=\"A\">a</Title><Title Edition=\"B\">b</Title></Application>"
               "<Rules Edition=\"A\" Kind=\"a\"/><Rules Edition=\"B\" Kind=\"b\"><Deep Edition=\"A\"/></Rules>"
               "<Rules Edition=\"C\" Kind=\"c\"/><Plain><Nested><Edition>B</Edition></Nested><Kept/></Plain></sds>",
               "conf.xml")
        ->GetChild("sds");
}

} // namespace

TEST(EditionSelection, KeepsTheChosenEditionAndUnlistedOnes)
{
    const xml::CNodePtr root = Config("A");
    EXPECT_EQ("A", sds::SelectEdition(root));
    EXPECT_EQ("a", root->GetChild("Application")->GetChild("Title")->GetValue());
    EXPECT_EQ(1u, root->GetChild("Application")->GetChildren().count("Title"));
    // "C" is not listed, so its element stays whatever is chosen.
    EXPECT_EQ(2u, root->GetChildren().count("Rules"));
    EXPECT_TRUE(root->HasChildById("Rules", "c", "Kind"));
    // An "Edition" child counts as well as the attribute.
    EXPECT_FALSE(root->GetChild("Plain")->HasChild("Nested"));
    EXPECT_TRUE(root->GetChild("Plain")->HasChild("Kept"));
}

TEST(EditionSelection, RemovedSubtreesAreNotVisited)
{
    const xml::CNodePtr root = Config("B");
    sds::SelectEdition(root);
    EXPECT_EQ("b", root->GetChild("Application")->GetChild("Title")->GetValue());
    const xml::CNodePtr rules = root->GetChildById("Rules", "b", "Kind");
    // Elements of a removed edition inside a kept one go too.
    EXPECT_FALSE(rules->HasChild("Deep"));
    EXPECT_TRUE(root->GetChild("Plain")->HasChild("Nested"));
}
