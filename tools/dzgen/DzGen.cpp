// Writes the default drop zone, Home Field, into the run tree's data folder:
//   sds_dzgen <data folder>
// gives Skorvel/HomeField.dz, its copy Merrowick/HomeField.dz, and the zone's
// folder Skorvel/HomeField/ with the terrain tiles and their document, the
// placement files of the surface objects, the buildings' meshes and the
// zone's textures, and the tutorials in Tutorials/. The zone's material and particle scripts are copied there
// by the build.

#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include <boost/filesystem.hpp>
#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>

#include "core/XmlFile.h"
#include "dzgen/HomeField.h"
#include "dzgen/PlacementWriter.h"
#include "dzgen/TerrainTiles.h"
#include "dzgen/TutorialFiles.h"
#include "dzgen/ZoneFile.h"
#include "dzgen/ZoneTextures.h"
#include "meshgen/MeshBuilder.h"

namespace {

const char* const kGroup = "DzGen";
// The zone's folder as the program sees it from its bin folder.
const char* const kZoneFolder = "../data/Skorvel/HomeField/";

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("Could not write " + path);
}

void Save(const std::string& path, const xml::CNodePtr& root)
{
    if (!xml::SaveXmlFile(path, root))
        throw std::runtime_error("Could not write " + path);
}

// `tiles` a side over the zone: the pages the set's pager loads.
void SavePlacements(const std::string& path, const std::vector<dzgen::CObjectPlacement>& placements,
                    int tiles = dzgen::CHomeField::kObjectTiles)
{
    const double size = (dzgen::CHomeField::kMax - dzgen::CHomeField::kMin) / tiles;
    Write(path, dzgen::EncodePlacementFile(dzgen::TilePlacements(placements, dzgen::CHomeField::kMin, size, tiles)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "Usage: sds_dzgen <data folder>" << std::endl;
        return 2;
    }
    const boost::filesystem::path data = argv[1];
    const std::string zone = (data / "Skorvel" / "HomeField").string();
    try {
        boost::filesystem::create_directories(zone);
        boost::filesystem::create_directories(data / "Merrowick");
        boost::filesystem::create_directories(data / "Tutorials");
        auto* logs = new Ogre::LogManager();
        logs->createLog("dzgen.log", true, false, true);
        Ogre::Root root("", "", "");
        Ogre::DefaultHardwareBufferManager buffers;
        Ogre::ResourceGroupManager::getSingleton().createResourceGroup(kGroup);

        for (int x = 0; x < dzgen::CHomeField::kTiles; ++x)
            for (int z = 0; z < dzgen::CHomeField::kTiles; ++z)
                meshgen::SaveMesh(dzgen::TileMesh(x, z), zone, kGroup);
        meshgen::SaveMesh(meshgen::Hangar(), zone, kGroup);
        meshgen::SaveMesh(meshgen::ClubHouse(), zone, kGroup);
        Ogre::MeshManager::getSingleton().removeAll();

        Save(zone + "/HomeField.tiles", dzgen::TilesDocument());
        SavePlacements(zone + "/HomeField.Trees.so", dzgen::CHomeField::Trees());
        SavePlacements(zone + "/HomeField.Woods.so", dzgen::CHomeField::Woods());
        // Seen from all over the zone: few large pages.
        SavePlacements(zone + "/HomeField.Buildings.so", dzgen::CHomeField::Buildings(), 4);
        dzgen::SaveZoneTextures(zone);
        const xml::CNodePtr file = dzgen::ZoneFile(kZoneFolder);
        Save((data / "Skorvel" / "HomeField.dz").string(), file);
        Save((data / "Merrowick" / "HomeField.dz").string(), file);
        for (const dzgen::CTutorialFile& tutorial : dzgen::TutorialFiles(kZoneFolder))
            Save((data / "Tutorials" / tutorial.m_FileName).string(), tutorial.m_Scene);
    } catch (const std::exception& e) {
        std::cerr << "sds_dzgen: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
