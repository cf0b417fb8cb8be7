// The nine default files carried inside the program: each is the exact copy of
// its file in conf/ or data/, parses, and holds what the program reads from it.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "core/Compressor.h"
#include "core/ConfigPath.h"
#include "core/EmbeddedFiles.h"
#include "core/ResourceMgr.h"
#include "core/XmlFile.h"
#include "support/MessageCapture.h"

using xml::CNodePtr;

namespace {

std::string ReadSource(const std::string& relative)
{
    std::ifstream in(std::string(SDS_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DefaultFiles : public ::testing::Test
{
protected:
    CNodePtr Load(const std::string& path, const std::string& rootName)
    {
        const CNodePtr file = m_Resources.LoadDefaultXml(path);
        EXPECT_TRUE(file && file->HasChild(rootName)) << path;
        return file->GetChild(rootName);
    }

    CMessageCapture m_Quiet;
    sds::CResourceMgr m_Resources;
};

std::vector<CNodePtr> Children(const CNodePtr& node, const std::string& name)
{
    std::vector<CNodePtr> found;
    if (node->HasChild(name))
        for (auto it = node->GetChildrenBegin(name); it != node->GetChildrenEnd(name); ++it)
            found.push_back(it->second);
    return found;
}

} // namespace

TEST_F(DefaultFiles, EmbeddedCopiesAreTheFilesInTheRepository)
{
    const std::pair<const char*, const char*> files[] = {
        {"../data/physics/physics.xml", "Physics"}, {"../data/physics/Navigator220.svg", "svg"},
        {"../conf/conf.xml", "sds"},                {"../conf/equipment.xml", "Equipment"},
        {"../conf/presets.xml", "Presets"},         {"../conf/collision.conf", "Collision"},
        {"../conf/materials.conf", "Materials"},    {"../conf/ffcontacts.conf", "Collision"},
        {"../conf/bindings.xml", "InputBindings"},
    };
    ASSERT_EQ(9u, sds::g_EmbeddedFileCount);
    for (std::size_t i = 0; i < sds::g_EmbeddedFileCount; ++i) {
        const sds::CEmbeddedFile& embedded = sds::g_EmbeddedFiles[i];
        EXPECT_EQ(files[i].first, std::string(embedded.Path)) << "registration order";
        const std::string source = ReadSource(std::string(embedded.Path).substr(3));
        ASSERT_FALSE(source.empty()) << embedded.Path;
        EXPECT_EQ(source, sds::CCompressor::Inflate(embedded.Data, embedded.Size)) << embedded.Path;
        Load(embedded.Path, files[i].second);
    }
}

TEST_F(DefaultFiles, ConfigurationHoldsTheStartUpKeys)
{
    const CNodePtr sds = Load("../conf/conf.xml", "sds");
    const std::pair<const char*, const char*> keys[] = {
        {"Application->>Edition", "SkorvelPersonal"},
        {"Application->>Version", "1.2.863.0"},
        {"Application->>OutputConfigs", "0"},
        {"Application->Settings->>Path", "../conf/settings.xml"},
        {"Application->GfxCfg->Title", "Dravonkel"},
        {"Application->GfxCfg->DefaultRenderSystem", "OpenGL Rendering Subsystem"},
        {"Application->CEGUILog->>Path", "../logs/CEGUI.log"},
        {"Application->InitProgress->>FadeOutTime", "0.3"},
        {"Application->ScreenShot->>Suffix", ".png"},
        {"Application->Tutorials->>Path", "../data/Tutorials/"},
        {"Application->Tutorials->>Extension", ".Tutorial"},
        {"Application->Configs->>PhyConf", "../data/physics/physics.xml"},
        {"Application->Configs->>Materials", "../conf/materials.conf"},
        {"Switches->>ReloadDZs", "0"},
        {"Switches->>DisableInputs", "0"},
        {"SoundSystem->>Enabled", "1"},
        {"Scene->Fading->>In", "0.5"},
        {"Scene->Fading->>Out", "0.5"},
        {"Jumper->>LogData", "0"},
        {"Devices->>Type", "Mouse"},
        {"Profiles->>Path", "../profiles/"},
        {"Equipment->>FileName", "../conf/equipment.xml"},
        {"UnitConverter->>Default", "Imperial (lb, ft)"},
        {"ScriptMgr->>LoadingMethod", "dofile"},
    };
    for (const auto& key : keys)
        EXPECT_EQ(key.second, sds::GetConfigString(sds, key.first, "<missing>")) << key.first;

    const CNodePtr application = sds->GetChild("Application");
    EXPECT_EQ("31", application->GetChildById("Console", "Console", "Name,Id")->GetAttribute("MaxLines")->GetValue());
    EXPECT_EQ("0.4", sds->GetChild("Jumper")->GetChildById("Constant", "SwitchDelay", "Name,Id")
                         ->GetAttribute("Value")->GetValue());
    EXPECT_TRUE(sds->GetChild("MenuStates")->GetChild("MainMenu")->HasChildById("Stream", "BgMusic", "Name,Id"));
    EXPECT_FALSE(sds->GetChild("SplashScreens")->GetChild("SplashScreen")->GetAttribute("Overlay")->GetValue().empty());

    // Only the GL render system, the PNG codec and the particle systems, from the system's plug-in folder.
    const std::vector<CNodePtr> plugins = Children(application->GetChild("GfxCfg"), "Plugin");
    ASSERT_EQ(3u, plugins.size());
    EXPECT_EQ("/usr/lib/x86_64-linux-gnu/OGRE/RenderSystem_GL", plugins[0]->GetAttribute("Name")->GetValue());
    EXPECT_EQ("/usr/lib/x86_64-linux-gnu/OGRE/Codec_STBI", plugins[1]->GetAttribute("Name")->GetValue());
    EXPECT_EQ("/usr/lib/x86_64-linux-gnu/OGRE/Plugin_ParticleFX", plugins[2]->GetAttribute("Name")->GetValue());

    // The files the configuration names are carried inside the program: it
    // starts from them alone.
    for (const char* path : {"Equipment->>FileName", "Application->Configs->>PhyConf",
                             "Application->Configs->>Materials", "InputBindings->>File"})
        EXPECT_TRUE(m_Resources.IsEmbedded(sds::GetConfigString(sds, path, ""))) << path;

    // The help tells where the keys are set.
    const std::string bindings = sds::GetConfigString(sds, "InputBindings->>File", "").substr(3);
    int helpTexts = 0;
    for (const CNodePtr& change : Children(sds->GetChild("GUI"), "Change"))
        for (const CNodePtr& property : Children(change, "SetProperty"))
            if (property->GetAttribute("Window")->GetValue() == "wndHelp/mleKeyboard") {
                ++helpTexts;
                EXPECT_NE(std::string::npos, property->GetValue().find(bindings)) << property->GetValue();
            }
    EXPECT_GT(helpTexts, 0);
}

TEST_F(DefaultFiles, EveryEditionFindsItsElements)
{
    const CNodePtr sds = Load("../conf/conf.xml", "sds");
    const CNodePtr application = sds->GetChild("Application");
    std::set<std::string> editions;
    for (const CNodePtr& edition : Children(application, "AvailableEdition"))
        editions.insert(edition->GetValue());
    EXPECT_EQ((std::set<std::string>{"SkorvelPersonal", "SkorvelInstructor", "MerrowickPersonal",
                                     "MerrowickInstructor", "DovuvUvozeVozediza"}),
              editions);

    // After selection each edition keeps exactly one of these.
    const std::pair<CNodePtr, const char*> perEdition[] = {
        {application->GetChild("About"), "Edition"}, {application, "DropZones"}, {sds, "Rules"}};
    for (const std::string& edition : editions) {
        for (const auto& group : perEdition) {
            int kept = 0;
            for (const CNodePtr& element : Children(group.first, group.second)) {
                const std::string owner = element->GetAttribute("Edition", "");
                kept += owner.empty() || owner == edition || editions.count(owner) == 0;
            }
            EXPECT_EQ(1, kept) << group.second << " of " << edition;
        }
        const CNodePtr rules = sds->GetChildById("Rules", edition, "Edition");
        const CNodePtr bindings =
            sds->GetChildById("InputBindings", rules->GetAttribute("DefaultBinding")->GetValue(), "Edition");
        EXPECT_EQ(0u, editions.count(bindings->GetAttribute("Edition")->GetValue())) << "bindings must survive selection";
        // The set is kept in a file of its own.
        const CNodePtr modes =
            xml::LoadXmlFile(bindings->GetAttribute("File")->GetValue())->GetChild("InputBindings");
        for (const char* mode : {"Global", "Menu", "ExitPlane", "HangingOutOfPlane", "FreeFall", "CanopyRide",
                                 "LandingNormal", "TrajectoryViewer", "Editor"}) {
            const CNodePtr node = modes->GetChildById("Mode", mode, "Name");
            EXPECT_TRUE(node->HasChild("Discrete") && node->HasChild("Analog")) << mode;
        }
    }
}

TEST_F(DefaultFiles, PhysicsHoldsTheWorldAndTheJumperBody)
{
    const CNodePtr physics = Load("../data/physics/physics.xml", "Physics");
    for (const char* key : {"MaxTimeStep", "SkinWidth", "Gravity", "maxIter"})
        EXPECT_TRUE(physics->HasAttribute(key)) << key;
    EXPECT_EQ(30.0f, physics->GetChild("WindMgr")->GetAttribute("MaxWindStrength")->GetValue<float>());

    std::vector<std::pair<float, float>> table;
    for (const CNodePtr& entry : Children(physics->GetChildById("Table", "AirDensity", "Name,Id"), "Entry"))
        table.emplace_back(entry->GetAttribute("x")->GetValue<float>(), entry->GetAttribute("y")->GetValue<float>());
    EXPECT_EQ((std::vector<std::pair<float, float>>{{0.0f, 1.23f}, {2000.0f, 1.01f}}), table);

    const CNodePtr jumper = physics->GetChild("PhyJumper");
    EXPECT_EQ("CanopyRide", jumper->GetAttribute("StartIn")->GetValue());
    const CNodePtr body = jumper->GetChildById("Shape", "Body", "Name,Id");
    EXPECT_EQ(70.0f, body->GetAttribute("Mass")->GetValue<float>());
    EXPECT_EQ("JumperBody", body->GetAttribute("Material")->GetValue());
    const CNodePtr canopy = jumper->GetChildById("State", "CanopyRide", "Name,Id");
    EXPECT_EQ(5.0f, canopy->GetChild("CanopyInfo")->GetAttribute("Mass")->GetValue<float>());
    EXPECT_EQ(20.438669f, canopy->GetChildById("ForceLift", "Lift", "Name,Id")->GetAttribute("Sw")->GetValue<float>());
    const CNodePtr landing = jumper->GetChildById("State", "Landing", "Name,Id");
    EXPECT_TRUE(landing->GetChildById("RagDoll", "Slider", "Name,Id")->HasAttribute("Disabled"));
    EXPECT_FALSE(landing->GetChildById("RagDoll", "Jumper", "Name,Id")->HasAttribute("Disabled"));

    // Every force carries the three attributes a force cannot do without.
    const CNodePtr forceOwners[] = {jumper->GetChildById("State", "Test", "Name,Id"), physics->GetChild("Probe"),
                                    physics->GetChild("WindSock")};
    for (const CNodePtr& owner : forceOwners)
        for (const char* kind : {"ForceDrag", "ForceGravity"})
            for (const CNodePtr& force : Children(owner, kind))
                for (const char* key : {"Force", "Position", "Color"})
                    EXPECT_TRUE(force->HasAttribute(key)) << force->GetPath() << " " << key;
}

TEST_F(DefaultFiles, MaterialsNameTheSurfacesTheyMap)
{
    const CNodePtr materials = Load("../conf/materials.conf", "Materials");
    for (const char* key : {"Restitution", "StaticFriction", "DynamicFriction"})
        EXPECT_TRUE(materials->GetChild("DefaultMaterial")->HasAttribute(key)) << key;

    std::set<std::string> names;
    for (const CNodePtr& material : Children(materials, "Material"))
        EXPECT_TRUE(names.insert(material->GetAttribute("Name")->GetValue()).second) << "repeated material";
    for (const char* needed : {"JumperBody", "PilotChute", "Canopy", "Target", "Boundary"})
        EXPECT_EQ(1u, names.count(needed)) << needed;

    const std::vector<CNodePtr> surfaces = Children(materials, "Surface");
    EXPECT_FALSE(surfaces.empty());
    for (const CNodePtr& surface : surfaces)
        EXPECT_EQ(1u, names.count(surface->GetAttribute("Type")->GetValue())) << surface->GetPath();
}

namespace {

// Reads path data as the curve reader does: a move and its point, then
// segments of a command letter and three points, closed by "z".
bool ReadPath(const std::string& data, std::vector<std::pair<float, float>>& points)
{
    std::istringstream in(data);
    char command = 0;
    auto readPoint = [&]() {
        float x = 0.0f, y = 0.0f;
        char separator = 0;
        if (!(in >> x >> separator >> y))
            return false;
        points.emplace_back(x, y);
        return true;
    };
    if (!(in >> command) || command != 'M' || !readPoint())
        return false;
    while (in >> command) {
        if (command == 'z')
            return true;
        if (command != 'C' || !readPoint() || !readPoint() || !readPoint())
            return false;
    }
    return false;
}

} // namespace

TEST_F(DefaultFiles, CanopyCurvesReadAgainstTheirAxes)
{
    const CNodePtr svg = Load("../data/physics/Navigator220.svg", "svg");
    const CNodePtr axesGroup = svg->GetChildById("g", "Axes", "inkscape:label");
    const CNodePtr curveGroup = svg->GetChildById("g", "Curves", "inkscape:label");

    const std::map<std::string, std::pair<std::string, std::string>> axes = {
        {"LiftCoefficientAxes", {"-0.4,0,-0.5", "1.4,0,2"}},
        {"ToggleInputConversionAxes", {"0,0,0", "1,0,1"}},
        {"FrontRiserInputConversionAxes", {"0,0,0", "1,0,0.15"}},
        {"RearRiserInputConversionAxes", {"0,0,0", "1,0, -0.07"}},
        {"LinearConversionAxes", {"-0.087,0,0", "1,0,1"}},
        {"PressureVsTimeAxes", {"-10,0,0", "20,0,1"}},
        {"TimeInputAxes", {"0,0,0", "60,0,1"}},
    };
    std::map<std::string, std::vector<std::pair<float, float>>> boxes;
    for (const auto& a : axes) {
        const CNodePtr path = axesGroup->GetChildById("path", a.first, "id");
        EXPECT_EQ(a.second.first, path->GetAttribute("Min")->GetValue()) << a.first;
        EXPECT_EQ(a.second.second, path->GetAttribute("Max")->GetValue()) << a.first;
        std::vector<std::pair<float, float>>& points = boxes[a.first];
        EXPECT_TRUE(ReadPath(path->GetAttribute("d")->GetValue(), points)) << a.first;
        EXPECT_EQ(13u, points.size()) << a.first << ": a rectangle of four segments";
    }

    // Each curve runs left to right inside the box of the axes it is read with.
    const std::pair<const char*, const char*> curves[] = {
        {"LiftCoefficientCurve", "LiftCoefficientAxes"},
        {"LinearConversion", "ToggleInputConversionAxes"},
        {"Linear50percent", "FrontRiserInputConversionAxes"},
        {"Linear50percent", "RearRiserInputConversionAxes"},
    };
    for (const auto& c : curves) {
        std::vector<std::pair<float, float>> points;
        ASSERT_TRUE(ReadPath(curveGroup->GetChildById("path", c.first, "id")->GetAttribute("d")->GetValue(), points))
            << c.first;
        EXPECT_EQ(0u, (points.size() - 1) % 3) << c.first;
        float minX = 1e30f, maxX = -1e30f, minY = 1e30f, maxY = -1e30f;
        for (const auto& p : boxes[c.second]) {
            minX = std::min(minX, p.first), maxX = std::max(maxX, p.first);
            minY = std::min(minY, p.second), maxY = std::max(maxY, p.second);
        }
        EXPECT_EQ(minX, points.front().first) << c.first << " starts at the left edge";
        EXPECT_EQ(maxX, points.back().first) << c.first << " ends at the right edge";
        for (std::size_t i = 1; i < points.size(); ++i) {
            EXPECT_LE(points[i - 1].first, points[i].first) << c.first << " point " << i;
            EXPECT_TRUE(points[i].second >= minY && points[i].second <= maxY) << c.first << " point " << i;
        }
    }
}
