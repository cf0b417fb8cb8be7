#include <gtest/gtest.h>

#include <OGRE/OgreBillboard.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreParticleSystemManager.h>
#include <OGRE/OgreStaticGeometry.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreSubMesh.h>

#include "core/XmlException.h"
#include "scene/SceneCounts.h"
#include "scene/ZoneWorld.h"
#include "scene/ogre/DotScene.h"
#include "support/Pictures.h"

namespace {

std::size_t VertexCount(const Ogre::MeshPtr& mesh)
{
    const Ogre::SubMesh* sub = mesh->getSubMesh(0);
    return (sub->useSharedVertices ? mesh->sharedVertexData : sub->vertexData)->vertexCount;
}

// The mean colour of the rows from `first` up to `last`.
Ogre::ColourValue MeanOfRows(const CWindowPicture& picture, unsigned first, unsigned last)
{
    Ogre::ColourValue sum(0, 0, 0, 0);
    for (unsigned y = first; y < last; ++y)
        for (unsigned x = 0; x < picture.Width; ++x)
            sum += picture.At(x, y);
    return sum / static_cast<float>((last - first) * picture.Width);
}

xml::CNodePtr Scene(const std::string& text)
{
    return xml::LoadXmlFromMemory(text, "scene")->GetChild("scene");
}

class DotSceneTest : public ::testing::Test
{
protected:
    std::unique_ptr<wrappers::CDotScene> Make(const std::string& text, bool useSceneSky = true)
    {
        m_Progress.clear();
        return std::make_unique<wrappers::CDotScene>(&m_World.Mgr(), Scene(text), useSceneSky, 0.2f, 0.6f,
                                                     [this](const std::string& message, float fraction) {
                                                         m_Progress.emplace_back(message, fraction);
                                                     });
    }
    Ogre::SceneManager* Level() { return m_World.Scene(); }

    CZoneWorld m_World;
    CZoneWorld::CProgress m_Progress;
};

const char* const kNodes = R"(
<scene AmbientColor="0.2,0.3,0.4">
  <nodes>
    <node name="A">
      <position x="1" y="2" z="3"/>
      <rotation qw="0" qx="0" qy="1" qz="0"/>
      <scale x="2" y="2" z="2"/>
      <light name="LightA" type="spot">
        <colourDiffuse r="1" g="0.5" b="0"/>
        <lightAttenuation range="50"/>
        <direction x="0" y="-2" z="0"/>
      </light>
      <light name="SecondLight"/>
      <particlesystem name="PuffsA" script="Test/Puffs"/>
      <entity name="CubeA" meshFile="Cube.mesh"/>
      <entity name="BallA" meshFile="SimpleSphere.mesh"/>
    </node>
    <node name="Empty"/>
    <node name="Board">
      <position x="5" y="0" z="5"/>
      <billboardSet type="orientedSelf" name="BaseWhite" width="3" height="2">
        <billboard><position x="1" y="2" z="3"/></billboard>
        <billboard><colourDiffuse r="1" g="0" b="0"/></billboard>
      </billboardSet>
      <billboardSet type="topLeft" name="BaseWhite" width="1" height="1"/>
    </node>
  </nodes>
  <nodes><node name="InSecondNodes"/></nodes>
</scene>)";

} // namespace

TEST_F(DotSceneTest, AnEmptySceneMakesNothingAndStillResetsTheFog)
{
    const CSceneCounts before(Level());
    Level()->setFog(Ogre::FOG_LINEAR, Ogre::ColourValue::Red, 0.5f, 10, 20);
    auto scene = Make("<scene/>");
    EXPECT_EQ(before, CSceneCounts(Level()));
    EXPECT_EQ(Ogre::ColourValue(0.5f, 0.5f, 0.5f, 1.0f), Level()->getAmbientLight());
    const CZoneWorld::CProgress progress{
        {"Setting parameters", 0.2f}, {"Loading nodes", 0.26f}, {"Building static geometry", 0.32f}};
    ASSERT_EQ(progress.size(), m_Progress.size());
    for (std::size_t i = 0; i < progress.size(); ++i) {
        EXPECT_EQ(progress[i].first, m_Progress[i].first);
        EXPECT_FLOAT_EQ(progress[i].second, m_Progress[i].second);
    }
    scene.reset();
    EXPECT_EQ(Ogre::FOG_NONE, Level()->getFogMode());
    EXPECT_EQ(Ogre::ColourValue::White, Level()->getFogColour());
    EXPECT_FLOAT_EQ(0.001f, Level()->getFogDensity());
    EXPECT_EQ(before, CSceneCounts(Level()));
}

