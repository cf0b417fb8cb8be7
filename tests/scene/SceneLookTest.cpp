// A scene's sky and ground as drawn: its own, or the template's for a scene
// written before scenes had them.

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "core/XmlFile.h"
#include "scene/SceneLook.h"

namespace {

xml::CNodePtr Scene(const std::string& children)
{
    return xml::LoadXmlFromMemory("<scene FullName='Old'>" + children + "</scene>", "scene")->GetChild("scene");
}

const char* const kLook = "<Caelum Enabled='false'/><SkyBox Distance='4000' Material='Sky/SkyBox'/>"
                          "<SunLight name='Sun'/><Fog Color='1,1,1' LinearStart='1' LinearEnd='2' Density='0.1'/>"
                          "<Plane Width='10' Height='10' Material='Sky/Ground'/>";

std::size_t Count(const xml::CNode& scene, const char* name)
{
    const auto range = scene.GetChildren().equal_range(name);
    return static_cast<std::size_t>(std::distance(range.first, range.second));
}

// The force-field edition's template of new scenes, as the configuration names it.
xml::CNodePtr ShippedTemplate()
{
    const xml::CNodePtr configs =
        xml::LoadXmlFile("../conf/conf.xml")->GetChild("sds")->GetChild("Application")->GetChild("Configs");
    const std::string path =
        configs->GetChildById("EditorTemplate", "DovuvUvozeVozediza", "Edition")->GetAttribute("Path")->GetValue();
    return xml::LoadXmlFile(path)->GetChild("scene");
}

} // namespace

// What a scene lacks it takes from the look, and only that; the scene itself
// stays as it was.
TEST(SceneLook, AScenesOwnSkyAndGroundStandTheRestComesFromTheLook)
{
    const xml::CNodePtr look = Scene(kLook);
    const struct
    {
        const char* m_Scene;
        bool m_OwnLook;
        std::size_t m_SkyBoxes;
        std::size_t m_Planes;
    } cases[] = {
        {"<Caelum Enabled='true'/><Plane Width='1' Height='1'/>", true, 0, 1},
        {"<SkyDome/><Terrain/>", true, 0, 0},
        {"", false, 1, 1},
        {"<Terrain/>", false, 1, 0},
        {"<SkyBox Distance='10' Material='Other'/>", false, 1, 1},
        {"<Plane Width='1' Height='1'/><Fog Color='0,0,0' LinearStart='1' LinearEnd='2' Density='0.5'/>", false, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_Scene);
        const xml::CNodePtr scene = Scene(c.m_Scene);
        const std::size_t children = scene->GetChildren().size();
        EXPECT_EQ(c.m_OwnLook, sds::HasOwnLook(*scene));
        const xml::CNodePtr drawn = sds::WithDefaultLook(scene, look);
        EXPECT_EQ(c.m_SkyBoxes, Count(*drawn, "SkyBox"));
        EXPECT_EQ(c.m_Planes, Count(*drawn, "Plane"));
        EXPECT_EQ("Old", drawn->GetAttribute("FullName")->GetValue());
        EXPECT_EQ(children, scene->GetChildren().size()) << "the scene itself is not changed";
        if (drawn != scene && Count(*scene, "Fog") == 1) {
            EXPECT_EQ("0,0,0", drawn->GetChild("Fog")->GetAttribute("Color")->GetValue()) << "its own fog first";
        }
    }
    const xml::CNodePtr bare = Scene("");
    EXPECT_EQ(bare, sds::WithDefaultLook(bare, nullptr));
    EXPECT_EQ(bare, sds::WithDefaultLook(bare, Scene("<Target/>")));
}

// Every shipped force-field scene and the template of new ones have a sky and
// a ground of their own; a scene saved before they had them is drawn with the
// template's.
TEST(SceneLook, ShippedForceFieldScenesHaveASkyAndAGround)
{
    const xml::CNodePtr look = ShippedTemplate();
    EXPECT_TRUE(sds::HasOwnLook(*look));
    int scenes = 0;
    for (const auto& entry : boost::filesystem::directory_iterator("../data/DovuvUvozeVozediza")) {
        if (entry.path().extension() != ".ForceFields")
            continue;
        SCOPED_TRACE(entry.path().string());
        ++scenes;
        const xml::CNodePtr scene = xml::LoadXmlFile(entry.path().string())->GetChild("scene");
        EXPECT_TRUE(sds::HasOwnLook(*scene));

        // The same scene as written before: no sky, no ground.
        for (const char* name : {"Caelum", "SkyBox", "SunLight", "Fog", "Plane"})
            while (scene->HasChild(name))
                scene->RemoveChild(scene->GetChild(name));
        EXPECT_FALSE(sds::HasOwnLook(*scene));
        const xml::CNodePtr drawn = sds::WithDefaultLook(scene, look);
        for (const char* name : {"Caelum", "SkyBox", "SunLight", "Fog", "Plane"})
            EXPECT_TRUE(drawn->HasChild(name)) << name;
        EXPECT_EQ(Count(*look, "Plane"), Count(*drawn, "Plane"));
    }
    EXPECT_GT(scenes, 0);
}
