#pragma once

#include <string>
#include <vector>

#include "app/IGameMode.h"

namespace sds {

// Drop-zone (or tutorial) files of one folder, by full name.
struct CDropZoneList
{
    IGameMode::CDropZones m_DropZones;
    // The full names, sorted.
    std::vector<std::string> m_Names;
    // The files that could not be listed, each "<file>: <reason>".
    std::vector<std::string> m_Unreadable;
    std::string m_Path;
    std::string m_Extension;
};

// Fills the map and the sorted names with the files of `extension` in `path`
// that hold a "scene" with a "FullName"; the first of two files of one name
// wins. A missing folder gives empty lists; a file that cannot be read or is
// no drop zone is warned about, skipped and, with `unreadable`, put there as
// "<file>: <reason>". The temporary copy a save that was cut off left beside
// a file of `extension` ("<file>.tmp") is removed.
void ListDirectory(const std::string& path, const std::string& extension, IGameMode::CDropZones& dropZones,
                   std::vector<std::string>& names, std::vector<std::string>* unreadable = nullptr);

} // namespace sds
