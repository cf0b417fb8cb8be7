#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>
#include <OGRE/OgreControllerManager.h>

#include "scene/HomeFieldGround.h"
#include "scene/ZoneWorld.h"
#include "scene/ogre/PageWithEntitiesInfoTmpl.h"
#include "support/Pictures.h"
#include "support/TempDir.h"

namespace {

const char* const kFolderVariable = "SDS_ZONE_PICTURE_DIR";

std::size_t Records(const Forests::GeometryPageManager* level)
{
    std::size_t records = 0;
    if (level)
        for (const auto& page : level->getLoadedPages())
            records += dynamic_cast<const wrappers::CPageEntities&>(*page.second).GetRecords().size();
    return records;
}

// Loads the default zone with the camera at the zone's "Camera" facing the
// landing area, draws it and keeps the picture. Frames advance by a fixed
// time, the engine's random numbers start alike, and a frame is drawn before
// the load (pictures drawn while loading advance the engine's animations
// once a frame), so the smoke comes out the same on every run.
const wrappers::CSurfaceObjectSet& TakePicture(CZoneWorld& world, const std::string& folder, const std::string& name,
                                               std::shared_ptr<sds::ILevelResourceLoader>& zone)
{
    Ogre::ControllerManager::getSingleton().setFrameDelay(0.04f);
    Ogre::ControllerManager::getSingleton().setElapsedTime(0.0f);
    std::srand(1);
    COgreTestEnvironment::Get().RenderFrame();
    zone = world.Load(CZoneWorld::HomeField());
    for (int frame = 0; frame < 25; ++frame) {
        world.Mgr().UpdateCamera(sds::CTiming());
        zone->Update(sds::CTiming());
        COgreTestEnvironment::Get().RenderFrame();
    }
    CaptureWindow(world.Mgr(), folder, name);
    Ogre::ControllerManager::getSingleton().setFrameDelay(0.0f);
    return *dynamic_cast<wrappers::COgreZoneLoader&>(*zone).GetScene()->GetSurfaceObjects().front();
}

} // namespace

// One run of the pictures: the default zone as drawn with shaders (trees near
// in static pages, further in batches, furthest as impostors) from its camera
// and from beside a copse, then without shaders (static pages only). It runs when the test below starts it in a process of
// its own.
TEST(ZonePicture, DefaultZone)
{
    const char* folder = std::getenv(kFolderVariable);
    if (!folder)
        GTEST_SKIP() << "started by RerunGivesTheSamePictures";
    CZoneWorld world;
    std::shared_ptr<sds::ILevelResourceLoader> zone;
    const wrappers::CSurfaceObjectSet& trees = TakePicture(world, folder, "drop-zone", zone);
    EXPECT_GT(Records(trees.m_Static), 0u);
    EXPECT_GT(Records(trees.m_Batched), 0u);
    EXPECT_GT(Records(trees.m_Impostors), 0u);

    // The near trees stand in static pages: the copse west of the landing
    // area, seen from the field.
    world.LookFrom(Ogre::Vector3(-75, 8, 150), Ogre::Vector3(-160, -2, 115));
    for (int frame = 0; frame < 5; ++frame) {
        zone->Update(sds::CTiming());
        COgreTestEnvironment::Get().RenderFrame();
    }
    CaptureWindow(world.Mgr(), folder, "drop-zone-copse");
    zone.reset();

    world.App().m_Config->AddChild("Graphics")->AddAttribute("UseShaders", "0");
    const wrappers::CSurfaceObjectSet& plain = TakePicture(world, folder, "drop-zone-without-shaders", zone);
    EXPECT_GT(Records(plain.m_Static), 0u);
    EXPECT_EQ(nullptr, plain.m_Batched);
    EXPECT_EQ(nullptr, plain.m_Impostors);
}

TEST(ZonePicture, RerunGivesTheSamePictures)
{
    if (std::getenv(kFolderVariable))
        GTEST_SKIP();
    CTempDir first;
    CTempDir second;
    ASSERT_EQ(0, RunPictureTestInNewProcess("ZonePicture.DefaultZone", kFolderVariable, first.Path()))
        << "see " << first.File("run.log");
    ASSERT_EQ(0, RunPictureTestInNewProcess("ZonePicture.DefaultZone", kFolderVariable, second.Path()))
        << "see " << second.File("run.log");
    std::ifstream log(first.File("Ogre.log"));
    for (std::string line; std::getline(log, line);)
        EXPECT_EQ(std::string::npos, line.find("Exception")) << line;
    const std::string kept = CZoneWorld::ArtifactFolder();
    for (const char* picture : {"drop-zone.png", "drop-zone-copse.png", "drop-zone-without-shaders.png"}) {
        EXPECT_EQ("0", DifferentPixels(first.File(picture), second.File(picture))) << picture;
        boost::filesystem::copy_file(first.File(picture), kept + "/" + picture,
                                     boost::filesystem::copy_options::overwrite_existing);
    }
}