TEST_F(DotSceneTest, NodesWithTheirLightsParticlesEntitiesAndBillboards)
{
    Ogre::ParticleSystemManager::getSingleton().createTemplate("Test/Puffs", "General");
    const CSceneCounts before(Level());
    {
        auto scene = Make(kNodes);
        EXPECT_EQ(Ogre::ColourValue(0.2f, 0.3f, 0.4f, 1.0f), Level()->getAmbientLight());

        Ogre::SceneNode* a = Level()->getSceneNode("A");
        EXPECT_EQ(Level()->getRootSceneNode(), a->getParent());
        EXPECT_EQ(Ogre::Vector3(1, 2, 3), a->getPosition());
        EXPECT_EQ(Ogre::Quaternion(0, 0, 1, 0), a->getOrientation());
        EXPECT_EQ(Ogre::Vector3(2, 2, 2), a->getScale());
        Ogre::Light* light = Level()->getLight("LightA");
        EXPECT_EQ(a, light->getParentSceneNode());
        EXPECT_EQ(Ogre::Light::LT_SPOTLIGHT, light->getType());
        EXPECT_EQ(Ogre::ColourValue(1, 0.5f, 0), light->getDiffuseColour());
        // Only "range" was given: the engine's own factors stay.
        EXPECT_FLOAT_EQ(50, light->getAttenuationRange());
        EXPECT_FLOAT_EQ(1, light->getAttenuationConstant());
        EXPECT_FLOAT_EQ(0, light->getAttenuationLinear());
        EXPECT_EQ(Ogre::Vector3(0, -1, 0), light->getDerivedDirection() * Ogre::Vector3(-1, 1, -1));
        EXPECT_TRUE(light->getCastShadows());
        EXPECT_FALSE(Level()->hasLight("SecondLight"));
        EXPECT_EQ(a, Level()->getParticleSystem("PuffsA")->getParentSceneNode());
        for (const char* name : {"CubeA", "BallA"}) {
            EXPECT_EQ(a, Level()->getEntity(name)->getParentSceneNode()) << name;
            EXPECT_EQ(2u, Level()->getEntity(name)->getQueryFlags()) << name;
        }
        EXPECT_EQ(Ogre::Vector3::ZERO, Level()->getSceneNode("Empty")->getPosition());
        EXPECT_FALSE(Level()->hasSceneNode("InSecondNodes"));

        // The billboards stand where they say; their node stays where it was put.
        Ogre::BillboardSet* set = Level()->getBillboardSet("Board");
        EXPECT_EQ(Ogre::Vector3(5, 0, 5), Level()->getSceneNode("Board")->getPosition());
        EXPECT_EQ(Ogre::BBT_ORIENTED_SELF, set->getBillboardType());
        EXPECT_EQ(Ogre::BBO_CENTER, set->getBillboardOrigin());
        EXPECT_FLOAT_EQ(3, set->getDefaultWidth());
        EXPECT_FLOAT_EQ(2, set->getDefaultHeight());
        ASSERT_EQ(2, set->getNumBillboards());
        EXPECT_EQ(Ogre::Vector3(1, 2, 3), set->getBillboard(0)->getPosition());
        EXPECT_EQ(Ogre::ColourValue::White, set->getBillboard(0)->getColour());
        EXPECT_EQ(Ogre::Vector3::ZERO, set->getBillboard(1)->getPosition());
        EXPECT_EQ(Ogre::ColourValue::Red, set->getBillboard(1)->getColour());
        EXPECT_EQ(before.m_BillboardSets + 1, CSceneCounts(Level()).m_BillboardSets);
    }
    EXPECT_EQ(before, CSceneCounts(Level()));
    Ogre::ParticleSystemManager::getSingleton().removeTemplate("Test/Puffs");
}

