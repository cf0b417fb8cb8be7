#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include <boost/filesystem.hpp>
#include <OGRE/OgreControllerManager.h>

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
