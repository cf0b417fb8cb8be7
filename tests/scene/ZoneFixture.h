#pragma once

#include <fstream>
#include <string>
#include <vector>

#include <OGRE/OgreMeshManager.h>

#include "core/XmlFile.h"
#include "dzgen/PlacementWriter.h"
#include "meshgen/MeshBuilder.h"
#include "support/TempDir.h"

// A small drop zone written for a test: a terrain-tiles document, placement
// files and meshes made in memory from the project's mesh descriptions under
// test names. The meshes go with the fixture.
class CZoneFixture
{
public:
    ~CZoneFixture()
    {
        for (const std::string& mesh : m_Meshes)
            Ogre::MeshManager::getSingleton().remove(mesh, "General");
    }

    std::string Folder() const { return m_Dir.Path() + "/"; }

    // A mesh of the description under another name, in the group "General".
    void AddMesh(meshgen::CMeshDesc desc, const std::string& name)
    {
        desc.m_Name = name;
        meshgen::BuildMesh(desc, "General");
        m_Meshes.push_back(name);
    }

    // A flat square tile of `size` at height `y`, its corner at the origin.
    void AddFlatTile(const std::string& name, float size, float y)
    {
        meshgen::CMeshDesc tile(name);
        tile.Part("BaseWhite").AddQuad({0, y, 0}, {0, y, size}, {size, y, size}, {size, y, 0});
        meshgen::BuildMesh(tile, "General");
        m_Meshes.push_back(name);
    }

    // The tiles document "tiles.xml" with `tiles` (name, position) and the tile
    // meshes "<prefix>.<name>.0.mesh" as flat squares.
    void WriteTiles(const std::string& prefix, const std::vector<std::pair<std::string, std::string>>& tiles,
                    const std::string& minCorner, const std::string& maxCorner, float size, bool meshes = true)
    {
        std::ofstream out(Folder() + "tiles.xml");
        out << "<Tiles Name='" << prefix << "' MinCorner='" << minCorner << "' MaxCorner='" << maxCorner
            << "' TileSize='" << size << ",0," << size << "'>";
        for (const auto& tile : tiles) {
            out << "<Tile Name='" << tile.first << "' Pos='" << tile.second << "'/>";
            if (meshes)
                AddFlatTile(prefix + "." + tile.first + ".0.mesh", size, 0.0f);
        }
        out << "</Tiles>";
    }

    void WritePlacements(const std::string& file, const dzgen::CPlacementFileDesc& desc)
    {
        std::ofstream out(Folder() + file, std::ios::binary);
        const std::string bytes = dzgen::EncodePlacementFile(desc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    // A scene element with a "Terrain" over this folder; `objects` are its
    // "Object" children's attributes.
    xml::CNodePtr Scene(const std::string& terrainAttributes, const std::vector<std::string>& objects = {},
                        const std::string& more = "") const
    {
        std::string text = "<scene>" + more + "<Terrain Path='" + Folder() + "' TerrainTiles='tiles.xml' " +
                           terrainAttributes + ">";
        for (const std::string& object : objects)
            text += "<Object " + object + "/>";
        text += "</Terrain></scene>";
        return xml::LoadXmlFromMemory(text, "zone")->GetChild("scene");
    }

private:
    CTempDir m_Dir;
    std::vector<std::string> m_Meshes;
};
