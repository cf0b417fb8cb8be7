// A drop zone found on disk: its name, its file's tree and the working copy
// that jumps write into.

#include <gtest/gtest.h>

#include "core/XmlFile.h"
#include "scene/DropZoneLevel.h"

using sds::CDropZoneLevel;

namespace {

xml::CNodePtr Tree(const char* text)
{
    return xml::LoadXmlFromMemory(text, "zone.dz");
}

TEST(DropZoneLevel, ReadsTheNameAndWorksOnACopyOfTheTree)
{
    CDropZoneLevel zone(Tree(R"(<scene FullName="Ridge Field"><Target Position="1, 2, 3" /></scene>)"),
                        "../data/Skorvel/Ridge.dz");
    EXPECT_EQ("Ridge Field", zone.GetFullName());
    EXPECT_EQ("../data/Skorvel/Ridge.dz", zone.GetPath());

    const xml::CNodePtr scene = zone.GetWorkingTree()->GetChild("scene");
    EXPECT_EQ("1, 2, 3", scene->GetChild("Target")->GetAttribute("Position")->GetValue());
    scene->AddChild("Preset");
    scene->GetChild("Target")->GetAttribute("Position")->SetValue("0, 0, 0");
    const xml::CNodePtr file = zone.GetTree()->GetChild("scene");
    EXPECT_FALSE(file->HasChild("Preset"));
    EXPECT_EQ("1, 2, 3", file->GetChild("Target")->GetAttribute("Position")->GetValue());

    zone.ResetWorkingTree();
    EXPECT_FALSE(zone.GetWorkingTree()->GetChild("scene")->HasChild("Preset"));
    EXPECT_NE(scene, zone.GetWorkingTree()->GetChild("scene"));
}

TEST(DropZoneLevel, ATreeWithoutAFullNameIsNoDropZone)
{
    const struct
    {
        const char* Text;
        bool HasFullName;
    } cases[] = {
        {R"(<scene FullName="Hill" />)", true},
        {R"(<scene FullName="" />)", true},
        {R"(<scene><FullName>Hill</FullName></scene>)", false},
        {R"(<Scene FullName="Hill" />)", false},
    };
    for (const auto& c : cases) {
        const xml::CNodePtr tree = Tree(c.Text);
        EXPECT_EQ(c.HasFullName, CDropZoneLevel::HasFullName(tree)) << c.Text;
        if (!c.HasFullName) {
            EXPECT_THROW(CDropZoneLevel(tree, "zone.dz"), xml::CNoNodeException) << c.Text;
        }
    }
    EXPECT_FALSE(CDropZoneLevel::HasFullName(xml::CNodePtr()));
}

} // namespace