TEST_F(DotSceneTest, OneBillboardTypeTextGivesTypeAndOrigin)
{
    const struct
    {
        const char* m_Text;
        Ogre::BillboardType m_Type;
        Ogre::BillboardOrigin m_Origin;
    } cases[] = {
        {"orientedCommon", Ogre::BBT_ORIENTED_COMMON, Ogre::BBO_CENTER},
        {"orientedSelf", Ogre::BBT_ORIENTED_SELF, Ogre::BBO_CENTER},
        {"topLeft", Ogre::BBT_POINT, Ogre::BBO_TOP_LEFT},
        {"topCenter", Ogre::BBT_POINT, Ogre::BBO_TOP_CENTER},
        {"topRight", Ogre::BBT_POINT, Ogre::BBO_TOP_RIGHT},
        {"left", Ogre::BBT_POINT, Ogre::BBO_CENTER_LEFT},
        {"right", Ogre::BBT_POINT, Ogre::BBO_CENTER_RIGHT},
        {"bottom_left", Ogre::BBT_POINT, Ogre::BBO_BOTTOM_LEFT},
        {"bottom_center", Ogre::BBT_POINT, Ogre::BBO_BOTTOM_CENTER},
        {"bottomRight", Ogre::BBT_POINT, Ogre::BBO_BOTTOM_RIGHT},
        {"bottomCenter", Ogre::BBT_POINT, Ogre::BBO_CENTER},
    };
    for (const auto& c : cases) {
        auto scene = Make(std::string("<scene><nodes><node name='N'><billboardSet type='") + c.m_Text +
                          "' name='BaseWhite' width='1' height='1'/></node></nodes></scene>");
        EXPECT_EQ(c.m_Type, Level()->getBillboardSet("N")->getBillboardType()) << c.m_Text;
        EXPECT_EQ(c.m_Origin, Level()->getBillboardSet("N")->getBillboardOrigin()) << c.m_Text;
    }
}

TEST_F(DotSceneTest, LightTypes)
{
    const struct
    {
        const char* m_Attribute;
        Ogre::Light::LightTypes m_Type;
    } cases[] = {{"", Ogre::Light::LT_POINT},
                 {"type='point'", Ogre::Light::LT_POINT},
                 {"type='directional'", Ogre::Light::LT_DIRECTIONAL},
                 {"type='spot'", Ogre::Light::LT_SPOTLIGHT},
                 {"type='radPoint'", Ogre::Light::LT_POINT},
                 {"type='area'", Ogre::Light::LT_POINT}};
    for (const auto& c : cases) {
        auto scene = Make(std::string("<scene><nodes><node name='N'><light name='L' castShadows='0' visible='false' ") +
                          c.m_Attribute + "/></node></nodes></scene>");
        Ogre::Light* light = Level()->getLight("L");
        EXPECT_EQ(c.m_Type, light->getType()) << c.m_Attribute;
        EXPECT_FALSE(light->getCastShadows());
        EXPECT_FALSE(light->isVisible());
    }
}

// Nodes marked static go into one batch named after the first of them; they
// leave the scene graph and get no billboards.
TEST_F(DotSceneTest, StaticNodesMergeIntoOneBatch)
{
    const CSceneCounts before(Level());
    {
        auto scene = Make(R"(<scene><nodes>
            <node name="Shed" static="true"><entity name="ShedBox" meshFile="Cube.mesh"/>
              <billboardSet type="left" name="BaseWhite" width="1" height="1"/></node>
            <node name="Barn" static="1"><position x="10" y="0" z="0"/><entity name="BarnBox" meshFile="Cube.mesh"/></node>
            <node name="Loose" static="false"/>
          </nodes></scene>)");
        EXPECT_TRUE(Level()->hasStaticGeometry("Shed_st"));
        EXPECT_FALSE(Level()->hasStaticGeometry("Barn_st"));
        EXPECT_TRUE(Level()->getStaticGeometry("Shed_st")->getCastShadows());
        EXPECT_FALSE(Level()->hasSceneNode("Shed"));
        EXPECT_FALSE(Level()->hasSceneNode("Barn"));
        EXPECT_TRUE(Level()->hasSceneNode("Loose"));
        EXPECT_FALSE(Level()->hasBillboardSet("Shed"));
        EXPECT_TRUE(Level()->hasEntity("BarnBox"));
        EXPECT_FALSE(Level()->getStaticGeometry("Shed_st")->getRegions().empty());
    }
    EXPECT_FALSE(Level()->hasStaticGeometry("Shed_st"));
    EXPECT_EQ(before, CSceneCounts(Level()));
}

