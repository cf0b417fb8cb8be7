#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include <boost/filesystem.hpp>
#include <OGRE/OgreBone.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreMovableObject.h>
#include <OGRE/OgreParticleSystemManager.h>
#include <OGRE/OgreSkeletonManager.h>
#include <OGRE/OgreSubMesh.h>
#include <OGRE/OgreTechnique.h>

#include "core/Helpers.h"
#include "graphics/ogre/MeshGeometry.h"
#include "physics/zavuvi/PhysicsEntity.h"
#include "dzgen/TerrainTiles.h"
#include "scene/PlacementFile.h"
#include "scene/ZoneWorld.h"

namespace {

using dzgen::CHomeField;

const char* const kZone = "../data/Skorvel/HomeField.dz";
const char* const kGroup = "GeneratedFilesTest";

std::string Text(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path)
{
    return boost::filesystem::exists(path);
}

// The indices of a level of detail's triangles.
std::vector<std::uint32_t> Indices(const Ogre::IndexData& data)
{
    Ogre::HardwareBufferLockGuard lock(data.indexBuffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    if (data.indexBuffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT) {
        const auto* values = static_cast<const std::uint32_t*>(lock.pData) + data.indexStart;
        return std::vector<std::uint32_t>(values, values + data.indexCount);
    }
    const auto* values = static_cast<const std::uint16_t*>(lock.pData) + data.indexStart;
    return std::vector<std::uint32_t>(values, values + data.indexCount);
}

// Every attribute of the list on the element.
void ExpectKeys(const xml::CNodePtr& element, std::initializer_list<const char*> keys)
{
    for (const char* key : keys)
        EXPECT_TRUE(element->HasAttribute(key)) << element->GetPath() << " has no " << key;
}

// The physical surface conf/materials.conf gives each render material it maps.
std::map<std::string, std::string> Surfaces()
{
    std::map<std::string, std::string> surfaces;
    const xml::CNodePtr conf = xml::LoadXmlFile("../conf/materials.conf")->GetChild("Materials");
    xml::ForEachChild(*conf, "Surface", [&](const xml::CNodePtr& surface) {
        for (const std::string& name : sds::SplitAtAnyOf(surface->GetAttribute("Materials")->GetValue(), ","))
            surfaces[name] = surface->GetAttribute("Type")->GetValue();
    });
    return surfaces;
}

// The render materials conf/materials.conf maps onto physical surfaces.
std::set<std::string> MappedMaterials()
{
    std::set<std::string> materials;
    for (const auto& surface : Surfaces())
        materials.insert(surface.first);
    return materials;
}

// The surfaces conf/materials.conf plays a sound on when the material touches them.
std::set<std::string> SoundingSurfaces(const std::string& material)
{
    std::set<std::string> surfaces;
    const xml::CNodePtr conf = xml::LoadXmlFile("../conf/materials.conf")->GetChild("Materials");
    xml::ForEachChild(*conf, "Collision", [&](const xml::CNodePtr& collision) {
        const auto ones = sds::SplitAtAnyOf(collision->GetAttribute("MaterialOne")->GetValue(), ", ");
        const auto twos = sds::SplitAtAnyOf(collision->GetAttribute("MaterialTwo")->GetValue(), ", ");
        if (std::find(ones.begin(), ones.end(), material) != ones.end())
            surfaces.insert(twos.begin(), twos.end());
        if (std::find(twos.begin(), twos.end(), material) != twos.end())
            surfaces.insert(ones.begin(), ones.end());
    });
    return surfaces;
}

// The zone's folder as a resource group of its own, for the tests that load its files.
class GeneratedFilesTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        COgreTestEnvironment::Get();
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        groups.addResourceLocation("../data/Skorvel/HomeField", "FileSystem", kGroup);
        groups.initialiseResourceGroup(kGroup);
    }
    static void TearDownTestSuite()
    {
        Ogre::ResourceGroupManager::getSingleton().destroyResourceGroup(kGroup);
        Ogre::ParticleSystemManager::getSingleton().removeTemplatesByResourceGroup(kGroup);
    }

    xml::CNodePtr m_Scene = CZoneWorld::HomeField();
};

} // namespace

