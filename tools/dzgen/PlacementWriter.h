#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dzgen/HomeField.h"
#include "scene/PlacementFile.h"

namespace dzgen {

// The content of a surface-object placement file (".so"), as the reader's
// format describes it, with the magic and version as fields so that tests can
// write wrong ones.
struct CPlacementFileDesc
{
    struct CTile
    {
        sds::CTileKey m_Key;
        float m_Origin[3] = {0, 0, 0};
        std::vector<sds::CPlacementGroup> m_Groups;
    };

    char m_Magic[2] = {'R', 'E'};
    std::uint16_t m_Major = 1;
    std::uint16_t m_Minor = 0;
    float m_FirstCorner[2] = {0, 0};
    float m_SecondCorner[2] = {0, 0};
    float m_TileSize[2] = {0, 0};
    std::vector<CTile> m_Tiles;
};

// The file's bytes: header, table, then each tile's groups in table order.
std::string EncodePlacementFile(const CPlacementFileDesc& desc);

// The placements sorted into the tiles of a grid of `tiles` × `tiles` from
// `min` with edge `size` (keys are the grid indices, origins the tiles' low
// corners at height 0), grouped by mesh in the order meshes first appear.
CPlacementFileDesc TilePlacements(const std::vector<CObjectPlacement>& placements, double min, double size,
                                  int tiles);

} // namespace dzgen