TEST_F(DotSceneTest, PlanesTakeTheirDefaultsAndGoWithTheScene)
{
    const CResourceCounts meshes;
    const CSceneCounts before(Level());
    {
        auto scene = Make(R"(<scene>
            <Plane Width="10" Height="20"/>
            <Plane Width="4" Height="4" XSegments="2.9" MeshName="TestPond" EntityName="Pond" Material="BaseWhite"
                   CastShadows="true" Position="1, 2, 3" Normal="0, 0, 1" UpVector="0, 1, 0"/>
          </scene>)");
        Ogre::Entity* plain = nullptr;
        for (const auto& entry : Level()->getMovableObjects("Entity"))
            if (entry.first.rfind("EntityForPlane_", 0) == 0)
                plain = static_cast<Ogre::Entity*>(entry.second);
        ASSERT_NE(nullptr, plain);
        EXPECT_EQ(0u, plain->getMesh()->getName().rfind("PlaneMesh_", 0));
        EXPECT_EQ("1 - Default", plain->getSubEntity(0)->getMaterialName());
        EXPECT_EQ(1u, plain->getQueryFlags());
        EXPECT_FALSE(plain->getCastShadows());
        EXPECT_EQ(Ogre::Vector3::ZERO, plain->getParentSceneNode()->getPosition());
        // Facing +y, 10 along x and 20 along z (with the engine's padding), one segment each way.
        const Ogre::Vector3 size = plain->getMesh()->getBounds().getSize();
        EXPECT_NEAR(10.0f, size.x, 0.3f);
        EXPECT_EQ(0.0f, size.y);
        EXPECT_FLOAT_EQ(2 * size.x, size.z);
        EXPECT_EQ(4u, VertexCount(plain->getMesh()));

        Ogre::Entity* pond = Level()->getEntity("Pond");
        EXPECT_EQ("TestPond", pond->getMesh()->getName());
        EXPECT_EQ((2u + 1) * (1 + 1), VertexCount(pond->getMesh()));
        EXPECT_TRUE(pond->getCastShadows());
        EXPECT_EQ(Ogre::Vector3(1, 2, 3), pond->getParentSceneNode()->getPosition());
    }
    EXPECT_EQ(before, CSceneCounts(Level()));
    EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists("TestPond"));
    EXPECT_EQ(meshes.m_Meshes, CResourceCounts().m_Meshes);
}

TEST_F(DotSceneTest, TheSceneSkyOnlyWhenTheZoneHasNoneOfItsOwn)
{
    const std::string sky = R"(<scene>
        <SkyDome Distance="3000" Tiling="4" Curvature="8" Material="BaseWhite"/>
        <SkyBox Distance="3000" Material="NoSuchSkyBox"/>
        <SunLight name="Sun"><light name="SunLight" type="directional"/></SunLight>
      </scene>)";
    {
        auto scene = Make(sky, false);
        EXPECT_FALSE(Level()->isSkyDomeEnabled());
        EXPECT_FALSE(Level()->hasSceneNode("Sun"));
    }
    {
        auto scene = Make(sky, true);
        EXPECT_TRUE(Level()->isSkyDomeEnabled());
        EXPECT_EQ(Ogre::Light::LT_DIRECTIONAL, Level()->getLight("SunLight")->getType());
        // With a dome the box is not even looked at.
        EXPECT_FALSE(m_World.m_Log.HasContaining("NoSuchSkyBox"));
    }
    EXPECT_FALSE(Level()->isSkyDomeEnabled());
}

