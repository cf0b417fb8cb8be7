#include "scene/PlacementFile.h"

#include <cmath>
#include <cstring>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"

namespace sds {

namespace {

std::uint16_t U16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

float F32(const unsigned char* p)
{
    const std::uint32_t bits = U32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool IsFinite(const CPlacement& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::isfinite(p.m_Scale) &&
           std::isfinite(p.m_Yaw);
}

std::string TileText(const CPlacementTile& tile)
{
    return ToString(tile.m_Key.x) + "," + ToString(tile.m_Key.z);
}

} // namespace

CPlacementFile::CPlacementFile(std::istream& in, const std::string& name, CWarning warning)
    : m_In(in), m_Name(name), m_Warning(std::move(warning))
{
    m_In.seekg(0, std::ios::end);
    const std::streamoff end = m_In.tellg();
    m_Size = end > 0 ? static_cast<std::uint64_t>(end) : 0;

    unsigned char header[kHeaderSize];
    if (!Seek(0) || !Read(header, sizeof header) || header[0] != 'R' || header[1] != 'E' || U16(header + 2) != 1 ||
        U16(header + 4) != 0)
        throw CException("Incorrect header: " + m_Name);
    m_FirstCorner = CVector(F32(header + 6), 0.0f, F32(header + 10));
    m_SecondCorner = CVector(F32(header + 14), 0.0f, F32(header + 18));
    m_TileSize = CVector(F32(header + 22), 0.0f, F32(header + 26));
    m_TileCount = U32(header + 30);

    const std::uint64_t present = (m_Size - kHeaderSize) / kTileRecordSize;
    if (m_TileCount > present)
        Warn(m_Name + " lists " + ToString(static_cast<unsigned>(m_TileCount)) + " tiles but holds only " +
             ToString(static_cast<unsigned>(present)));
    const std::uint64_t count = std::min<std::uint64_t>(m_TileCount, present);
    m_Tiles.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        unsigned char record[kTileRecordSize];
        if (!Read(record, sizeof record))
            break;
        CPlacementTile tile;
        tile.m_Key.x = static_cast<std::int32_t>(U32(record));
        tile.m_Key.z = static_cast<std::int32_t>(U32(record + 4));
        tile.m_Origin = CVector(F32(record + 8), F32(record + 12), F32(record + 16));
        tile.m_Groups = U16(record + 20);
        tile.m_Offset = U32(record + 22);
        if (std::isfinite(tile.m_Origin.x) && std::isfinite(tile.m_Origin.y) && std::isfinite(tile.m_Origin.z))
            m_Tiles.push_back(tile);
        else
            Warn(m_Name + ": the origin of tile " + TileText(tile) + " is not a number; the tile is left out");
    }
}

std::vector<CPlacementGroup> CPlacementFile::ReadTile(const CPlacementTile& tile)
{
    std::vector<CPlacementGroup> groups;
    if (tile.m_Groups == 0)
        return groups;
    if (!Seek(tile.m_Offset)) {
        Warn(m_Name + ": the data of tile " + TileText(tile) + " lies past the end of the file");
        return groups;
    }
    for (unsigned g = 0; g < tile.m_Groups; ++g) {
        CPlacementGroup group;
        std::uint32_t placements = 0;
        if (!ReadGroupHead(group.m_Mesh, placements)) {
            Warn(m_Name + ": tile " + TileText(tile) + " ends inside its group " + ToString(g));
            break;
        }
        const std::uint64_t left = m_Size - static_cast<std::uint64_t>(m_In.tellg());
        if (placements > left / kPlacementSize) {
            Warn(m_Name + ": the placements of " + group.m_Mesh + " in tile " + TileText(tile) +
                 " run past the end of the file");
            break;
        }
        std::vector<unsigned char> data(static_cast<std::size_t>(placements) * kPlacementSize);
        if (!data.empty() && !Read(data.data(), data.size()))
            break;
        group.m_Placements.reserve(placements);
        unsigned dropped = 0;
        for (std::uint32_t i = 0; i < placements; ++i) {
            const unsigned char* p = data.data() + static_cast<std::size_t>(i) * kPlacementSize;
            const CPlacement placement{F32(p), F32(p + 4), F32(p + 8), F32(p + 12), F32(p + 16)};
            if (IsFinite(placement))
                group.m_Placements.push_back(placement);
            else
                ++dropped;
        }
        if (dropped)
            Warn(m_Name + ": " + ToString(dropped) + " placements of " + group.m_Mesh + " in tile " + TileText(tile) +
                 " are not numbers and are left out");
        groups.push_back(std::move(group));
    }
    return groups;
}

bool CPlacementFile::ReadGroupHead(std::string& mesh, std::uint32_t& placements)
{
    unsigned char length[2];
    if (!Read(length, sizeof length))
        return false;
    mesh.resize(U16(length));
    unsigned char count[4];
    if (!Read(&mesh[0], mesh.size()) || !Read(count, sizeof count))
        return false;
    placements = U32(count);
    return true;
}

bool CPlacementFile::Read(void* target, std::size_t size)
{
    if (size == 0)
        return true;
    const std::streamoff at = m_In.tellg();
    if (at < 0 || static_cast<std::uint64_t>(at) + size > m_Size)
        return false;
    m_In.read(static_cast<char*>(target), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(m_In.gcount()) == size;
}

bool CPlacementFile::Seek(std::uint64_t offset)
{
    if (offset > m_Size)
        return false;
    m_In.clear();
    m_In.seekg(static_cast<std::streamoff>(offset));
    return static_cast<bool>(m_In);
}

void CPlacementFile::Warn(const std::string& text) const
{
    if (m_Warning)
        m_Warning(text);
    else if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogWarning(text);
}

} // namespace sds
