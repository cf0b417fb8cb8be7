#include "dzgen/PlacementWriter.h"

#include <cmath>
#include <cstring>
#include <map>

namespace dzgen {

namespace {

void PutU16(std::string& out, std::uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutFloat(std::string& out, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(out, bits);
}

std::string EncodeGroups(const std::vector<sds::CPlacementGroup>& groups)
{
    std::string out;
    for (const sds::CPlacementGroup& group : groups) {
        PutU16(out, static_cast<std::uint16_t>(group.m_Mesh.size()));
        out += group.m_Mesh;
        PutU32(out, static_cast<std::uint32_t>(group.m_Placements.size()));
        for (const sds::CPlacement& p : group.m_Placements)
            for (float value : {p.x, p.y, p.z, p.m_Scale, p.m_Yaw})
                PutFloat(out, value);
    }
    return out;
}

} // namespace

std::string EncodePlacementFile(const CPlacementFileDesc& desc)
{
    std::string out(desc.m_Magic, 2);
    PutU16(out, desc.m_Major);
    PutU16(out, desc.m_Minor);
    for (float value : {desc.m_FirstCorner[0], desc.m_FirstCorner[1], desc.m_SecondCorner[0], desc.m_SecondCorner[1],
                        desc.m_TileSize[0], desc.m_TileSize[1]})
        PutFloat(out, value);
    PutU32(out, static_cast<std::uint32_t>(desc.m_Tiles.size()));
    std::string data;
    const std::size_t dataStart = out.size() + desc.m_Tiles.size() * sds::CPlacementFile::kTileRecordSize;
    for (const CPlacementFileDesc::CTile& tile : desc.m_Tiles) {
        PutU32(out, static_cast<std::uint32_t>(tile.m_Key.x));
        PutU32(out, static_cast<std::uint32_t>(tile.m_Key.z));
        for (float value : tile.m_Origin)
            PutFloat(out, value);
        PutU16(out, static_cast<std::uint16_t>(tile.m_Groups.size()));
        PutU32(out, static_cast<std::uint32_t>(dataStart + data.size()));
        data += EncodeGroups(tile.m_Groups);
    }
    return out + data;
}

CPlacementFileDesc TilePlacements(const std::vector<CObjectPlacement>& placements, double min, double size, int tiles)
{
    CPlacementFileDesc desc;
    desc.m_FirstCorner[0] = desc.m_FirstCorner[1] = static_cast<float>(min);
    desc.m_SecondCorner[0] = desc.m_SecondCorner[1] = static_cast<float>(min + size * tiles);
    desc.m_TileSize[0] = desc.m_TileSize[1] = static_cast<float>(size);
    std::map<sds::CTileKey, CPlacementFileDesc::CTile> byKey;
    for (const CObjectPlacement& placement : placements) {
        const sds::CTileKey key{static_cast<std::int32_t>(std::floor((placement.x - min) / size)),
                                static_cast<std::int32_t>(std::floor((placement.z - min) / size))};
        CPlacementFileDesc::CTile& tile = byKey[key];
        tile.m_Key = key;
        const double ox = min + key.x * size, oz = min + key.z * size;
        tile.m_Origin[0] = static_cast<float>(ox);
        tile.m_Origin[2] = static_cast<float>(oz);
        auto group = tile.m_Groups.begin();
        while (group != tile.m_Groups.end() && group->m_Mesh != placement.m_Mesh)
            ++group;
        if (group == tile.m_Groups.end()) {
            tile.m_Groups.push_back({placement.m_Mesh, {}});
            group = tile.m_Groups.end() - 1;
        }
        group->m_Placements.push_back({static_cast<float>(placement.x - ox), static_cast<float>(placement.y),
                                       static_cast<float>(placement.z - oz), placement.m_Scale, placement.m_Yaw});
    }
    for (auto& entry : byKey)
        desc.m_Tiles.push_back(std::move(entry.second));
    return desc;
}

} // namespace dzgen
