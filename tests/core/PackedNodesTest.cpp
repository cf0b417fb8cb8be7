#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/PackedNodes.h"
#include "core/XmlFile.h"
#include "support/MessageCapture.h"

using xml::CNode;
using xml::CNodePtr;

namespace {

// The children of the node as the profile writes them.
std::string ChildrenText(const CNode& node)
{
    std::ostringstream out;
    for (const auto& child : node.GetChildren())
        xml::WriteNode(out, *child.second, "");
    return out.str();
}

} // namespace

TEST(PackedNodes, UnpackGivesCopiesOfTheChildrenInTheirOrder)
{
    const std::string longText(300, 'x');
    const char* const cases[] = {
        "<JumpInfo/>",
        // Equal names keep their order; a row may have no name or no text.
        "<JumpInfo><Info Name=\"Jump #\">2</Info><Info Name=\"Date\">2026-Dec-11</Info><Info>Jump was not "
        "finished.</Info><Info Name=\"Score\"/></JumpInfo>",
        // Nested elements with several attributes, texts to escape, UTF-8.
        "<JumpInfo><LandingInfo Kind=\"a &amp; b\"><Info Units=\"m/s\" Name=\"Speed\">3.5</Info>"
        "<Deeper><Info>&lt;&quot;Skorvel&quot;&gt; \xC3\xA9t\xC3\xA9</Info></Deeper></LandingInfo>"
        "<A/></JumpInfo>",
    };
    std::vector<std::string> texts(std::begin(cases), std::end(cases));
    // Texts and names longer than a byte's count.
    texts.push_back("<JumpInfo><Info Name=\"" + longText + "\">" + longText + longText + "</Info></JumpInfo>");
    for (const std::string& text : texts) {
        CMessageCapture quiet;
        const CNodePtr info = xml::LoadXmlFromMemory(text, "jump")->GetChild("JumpInfo");
        const xml::CPackedNodes packed(*info);
        const CNodePtr copy(new CNode("Copy", false));
        copy->SetValue("kept");
        packed.UnpackInto(*copy);
        const std::string written = ChildrenText(*info);
        EXPECT_EQ(written, ChildrenText(*copy));
        EXPECT_EQ("kept", copy->GetValue());
        // The packed rows take no more bytes than their text written out.
        EXPECT_LE(packed.GetSize(), written.size()) << text;
        EXPECT_EQ(info->GetChildren().empty(), packed.IsEmpty()) << text;
    }
}