// A scene whose only sky is the shipped sky box: sky all around, none of it
// black, blue overhead and land under the horizon; the box goes with the scene.
// The view towards the horizon is kept as scene/scene-sky-box.png.
TEST_F(DotSceneTest, ASkyBoxIsTheWholeSkyOfASceneWithoutOne)
{
    const CSceneCounts before(Level());
    const char* const kSkyBoxScene = "<scene><SkyBox Distance='4000' Material='Sky/SkyBox'/></scene>";
    const auto noBlack = [](const CWindowPicture& picture) {
        for (unsigned y = 0; y < picture.Height; y += picture.Height / 12)
            for (unsigned x = 0; x < picture.Width; x += picture.Width / 16) {
                const Ogre::ColourValue c = picture.At(x, y);
                if (c.r + c.g + c.b < 0.3f)
                    return false;
            }
        return true;
    };
    {
        auto scene = Make(kSkyBoxScene);
        EXPECT_TRUE(Level()->hasSceneNode("CustomSkyBoxNode"));
        const struct
        {
            const char* m_Towards;
            Ogre::Vector3 m_At;
        } views[] = {{"north", {0, 0, -1}}, {"east", {1, 0, 0}}, {"south", {0, 0, 1}},
                     {"west", {-1, 0, 0}},  {"up", {0.01f, 1, 0}}, {"down", {0.01f, -1, 0}}};
        for (const auto& view : views) {
            m_World.LookFrom(Ogre::Vector3::ZERO, view.m_At);
            COgreTestEnvironment::Get().RenderFrame();
            const CWindowPicture picture = CWindowPicture::Capture(*COgreTestEnvironment::Get().m_Window);
            EXPECT_TRUE(noBlack(picture)) << view.m_Towards;
            const Ogre::ColourValue top = MeanOfRows(picture, 0, picture.Height / 8);
            const Ogre::ColourValue bottom = MeanOfRows(picture, picture.Height * 7 / 8, picture.Height);
            if (view.m_At.y == 0) {
                EXPECT_GT(top.b, top.r + 0.2f) << view.m_Towards << ": sky above the horizon";
                EXPECT_LT(bottom.b, bottom.g) << view.m_Towards << ": land under it";
            } else if (view.m_At.y > 0) {
                EXPECT_GT(top.b, top.r + 0.2f) << "blue overhead";
            }
        }
        m_World.LookFrom(Ogre::Vector3::ZERO, Ogre::Vector3(0, 0.2f, -1));
        COgreTestEnvironment::Get().RenderFrame();
        CWindowPicture::Capture(*COgreTestEnvironment::Get().m_Window)
            .Keep(CZoneWorld::ArtifactFolder() + "/scene-sky-box.png");
    }
    EXPECT_FALSE(Level()->hasSceneNode("CustomSkyBoxNode"));
    EXPECT_EQ(before, CSceneCounts(Level()));

    // The next scene's sky box meets nothing of this one's.
    auto again = Make(kSkyBoxScene);
    again.reset();
    try {
        Make("<scene><SkyBox Distance='4000' Material='NoSuchSkyBox'/></scene>");
        ADD_FAILURE() << "a sky box without its material was made";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("Sky box material not found: NoSuchSkyBox", e.what());
    }
    EXPECT_EQ(before, CSceneCounts(Level()));
    m_World.LookFrom(CZoneWorld::HomeFieldCamera(), CZoneWorld::HomeFieldTarget());
}

// A scene that fails part-way leaves nothing behind, its resource locations
// included.
TEST_F(DotSceneTest, AFailedSceneTakesDownWhatItMade)
{
    const CSceneCounts before(Level());
    try {
        Make(R"(<scene>
            <FileSystem Path="../data/gfx/general"/>
            <Plane Width="1" Height="1"/>
            <Fog Color="1, 1, 1" LinearStart="1" LinearEnd="100"/>
          </scene>)");
        ADD_FAILURE() << "a fog without Density was accepted";
    } catch (const xml::CNoNodeException& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("'Density'")) << e.what();
    }
    EXPECT_EQ(before, CSceneCounts(Level()));
    EXPECT_EQ(Ogre::FOG_NONE, Level()->getFogMode());

    auto scene = Make(R"(<scene><FileSystem Path="../data/gfx/general"/><FileSystem Path="../data/gfx/meshes"/>
        <Fog Color="0.5, 0.6, 0.7" LinearStart="1" LinearEnd="100" Density="0.002"/></scene>)");
    EXPECT_EQ(before.m_TerrainLocations + 2, CSceneCounts(Level()).m_TerrainLocations);
    EXPECT_EQ(Ogre::FOG_EXP2, Level()->getFogMode());
    EXPECT_EQ(Ogre::ColourValue(0.5f, 0.6f, 0.7f), Level()->getFogColour());
    EXPECT_FLOAT_EQ(0.002f, Level()->getFogDensity());
    scene.reset();
    EXPECT_EQ(before, CSceneCounts(Level()));
}