TEST_F(GeneratedFilesTest, TheDropZoneFileHasEveryKey)
{
    EXPECT_EQ("Home Field", m_Scene->GetAttribute("FullName")->GetValue());
    EXPECT_FLOAT_EQ(30, m_Scene->GetChild("GroundLevel")->GetAttribute("Value")->GetValue<float>());
    EXPECT_FALSE(m_Scene->HasChild("Preset"));
    EXPECT_EQ(Text(kZone), Text("../data/Merrowick/HomeField.dz"));
    EXPECT_TRUE(boost::filesystem::is_directory(m_Scene->GetChild("FileSystem")->GetAttribute("Path")->GetValue()));

    const xml::CNodePtr terrain = m_Scene->GetChild("Terrain");
    ExpectKeys(terrain, {"Path", "TerrainTiles", "TerrainLod0Distance", "DeepestPoint", "Name",
                         "DistanceToTileForCollisionMultiplier"});
    const std::string path = terrain->GetAttribute("Path")->GetValue();
    EXPECT_TRUE(Exists(path + terrain->GetAttribute("TerrainTiles")->GetValue()));
    EXPECT_LT(terrain->GetAttribute("DeepestPoint")->GetValue<float>(), -11.0f);
    int objects = 0;
    xml::ForEachChild(*terrain, "Object", [&](const xml::CNodePtr& object) {
        ++objects;
        ExpectKeys(object, {"SurfaceObjectSaturation", "StaticDist", "BatchDist", "ImpostersDist", "Name",
                            "GenerateCollisions", "LogInfo", "CollisionMeshesDist"});
        EXPECT_TRUE(Exists(path + terrain->GetAttribute("Name")->GetValue() + "." +
                           object->GetAttribute("Name")->GetValue() + ".so"));
    });
    EXPECT_EQ(3, objects);

    ExpectKeys(m_Scene->GetChild("Fog"), {"Color", "LinearStart", "LinearEnd", "Density"});
    const xml::CNodePtr caelum = m_Scene->GetChild("Caelum");
    ExpectKeys(caelum, {"Enabled", "ManageSceneFog", "SceneFogDensityMultiplier", "ManageAmbientLight", "GroundFogEnabled",
                        "HazeEnabled", "TimeScale", "UpdateRate"});
    for (const char* component :
         {"CAELUM_COMPONENT_SKY_COLOUR_MODEL", "CAELUM_COMPONENT_SUN", "CAELUM_COMPONENT_SOLAR_SYSTEM_MODEL",
          "CAELUM_COMPONENT_SKY_DOME", "CAELUM_COMPONENT_STARFIELD", "CAELUM_COMPONENT_CLOUDS"})
        EXPECT_TRUE(caelum->HasChild(component)) << component;
    ExpectKeys(caelum->GetChild("Sun"),
               {"AmbientMultiplier", "DiffuseMultiplier", "SpecularMultiplier", "AutoDisable", "AutoDisableThreshold"});
    ExpectKeys(caelum->GetChild("Moon"), {"AutoDisable", "AutoDisableThreshold"});
    ExpectKeys(caelum->GetChild("Clouds"), {"Speed", "BlendTime", "Cover"});
    ExpectKeys(caelum->GetChild("Time"), {"Seconds", "Minutes", "Hour", "TimeZone", "Day", "Month", "Year"});
    ExpectKeys(caelum->GetChild("SolarSystem"), {"ObserverLongitude", "ObserverLatitude", "StarfieldInclination"});

    // Without shaders the sky box, as in every scene: no dome hides it.
    EXPECT_FALSE(m_Scene->HasChild("SkyDome"));
    ExpectKeys(m_Scene->GetChild("SkyBox"), {"Distance", "Material"});
    EXPECT_EQ("directional", m_Scene->GetChild("SunLight")->GetChild("light")->GetAttribute("type")->GetValue());

    // A light, a billboard set and a particle system.
    std::set<std::string> kinds;
    xml::ForEachChild(*m_Scene->GetChild("nodes"), "node", [&](const xml::CNodePtr& node) {
        if (node->GetAttribute("static", false))
            kinds.insert("static");
        for (const char* kind : {"light", "billboardSet", "particlesystem"})
            if (node->HasChild(kind))
                kinds.insert(kind);
    });
    EXPECT_EQ((std::set<std::string>{"billboardSet", "light", "particlesystem"}), kinds);

    // What the level loader reads, with the files it names.
    for (const char* element : {"Target", "SimObj", "WindSock"})
        xml::ForEachChild(*m_Scene, element, [&](const xml::CNodePtr& object) {
            EXPECT_TRUE(Exists(object->GetAttribute("File")->GetValue())) << object->GetAttribute("File")->GetValue();
            ExpectKeys(object, {"Position", "Orientation"});
        });
    EXPECT_EQ(2u, m_Scene->GetChildren().count("SimObj"));
    EXPECT_EQ(2u, m_Scene->GetChildren().count("WindSock"));
    EXPECT_TRUE(m_Scene->HasChild("Tree"));
    xml::ForEachChild(*m_Scene, "Tree", [](const xml::CNodePtr& tree) { ExpectKeys(tree, {"Pos", "Scale"}); });
    EXPECT_TRUE(m_Scene->HasChild("Airplane"));
    const xml::CNodePtr music = m_Scene->GetChildById("Stream", "BgMusic", "Name,Id");
    EXPECT_TRUE(Exists(music->GetAttribute("File")->GetValue()));
    ExpectKeys(music, {"Loop"});
}

