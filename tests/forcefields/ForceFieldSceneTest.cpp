#include <functional>

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include "core/ConfigPath.h"
#include "core/XmlFile.h"
#include "forcefields/ForceFieldScene.h"
#include "forcefields/ForceFunctions.h"
#include "graphics/RibbonTrailDesc.h"
#include "physics/WindMgr.h"
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

TEST(ForceFieldScene, ScenesWithoutATargetOrWithNumbersThatAreNoneAreRefused)
{
    const struct
    {
        const char* damage;
        std::function<void(const xml::CNodePtr&)> spoil;
        std::string toFly;
        std::string toEdit;
    } cases[] = {
        {"sound", [](const xml::CNodePtr&) {}, "", ""},
        {"no target", [](const xml::CNodePtr& scene) { scene->RemoveChild(scene->GetChild("Target")); },
         "it has no \"Target\" with a \"Position\" to aim at", ""},
        {"a start of no numbers",
         [](const xml::CNodePtr& scene) {
             SetConfigString(scene, "Preset->Jumper->>Position", "nan,nan,nan");
         },
         "scene/Preset/Jumper \"Position\" is 'nan,nan,nan', which is no number to fly with", "same"},
        {"an endless field",
         [](const xml::CNodePtr& scene) {
             SetConfigString(scene, "Preset->Wind->Region->Shape->>Size", "100, inf, 20");
         },
         "scene/Preset/Wind/Region/Shape \"Size\" is '100, inf, 20', which is no number to fly with", "same"},
        {"a corner at minus infinity",
         [](const xml::CNodePtr& scene) { GetBoundaries(scene)->GetAttribute("MinCorner")->SetValue("-inf,0,0"); },
         "scene/BoundingBox \"MinCorner\" is '-inf,0,0', which is no number to fly with", "same"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        const xml::CNodePtr scene = Scene("10,90,0", "50,0,0", kMesh);
        c.spoil(scene);
        EXPECT_EQ(c.toFly, RefuseScene(*scene, true));
        EXPECT_EQ(c.toEdit == "same" ? c.toFly : c.toEdit, RefuseScene(*scene, false));
    }
}

TEST(ForceFieldScene, ShippedScenesHoldWhatTheEditorAndTheLevelRead)
{
    CCapturingLogMgr log;
    const boost::filesystem::path folder = std::string(SDS_SOURCE_DIR) + "/data/DovuvUvozeVozediza";
    std::vector<std::string> files = {(folder / "default").string()};
    for (const auto& entry : boost::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".ForceFields")
            files.push_back(entry.path().string());

    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const xml::CNodePtr scene = xml::LoadXmlFile(file)->GetChild("scene");
        EXPECT_FALSE(scene->GetAttribute("FullName")->GetValue().empty());
        EXPECT_EQ("", RefuseScene(*scene, true));
        const xml::CNodePtr preset = scene->GetChild("Preset");
        preset->GetChild("Camera")->GetAttribute("Pos")->GetValue<CVector>();
        const xml::CNodePtr visualization = scene->GetChild("ForceFieldVisualization");
        EXPECT_NO_THROW(CRibbonTrailDesc::Read(visualization->GetChild("Trail")));
        const CVector life = visualization->GetAttribute("TimeToLive")->GetValue<CVector>();
        EXPECT_TRUE(life.x > 0 && life.y >= life.x) << life.x << "," << life.y;

        int fields = 0;
        xml::ForEachChild(*preset->GetChild("Wind"), "Region", [&fields](const xml::CNodePtr& region) {
            ++fields;
            region->GetChild("Shape")->GetAttribute("Size")->GetValue<CVector>();
            for (const char* id : {"1", "2", "3"})
                region->GetChildById("Radius", id, ID_NAMES)->GetAttribute("Position")->GetValue<CVector>();
            EXPECT_EQ("", CheckForceFunction(region->GetChild("Function")->GetValue()));
        });
        EXPECT_TRUE(fields >= 1 && fields <= 3) << fields;
        // The level's wind takes the scene's fields, so they blow in flight and the editor shows them.
        physics::CWindMgr wind(30.0f);
        wind.LoadRegions(preset->GetChild("Wind"));
        EXPECT_EQ(static_cast<std::size_t>(fields), wind.GetRegions().size());

        // The start and the target lie inside the area with room to the sides:
        // the save's fit leaves the area as it is.
        const xml::CNodePtr box = GetBoundaries(scene);
        const std::string min = box->GetAttribute("MinCorner")->GetValue();
        const std::string max = box->GetAttribute("MaxCorner")->GetValue();
        FitBoundingBox(scene);
        EXPECT_EQ(min, box->GetAttribute("MinCorner")->GetValue());
        EXPECT_EQ(max, box->GetAttribute("MaxCorner")->GetValue());
    }
    EXPECT_GE(files.size(), 4u);
}

// What the editor does not edit reaches the saved file as the scene had it:
// the sky, the ground and the target's model of the shipped scenes.
TEST(ForceFieldScene, SavingAShippedSceneKeepsItsSkyGroundAndTarget)
{
    CCapturingLogMgr log;
    CTempDir dir;
    for (const char* file : {"Crosswind.ForceFields", "default"}) {
        SCOPED_TRACE(file);
        const xml::CNodePtr scene =
            xml::LoadXmlFile(std::string(SDS_SOURCE_DIR) + "/data/DovuvUvozeVozediza/" + file)->GetChild("scene");
        ASSERT_TRUE(SaveScene(scene, dir.File("saved.ForceFields"), "Saved"));
        const xml::CNodePtr saved = xml::LoadXmlFile(dir.File("saved.ForceFields"))->GetChild("scene");
        for (const char* element : {"Caelum", "SkyBox", "Fog", "SunLight", "Plane", "Target"})
            EXPECT_TRUE(saved->HasChild(element) && xml::Match(*scene->GetChild(element), *saved->GetChild(element)))
                << element;
    }
}
