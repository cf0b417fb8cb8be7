#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "core/Vector.h"
#include "scene/TileKey.h"

namespace sds {

// One placed surface object: where it stands relative to its tile's origin,
// its uniform scale and its yaw in degrees.
struct CPlacement
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float m_Scale = 1.0f;
    float m_Yaw = 0.0f;
};

// The placements of one mesh within a tile.
struct CPlacementGroup
{
    std::string m_Mesh;
    std::vector<CPlacement> m_Placements;
};

// A tile's entry in the table: its origin, how many mesh groups it holds and
// where they begin in the file.
struct CPlacementTile
{
    CTileKey m_Key;
    CVector m_Origin;
    std::uint16_t m_Groups = 0;
    std::uint32_t m_Offset = 0;
};

// A surface-object placement file (".so"): little-endian, no padding.
//   header:  'R' 'E', uint16 major 1, uint16 minor 0, float first corner x, z,
//            second corner x, z, tile size x, z, uint32 tile count N
//   table:   N records of int32 x, int32 z, float origin x, y, z,
//            uint16 group count G, uint32 absolute offset of the tile's data
//   a tile:  G groups of uint16 name length L, L chars, uint32 count P,
//            P placements of float x, y, z, scale, yaw
// Only the table is read at once; a tile's groups are read from the stream
// when asked for. Every read stays within the file: what the tables promise
// beyond its end is reported as a warning and left out.
class CPlacementFile
{
public:
    typedef std::function<void(const std::string&)> CWarning;

    static const std::size_t kHeaderSize = 34;
    static const std::size_t kTileRecordSize = 26;
    static const std::size_t kPlacementSize = 20;

    // Reads the header and the table. A file that does not begin with the
    // magic and version 1.0 throws CException "Incorrect header: " + name.
    // Warnings go to the log unless a handler is given.
    CPlacementFile(std::istream& in, const std::string& name, CWarning warning = CWarning());

    const std::string& GetName() const { return m_Name; }
    // (x, 0, z) of the header's corners and tile size.
    const CVector& GetFirstCorner() const { return m_FirstCorner; }
    const CVector& GetSecondCorner() const { return m_SecondCorner; }
    const CVector& GetTileSize() const { return m_TileSize; }
    // The count the header gives, which may exceed the records present.
    std::uint32_t GetTileCount() const { return m_TileCount; }
    // The complete records with finite origins, in file order.
    const std::vector<CPlacementTile>& GetTiles() const { return m_Tiles; }

    // The groups of a tile, in file order. A group whose name or placements
    // run past the end of the file is dropped with a warning, and so is every
    // group after it; so is a placement whose numbers are not finite.
    std::vector<CPlacementGroup> ReadTile(const CPlacementTile& tile);

private:
    // A group's mesh name and placement count.
    bool ReadGroupHead(std::string& mesh, std::uint32_t& placements);
    bool Read(void* target, std::size_t size);
    bool Seek(std::uint64_t offset);
    void Warn(const std::string& text) const;

    std::istream& m_In;
    std::string m_Name;
    CWarning m_Warning;
    std::uint64_t m_Size = 0;
    CVector m_FirstCorner;
    CVector m_SecondCorner;
    CVector m_TileSize;
    std::uint32_t m_TileCount = 0;
    std::vector<CPlacementTile> m_Tiles;
};

} // namespace sds