// The camera stands above the ground and looks at the target over the
// landing area, which is flat.
TEST_F(GeneratedFilesTest, TheCameraFacesTheLandingArea)
{
    const sds::CVector camera = m_Scene->GetChild("Camera")->GetAttribute("Pos")->GetValue<sds::CVector>();
    const sds::CVector target = m_Scene->GetChild("Target")->GetAttribute("Position")->GetValue<sds::CVector>();
    EXPECT_GT(camera.y - CHomeField::Height(camera.x, camera.z), 30.0);
    EXPECT_LT(std::hypot(camera.x - target.x, camera.z - target.z), 500.0);
    EXPECT_FLOAT_EQ(static_cast<float>(CHomeField::Height(target.x, target.z)), target.y);
    for (double dx = -CHomeField::kLandingRadius; dx <= CHomeField::kLandingRadius; dx += 20)
        EXPECT_NEAR(0.0, CHomeField::Height(target.x + dx, target.z), 1e-9) << dx;
}

TEST_F(GeneratedFilesTest, TilesCoverTheZoneWithoutSeams)
{
    const xml::CNodePtr tiles = xml::LoadXmlFile("../data/Skorvel/HomeField/HomeField.tiles")->GetChild("Tiles");
    EXPECT_EQ("HomeField", tiles->GetAttribute("Name")->GetValue());
    const sds::CVector min = xml::ParseVector(tiles->GetAttribute("MinCorner")->GetValue());
    const sds::CVector max = xml::ParseVector(tiles->GetAttribute("MaxCorner")->GetValue());
    EXPECT_EQ(-1000, min.x);
    EXPECT_EQ(1000, max.z);
    EXPECT_EQ(250, xml::ParseVector(tiles->GetAttribute("TileSize")->GetValue()).x);

    const std::set<std::string> mapped = MappedMaterials();
    std::set<sds::CTileKey> keys;
    int waters = 0;
    xml::ForEachChild(*tiles, "Tile", [&](const xml::CNodePtr& tile) {
        const sds::CTileKey key = sds::ParseTileName(tile->GetAttribute("Name")->GetValue());
        keys.insert(key);
        const sds::CVector pos = xml::ParseVector(tile->GetAttribute("Pos")->GetValue());
        EXPECT_EQ(sds::CVector(min.x + 250 * key.x, 0, min.z + 250 * key.z), pos);
        const Ogre::MeshPtr mesh =
            Ogre::MeshManager::getSingleton().load("HomeField." + sds::TileName(key) + ".0.mesh", kGroup);
        // Every point of the ground is the height field's at its place, the
        // same seen from either tile of a seam; the pond's water lies at the
        // water's level, its edge under the shore.
        const wrappers::CMeshGeometry geometry = wrappers::ReadMeshGeometry(*mesh);
        for (const wrappers::CMeshGeometry::CSubMesh& sub : geometry.m_SubMeshes) {
            EXPECT_TRUE(mapped.count(sub.m_Material)) << sub.m_Material;
            const bool water = sub.m_Material == dzgen::kWaterMaterial;
            waters += water;
            for (const Ogre::Vector3& p : geometry.m_Sources[sub.m_Source].m_Positions) {
                const double x = pos.x + p.x, z = pos.z + p.z;
                if (!water) {
                    ASSERT_EQ(static_cast<float>(CHomeField::Height(x, z)), p.y);
                    continue;
                }
                ASSERT_EQ(static_cast<float>(CHomeField::kWaterLevel), p.y);
                const double fromMiddle = std::hypot(x - CHomeField::kPond.x, z - CHomeField::kPond.z);
                ASSERT_LE(fromMiddle, CHomeField::kPondRadius + 1e-3);
                if (fromMiddle > 1.0) {
                    ASSERT_GT(CHomeField::Height(x, z), CHomeField::kWaterLevel + 1.0) << x << ", " << z;
                }
            }
        }
        Ogre::MeshManager::getSingleton().remove(mesh);
    });
    EXPECT_EQ(64u, keys.size());
    EXPECT_EQ(1, waters);
    EXPECT_EQ((sds::CTileKey{0, 0}), *keys.begin());
    EXPECT_EQ((sds::CTileKey{7, 7}), *keys.rbegin());
}

