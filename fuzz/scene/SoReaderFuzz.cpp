#include "fuzz/scene/SoReaderFuzz.h"

#include <sstream>
#include <string>

#include "core/Exception.h"
#include "fuzz/FuzzTarget.h"
#include "scene/PlacementFile.h"

namespace sds {
namespace fuzz {

int FuzzSoReader(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        CPlacementFile file(in, "fuzz", [](const std::string&) {});
        for (const CPlacementTile& tile : file.GetTiles()) {
            std::size_t placements = 0;
            for (const CPlacementGroup& group : file.ReadTile(tile))
                placements += group.m_Placements.size();
            // What a tile reads is what the file holds: never more placements
            // than bytes for them (tiles may share their data).
            if (placements * CPlacementFile::kPlacementSize > size)
                __builtin_trap();
        }
    } catch (const CException&) {
        // A wrong header is refused: that is the answer, not a crash.
    }
    return 0;
}

} // namespace fuzz
} // namespace sds

SDS_FUZZ_EXPORT(sds::fuzz::FuzzSoReader)
