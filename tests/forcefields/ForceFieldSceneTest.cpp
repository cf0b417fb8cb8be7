#include <gtest/gtest.h>

#include "core/XmlFile.h"
#include "forcefields/ForceFieldScene.h"
#include "support/CapturingLogMgr.h"
#include "support/TempDir.h"
#include "support/VectorNear.h"

using namespace sds;
using namespace sds::DovuvUvozeVozediza;

namespace {

// A scene with two jump information rows and the given start, target and box.
xml::CNodePtr Scene(const std::string& start, const std::string& target, const std::string& mesh)
{
    return xml::LoadXmlFromMemory("<scene FullName='Old'>"
                                  "<Preset><Info Name='Drop zone'>Old</Info><Info Name='Score'>8</Info>"
                                  "<Jumper Position='" + start + "' Create='1'/><Camera Pos='0,0,200'/>"
                                  "<Wind><Region><Shape Position='0,0,0'/><Function>\n  return CVector(0,0,0)\n  </Function>"
                                  "</Region></Wind></Preset>"
                                  "<Target Position='" + target + "'/>"
                                  "<BoundingBox Name='Boundaries' MinCorner='0,0,0' MaxCorner='100,100,0'>" + mesh +
                                  "</BoundingBox></scene>",
                                  "scene")
        ->GetChild("scene");
}

const char* const kMesh = "<Mesh Mesh='Wall.mesh'/>";

} // namespace

TEST(ForceFieldScene, NewRegionIsAnUnconfirmedHundredMetreBox)
{
    const xml::CNodePtr wind = Scene("50,50,0", "40,10,0", kMesh)->GetChild("Preset")->GetChild("Wind");
    const xml::CNodePtr region = AddRegionNode(wind, CVector(12.5f, 30.0f, 0.0f));

    EXPECT_EQ(2u, wind->GetChildren().size());
    const xml::CNodePtr shape = region->GetChild("Shape");
    EXPECT_EQ("12.5,30,0", shape->GetAttribute("Position")->GetValue());
    EXPECT_EQ("1,0,0,0", shape->GetAttribute("Orientation")->GetValue());
    EXPECT_EQ("100,100,100", shape->GetAttribute("Size")->GetValue());
    EXPECT_TRUE(region->HasChild("JustCreated"));
}

TEST(ForceFieldScene, SaveWritesATrimmedCopyWithoutTheJumpInformation)
{
    CCapturingLogMgr log;
    CTempDir dir;
    const xml::CNodePtr scene = Scene("50,50,0", "40,10,0", kMesh);
    ASSERT_TRUE(SaveScene(scene, dir.File("a.ForceFields"), "New name"));

    const xml::CNodePtr saved = xml::LoadXmlFile(dir.File("a.ForceFields"))->GetChild("scene");
    EXPECT_FALSE(saved->GetChild("Preset")->HasChild("Info"));
    EXPECT_EQ("New name", saved->GetAttribute("FullName")->GetValue());
    EXPECT_EQ("return CVector(0,0,0)",
              saved->GetChild("Preset")->GetChild("Wind")->GetChild("Region")->GetChild("Function")->GetValue());
    // The working tree keeps its rows and its name.
    EXPECT_TRUE(scene->GetChild("Preset")->HasChild("Info"));
    EXPECT_EQ("Old", scene->GetAttribute("FullName")->GetValue());

    EXPECT_FALSE(SaveScene(scene, dir.File("missing/a.ForceFields"), "New name"));
}

TEST(ForceFieldScene, FitMovesOnlyTheSidesTheStartOrTargetLieOn)
{
    struct Case
    {
        const char* start;
        const char* target;
        const char* mesh;
        CVector min, max;
    } cases[] = {
        {"50,50,0", "40,10,0", kMesh, {0, 0, 0}, {100, 100, 0}},
        {"100,50,0", "40,10,0", kMesh, {0, 0, 0}, {104, 104, 4}},
        {"50,50,0", "40,0.05,0", kMesh, {-4, -4, -4}, {100, 100, 0}},
        {"120,50,0", "40,10,0", "<Mesh Mesh='Wall.mesh' Scale='2,2,2'/>", {0, 0, 0}, {128, 108, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        const xml::CNodePtr scene = Scene(c.start, c.target, c.mesh);
        FitBoundingBox(scene);
        const xml::CNodePtr box = GetBoundaries(scene);
        EXPECT_VECTOR_NEAR(c.min, box->GetAttribute("MinCorner")->GetValue<CVector>(), 1e-4f);
        EXPECT_VECTOR_NEAR(c.max, box->GetAttribute("MaxCorner")->GetValue<CVector>(), 1e-4f);
    }
    EXPECT_THROW(FitBoundingBox(Scene("50,50,0", "40,10,0", "")), xml::CNoNodeException);
}