// The grass and the field take their lighter and darker patches from the
// tiles' vertex colours, so that each of their pixels samples one picture:
// the colours vary over the zone, lighter and darker, and the other surfaces
// carry none.
TEST_F(GeneratedFilesTest, GrassAndFieldCarryThePatchesInTheirVertices)
{
    const std::set<std::string> patched{"Terrain/Grass", "Terrain/Field"};
    for (const std::string& name : patched) {
        const Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name, kGroup);
        ASSERT_TRUE(material) << name;
        const Ogre::Pass& pass = *material->getTechnique(0)->getPass(0);
        EXPECT_EQ(Ogre::TVC_AMBIENT | Ogre::TVC_DIFFUSE, pass.getVertexColourTracking()) << name;
        EXPECT_EQ(1u, pass.getNumTextureUnitStates()) << name;
    }
    std::map<std::string, std::pair<float, float>> range; // darkest and lightest red
    for (int x = 0; x < CHomeField::kTiles; ++x) {
        for (int z = 0; z < CHomeField::kTiles; ++z) {
            const Ogre::MeshPtr mesh =
                Ogre::MeshManager::getSingleton().load("HomeField." + sds::TileName({x, z}) + ".0.mesh", kGroup);
            for (const Ogre::SubMesh* sub : mesh->getSubMeshes()) {
                const Ogre::VertexElement* colour =
                    sub->vertexData->vertexDeclaration->findElementBySemantic(Ogre::VES_DIFFUSE);
                if (!patched.count(sub->getMaterialName())) {
                    EXPECT_EQ(nullptr, colour) << sub->getMaterialName();
                    continue;
                }
                ASSERT_NE(nullptr, colour) << sub->getMaterialName();
                ASSERT_EQ(Ogre::VET_UBYTE4_NORM, colour->getType());
                const Ogre::HardwareVertexBufferSharedPtr buffer =
                    sub->vertexData->vertexBufferBinding->getBuffer(colour->getSource());
                Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
                auto& [darkest, lightest] = range.emplace(sub->getMaterialName(), std::make_pair(1.0f, 0.0f)).first->second;
                for (std::size_t i = 0; i < sub->vertexData->vertexCount; ++i) {
                    const auto* rgba = static_cast<const unsigned char*>(lock.pData) + i * buffer->getVertexSize() +
                                       colour->getOffset();
                    darkest = std::min(darkest, rgba[0] / 255.0f);
                    lightest = std::max(lightest, rgba[0] / 255.0f);
                    ASSERT_EQ(255, rgba[3]);
                }
            }
            Ogre::MeshManager::getSingleton().remove(mesh);
        }
    }
    ASSERT_EQ(2u, range.size());
    for (const auto& [name, shades] : range) {
        EXPECT_GT(shades.first, 0.2f) << name;
        EXPECT_GT(shades.second, shades.first * 1.15f) << name;
    }
}

