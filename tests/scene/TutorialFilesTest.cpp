// The tutorials: whole drop zones of Home Field whose preset starts the jump
// where its own rows say, with a briefing.

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/Vector.h"
#include "core/XmlFile.h"
#include "dzgen/HomeField.h"
#include "dzgen/TutorialFiles.h"
#include "dzgen/ZoneFile.h"
#include "scene/DropZoneLevel.h"

namespace {

using dzgen::CHomeField;

const char* const kZoneFolder = "../data/Skorvel/HomeField/";

float Row(const xml::CNodePtr& preset, const char* name)
{
    return preset->GetChildById("Info", name, "Name,Id")->GetValue<float>();
}

TEST(TutorialFiles, EachIsTheDropZoneWithItsOwnNameAPresetAndABriefing)
{
    const xml::CNodePtr zone = dzgen::ZoneFile(kZoneFolder);
    const std::vector<dzgen::CTutorialFile> tutorials = dzgen::TutorialFiles(kZoneFolder);
    ASSERT_EQ(2u, tutorials.size());

    std::set<std::string> names{zone->GetAttribute("FullName")->GetValue()};
    std::set<std::string> files;
    for (const dzgen::CTutorialFile& tutorial : tutorials) {
        SCOPED_TRACE(tutorial.m_FileName);
        EXPECT_TRUE(files.insert(tutorial.m_FileName).second);
        EXPECT_EQ(".Tutorial", tutorial.m_FileName.substr(tutorial.m_FileName.size() - 9));

        xml::CNodePtr root(new xml::CNode("Document", false));
        root->AddChild(xml::CNode::Clone(tutorial.m_Scene));
        const sds::CDropZoneLevel level(root, tutorial.m_FileName);
        EXPECT_TRUE(names.insert(level.GetFullName()).second) << level.GetFullName() << " is taken";

        // The drop zone itself is untouched: every child of the zone file is there.
        const xml::CNodePtr scene = tutorial.m_Scene;
        EXPECT_TRUE(xml::Contains(*zone, *scene));
        size_t messages = 0;
        xml::ForEachChild(*scene, "Message", [&messages](const xml::CNodePtr& message) {
            ++messages;
            EXPECT_FALSE(message->GetValue().empty());
        });
        EXPECT_LT(0u, messages);
        EXPECT_EQ(zone->GetChildren().size() + 1 + messages, scene->GetChildren().size());

        // A complete preset: nothing is left to the drop-zone menu's template.
        const xml::CNodePtr preset = scene->GetChild("Preset");
        EXPECT_EQ("Configuration", preset->GetChild("Info")->GetAttribute("Name")->GetValue())
            << "the jump log's title reads the first row";
        EXPECT_FALSE(preset->GetChild("Info")->GetValue().empty());
        EXPECT_TRUE(preset->GetChild("Camera")->HasAttribute("Type"));
        const xml::CNodePtr region = preset->GetChild("Wind")->GetChild("Region");
        EXPECT_TRUE(region->GetChild("Shape")->HasAttribute("Size"));
        EXPECT_FLOAT_EQ(region->GetAttribute("Speed")->GetValue<float>(), Row(preset, "Wind strength"));

        // The jumper starts where the rows say, over the ground and within the zone.
        const sds::CVector start = preset->GetChild("Jumper")->GetAttribute("Position")->GetValue<sds::CVector>();
        const dzgen::CPoint target = CHomeField::kTarget;
        EXPECT_NEAR(Row(preset, "Altitude"), start.y, 0.01);
        EXPECT_NEAR(Row(preset, "Distance to target at altitude"), std::hypot(start.x - target.x, start.z - target.z),
                    0.01);
        EXPECT_NEAR(Row(preset, "Drop zone elevation"), CHomeField::Height(target.x, target.z), 0.01);
        EXPECT_GT(start.y - CHomeField::Height(start.x, start.z), 40.0);
        EXPECT_LT(std::abs(start.x), CHomeField::kMax);
        EXPECT_LT(std::abs(start.z), CHomeField::kMax);
    }
}

// The wind layer of every shipped jump, the drop-zone menu's template and the
// tutorials' own presets, reaches down to the ground everywhere in the zone:
// a jumper low over a hollow or landed in one is in the wind, and the jump
// log records the wind it flew in.
TEST(TutorialFiles, TheWindOfEveryShippedJumpReachesTheGround)
{
    std::vector<std::pair<std::string, xml::CNodePtr>> regions;
    const xml::CNodePtr configuration =
        xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds")->GetChild("Configuration");
    xml::ForEachChild(*configuration, "Preset", [&regions](const xml::CNodePtr& preset) {
        if (preset->HasChild("Wind"))
            regions.push_back({"the template of " + preset->GetAttribute("Edition", ""),
                               preset->GetChild("Wind")->GetChild("Region")});
    });
    for (const dzgen::CTutorialFile& tutorial : dzgen::TutorialFiles(kZoneFolder))
        regions.push_back(
            {tutorial.m_FileName, tutorial.m_Scene->GetChild("Preset")->GetChild("Wind")->GetChild("Region")});
    ASSERT_LE(4u, regions.size());

    // The zone's lowest ground, sought on a 5 m grid.
    double lowX = 0.0, lowZ = 0.0, lowest = CHomeField::Height(0.0, 0.0);
    for (double x = -CHomeField::kMax; x <= CHomeField::kMax; x += 5.0)
        for (double z = -CHomeField::kMax; z <= CHomeField::kMax; z += 5.0)
            if (CHomeField::Height(x, z) < lowest) {
                lowest = CHomeField::Height(x, z);
                lowX = x;
                lowZ = z;
            }

    for (const auto& [name, region] : regions) {
        SCOPED_TRACE(name);
        const xml::CNodePtr shape = region->GetChild("Shape");
        const sds::CVector centre = shape->GetAttribute("Position")->GetValue<sds::CVector>();
        const sds::CVector size = shape->GetAttribute("Size")->GetValue<sds::CVector>();
        int outside = 0;
        for (double x = -CHomeField::kMax; x <= CHomeField::kMax; x += 25.0)
            for (double z = -CHomeField::kMax; z <= CHomeField::kMax; z += 25.0) {
                const double low = CHomeField::Height(x, z) + 1.0;
                if (std::fabs(x - centre.x) > size.x / 2 || std::fabs(low - centre.y) > size.y / 2 ||
                    std::fabs(z - centre.z) > size.z / 2)
                    ++outside;
            }
        EXPECT_EQ(0, outside) << "places a metre over the ground without wind";
        EXPECT_LT(centre.y - size.y / 2, lowest) << "no wind on the lowest ground, " << lowest << " m at (" << lowX
                                                 << ", " << lowZ << ")";
        EXPECT_GT(size.x / 2, std::max(std::fabs(lowX - centre.x), std::fabs(lowZ - centre.z)));
    }
}

} // namespace