// Seen from straight above, the pond's water shows over its basin and nowhere
// around it: not over the shore, nor as a square beyond it. Kept as
// build/test-artifacts/scene/pond.png.
TEST(ZonePicture, ThePondsWaterFillsItsBasinAndNoMore)
{
    if (std::getenv(kFolderVariable))
        GTEST_SKIP();
    using dzgen::CHomeField;
    CZoneWorld world;
    const Ogre::Vector3 pond(static_cast<float>(CHomeField::kPond.x), static_cast<float>(CHomeField::kWaterLevel),
                             static_cast<float>(CHomeField::kPond.z));
    world.LookFrom(pond + Ogre::Vector3(0, 350, 1), pond);
    std::shared_ptr<sds::ILevelResourceLoader> zone = world.Load(CZoneWorld::HomeField());
    for (int frame = 0; frame < 5; ++frame) {
        world.Mgr().UpdateCamera(sds::CTiming());
        zone->Update(sds::CTiming());
        COgreTestEnvironment::Get().RenderFrame();
    }
    CaptureWindow(world.Mgr(), CZoneWorld::ArtifactFolder(), "pond");
    const CWindowPicture picture = CWindowPicture::Capture(*COgreTestEnvironment::Get().m_Window);

    const Ogre::Camera& camera = *CZoneWorld::Camera();
    const Ogre::Matrix4 toScreen = camera.getProjectionMatrix() * camera.getViewMatrix();
    // The share of water-coloured pixels where the ground at the distance from the pond's middle shows.
    auto waterAround = [&](double distance) {
        int water = 0, seen = 0;
        for (int step = 0; step < 64; ++step) {
            const double angle = 2 * 3.14159265358979323846 * step / 64;
            const double x = CHomeField::kPond.x + distance * std::cos(angle);
            const double z = CHomeField::kPond.z + distance * std::sin(angle);
            const Ogre::Vector3 at = toScreen * Ogre::Vector3(static_cast<float>(x), HomeFieldGroundAt(x, z), static_cast<float>(z));
            const int px = static_cast<int>((at.x + 1) / 2 * picture.Width);
            const int py = static_cast<int>((1 - at.y) / 2 * picture.Height);
            if (px < 0 || py < 0 || px >= static_cast<int>(picture.Width) || py >= static_cast<int>(picture.Height))
                continue;
            ++seen;
            const Ogre::ColourValue c = picture.At(px, py);
            water += c.b - c.r > 0.06f && c.b >= c.g - 0.02f;
        }
        EXPECT_GT(seen, 48) << distance << " m from the middle lies out of the picture";
        return seen ? static_cast<double>(water) / seen : 0.0;
    };
    for (double distance : {0.0, 15.0, 30.0, 42.0})
        EXPECT_GT(waterAround(distance), 0.9) << distance << " m from the middle";
    for (double distance : {60.0, 80.0, 100.0, 125.0, 140.0})
        EXPECT_EQ(0.0, waterAround(distance)) << distance << " m from the middle";
}

// The hangar and the club house, surface objects of their own, stand where
// the layout puts them: from the apron, the middle of each shows the
// building's walls and roofs, not the grass or the sky behind. Kept as
// build/test-artifacts/scene/buildings.png.
TEST(ZonePicture, TheBuildingsStandWhereTheLayoutPutsThem)
{
    if (std::getenv(kFolderVariable))
        GTEST_SKIP();
    using dzgen::CHomeField;
    CZoneWorld world;
    auto at = [](const dzgen::CPoint& p, double above) {
        return Ogre::Vector3(static_cast<float>(p.x), static_cast<float>(CHomeField::Height(p.x, p.z) + above),
                             static_cast<float>(p.z));
    };
    const Ogre::Vector3 hangar = at(CHomeField::kHangar, 5), club = at(CHomeField::kClubHouse, 2.5);
    world.LookFrom((hangar + club) / 2 + Ogre::Vector3(-20, 25, -110), (hangar + club) / 2);
    std::shared_ptr<sds::ILevelResourceLoader> zone = world.Load(CZoneWorld::HomeField());
    for (int frame = 0; frame < 5; ++frame) {
        world.Mgr().UpdateCamera(sds::CTiming());
        zone->Update(sds::CTiming());
        COgreTestEnvironment::Get().RenderFrame();
    }
    CaptureWindow(world.Mgr(), CZoneWorld::ArtifactFolder(), "buildings");
    const CWindowPicture picture = CWindowPicture::Capture(*COgreTestEnvironment::Get().m_Window);

    const Ogre::Camera& camera = *CZoneWorld::Camera();
    const Ogre::Matrix4 toScreen = camera.getProjectionMatrix() * camera.getViewMatrix();
    // The share of the pixels around the point's place in the picture that are neither grass nor sky.
    auto built = [&](const Ogre::Vector3& point) {
        const Ogre::Vector3 screen = toScreen * point;
        const int cx = static_cast<int>((screen.x + 1) / 2 * picture.Width);
        const int cy = static_cast<int>((1 - screen.y) / 2 * picture.Height);
        int building = 0, all = 0;
        for (int y = cy - 6; y <= cy + 6; y += 3) {
            for (int x = cx - 6; x <= cx + 6; x += 3) {
                if (x < 0 || y < 0 || x >= static_cast<int>(picture.Width) || y >= static_cast<int>(picture.Height))
                    continue;
                ++all;
                const Ogre::ColourValue c = picture.At(x, y);
                const bool grass = c.g > c.r + 0.05f && c.g > c.b;
                const bool sky = c.b > c.r + 0.15f && c.b > 0.6f;
                building += !grass && !sky;
            }
        }
        return all ? static_cast<double>(building) / all : 0.0;
    };
    EXPECT_GT(built(hangar), 0.8);
    EXPECT_GT(built(club), 0.8);
    // Beside them the grass shows.
    EXPECT_LT(built(at({CHomeField::kClubHouse.x - 40, CHomeField::kClubHouse.z - 30}, 0)), 0.2);
}