// Far tiles are drawn from a level of fewer triangles that leaves no gap in
// the ground: each of its edges inside the tile is shared by two triangles,
// whatever surfaces they are of. The full level stays the mesh's own, the one
// the collision is baked from.
TEST_F(GeneratedFilesTest, FarTilesHaveALighterLevelWithoutGaps)
{
    const int cells = static_cast<int>(CHomeField::kTileSize / CHomeField::kCell);
    std::size_t lightAll = 0;
    for (int x = 0; x < CHomeField::kTiles; ++x) {
        for (int z = 0; z < CHomeField::kTiles; ++z) {
            const Ogre::MeshPtr mesh =
                Ogre::MeshManager::getSingleton().load("HomeField." + sds::TileName({x, z}) + ".0.mesh", kGroup);
            ASSERT_EQ(2, mesh->getNumLodLevels());
            EXPECT_GT(mesh->getLodLevel(1).userValue, 300.0f);
            const wrappers::CMeshGeometry geometry = wrappers::ReadMeshGeometry(*mesh);
            std::size_t full = 0, light = 0;
            using CPoint = std::pair<long, long>;
            std::map<std::pair<CPoint, CPoint>, int> edges;
            for (std::size_t i = 0; i < geometry.m_SubMeshes.size(); ++i) {
                const wrappers::CMeshGeometry::CSubMesh& sub = geometry.m_SubMeshes[i];
                if (sub.m_Material == dzgen::kWaterMaterial)
                    continue;
                full += sub.m_Indices.size() / 3;
                const Ogre::IndexData& lod = *mesh->getSubMesh(static_cast<unsigned short>(i))->mLodFaceList.at(0);
                const std::vector<std::uint32_t> indices = Indices(lod);
                light += indices.size() / 3;
                const std::vector<Ogre::Vector3>& positions = geometry.m_Sources[sub.m_Source].m_Positions;
                auto point = [&](std::uint32_t index) {
                    return CPoint(std::lround(positions[index].x * 10), std::lround(positions[index].z * 10));
                };
                for (std::size_t t = 0; t < indices.size(); t += 3) {
                    for (int k = 0; k < 3; ++k) {
                        const CPoint a = point(indices[t + k]), b = point(indices[t + (k + 1) % 3]);
                        ++edges[std::minmax(a, b)];
                    }
                }
            }
            EXPECT_EQ(static_cast<std::size_t>(cells * cells * 2), full);
            EXPECT_LT(light * 2, full);
            lightAll += light;
            const long side = std::lround(CHomeField::kTileSize * 10);
            for (const auto& [edge, uses] : edges) {
                const auto [a, b] = edge;
                const bool border = (a.first == b.first && (a.first == 0 || a.first == side)) ||
                                    (a.second == b.second && (a.second == 0 || a.second == side));
                ASSERT_EQ(border ? 1 : 2, uses) << "tile " << x << "." << z << ": " << a.first << "," << a.second
                                                << " to " << b.first << "," << b.second;
            }
            Ogre::MeshManager::getSingleton().remove(mesh);
        }
    }
    // Most blocks are of one surface.
    EXPECT_LT(lightAll * 5, static_cast<std::size_t>(CHomeField::kTiles * CHomeField::kTiles * cells * cells * 2));
}

// Placements stand on the ground, off the runway, the landing area and the
// pond, in the tiles of the pager's grid.
TEST_F(GeneratedFilesTest, PlacementFilesPutTreesOnTheGround)
{
    for (const char* set : {"Trees", "Woods"}) {
        const std::string name = std::string("../data/Skorvel/HomeField/HomeField.") + set + ".so";
        std::ifstream in(name, std::ios::binary);
        std::vector<std::string> warnings;
        sds::CPlacementFile file(in, name, [&](const std::string& w) { warnings.push_back(w); });
        EXPECT_EQ(sds::CVector(-1000, 0, -1000), file.GetFirstCorner());
        EXPECT_EQ(sds::CVector(1000, 0, 1000), file.GetSecondCorner());
        EXPECT_EQ(125, file.GetTileSize().x);
        std::size_t placements = 0;
        for (const sds::CPlacementTile& tile : file.GetTiles()) {
            EXPECT_EQ(-1000 + 125 * tile.m_Key.x, tile.m_Origin.x);
            EXPECT_EQ(-1000 + 125 * tile.m_Key.z, tile.m_Origin.z);
            for (const sds::CPlacementGroup& group : file.ReadTile(tile)) {
                EXPECT_TRUE(group.m_Mesh == "Tree.mesh" || group.m_Mesh == "Pine.mesh") << group.m_Mesh;
                for (const sds::CPlacement& p : group.m_Placements) {
                    const double x = tile.m_Origin.x + p.x, z = tile.m_Origin.z + p.z;
                    ASSERT_NEAR(CHomeField::Height(x, z) - 0.2, p.y, 1e-3);
                    ASSERT_TRUE(CHomeField::IsFreeForTrees(x, z)) << x << ", " << z;
                    ASSERT_GE(p.x, 0);
                    ASSERT_LT(p.x, 125);
                    ++placements;
                }
            }
        }
        EXPECT_GT(placements, 300u) << set;
        EXPECT_TRUE(warnings.empty()) << set;
    }
}

// Everything of the zone that is baked into the physics world, the ground,
// the pond's water, the trees and the buildings, has a physical surface of its
// own, and the jumper's body and canopy make a sound touching it.
TEST_F(GeneratedFilesTest, WhatTheJumperComesDownOnHasASurfaceThatSounds)
{
    std::set<std::string> materials{dzgen::kWaterMaterial};
    for (int surface = 0; surface <= static_cast<int>(dzgen::ESurface::Field); ++surface)
        materials.insert(dzgen::SurfaceMaterial(surface));
    const xml::CNodePtr terrain = m_Scene->GetChild("Terrain");
    const std::string prefix = terrain->GetAttribute("Path")->GetValue() + terrain->GetAttribute("Name")->GetValue();
    std::set<std::string> meshes;
    xml::ForEachChild(*terrain, "Object", [&](const xml::CNodePtr& object) {
        const std::string name = prefix + "." + object->GetAttribute("Name")->GetValue() + ".so";
        std::ifstream in(name, std::ios::binary);
        sds::CPlacementFile file(in, name, [](const std::string&) {});
        for (const sds::CPlacementTile& tile : file.GetTiles())
            for (const sds::CPlacementGroup& group : file.ReadTile(tile))
                meshes.insert(group.m_Mesh);
    });
    EXPECT_TRUE(meshes.count("Tree.mesh") && meshes.count("Pine.mesh") && meshes.count("Hangar.mesh") &&
                meshes.count("ClubHouse.mesh"));
    for (const std::string& name : meshes) {
        const std::string group = Ogre::ResourceGroupManager::getSingleton().findGroupContainingResource(name);
        const Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(name, group);
        for (const Ogre::SubMesh* sub : mesh->getSubMeshes())
            materials.insert(sub->getMaterialName());
    }

    const std::map<std::string, std::string> surfaces = Surfaces();
    const std::set<std::string> body = SoundingSurfaces("JumperBody"), canopy = SoundingSurfaces("Canopy");
    for (const std::string& material : materials) {
        const auto surface = surfaces.find(material);
        ASSERT_NE(surfaces.end(), surface) << material << " has no physical surface";
        EXPECT_TRUE(body.count(surface->second)) << "the body touches " << material << " (" << surface->second << ") silently";
        EXPECT_TRUE(canopy.count(surface->second)) << "the canopy touches " << material << " (" << surface->second << ") silently";
    }
    EXPECT_EQ("Water", surfaces.at(dzgen::kWaterMaterial));
    EXPECT_EQ("Tree", surfaces.at("Pine/Needles"));
    EXPECT_EQ("Building", surfaces.at("HomeField/HangarRoof"));
}

// The windsock's visible bones are the ones its physics file drives.
TEST_F(GeneratedFilesTest, TheWindSocksBonesAreItsPhysicsFilesBones)
{
    Zavuvi::PhysicsEntity phs;
    phs.Load("../data/physics/WindSock.phs");
    ASSERT_EQ(1u, phs.m_SkeletonModels.size());
    const Ogre::MeshPtr mesh =
        Ogre::MeshManager::getSingleton().load(phs.m_SkeletonModels[0].m_Name + ".mesh", "General");
    const Ogre::SkeletonPtr skeleton = mesh->getSkeleton();
    ASSERT_TRUE(skeleton);
    std::set<std::string> driven;
    for (const Zavuvi::PhysicsActor& actor : phs.m_Actors) {
        if (actor.m_SkeletonIndex < 0)
            continue;
        driven.insert(actor.m_BoneName);
        ASSERT_TRUE(skeleton->hasBone(actor.m_BoneName)) << actor.m_BoneName;
        Ogre::Bone* bone = skeleton->getBone(actor.m_BoneName);
        bone->_update(true, false);
        const Ogre::Vector3 at = bone->_getDerivedPosition();
        EXPECT_NEAR(actor.m_Position.x, at.x, 1e-4) << actor.m_BoneName;
        EXPECT_NEAR(actor.m_Position.y, at.y, 1e-4) << actor.m_BoneName;
        EXPECT_NEAR(actor.m_Position.z, at.z, 1e-4) << actor.m_BoneName;
    }
    EXPECT_EQ((std::set<std::string>{"Tail", "Twist"}), driven);
    // The simulated objects show meshes that exist.
    for (const char* file : {"Target", "ForceFieldTarget", "TrafficCone", "Barrel"}) {
        Zavuvi::PhysicsEntity object;
        object.Load(std::string("../data/physics/") + file + ".phs");
        ASSERT_EQ(1u, object.m_Actors.at(0).m_Models.size()) << file;
        EXPECT_TRUE(Ogre::ResourceGroupManager::getSingleton().resourceExistsInAnyGroup(
            object.m_Actors[0].m_Models[0].m_Name))
            << file;
    }
}
