#pragma once

#include <string>
#include <vector>

#include "core/Node.h"

namespace dzgen {

// One tutorial: its file name in the tutorials folder and its tree.
struct CTutorialFile
{
    std::string m_FileName;
    xml::CNodePtr m_Scene;
};

// The tutorials, flown in this order: each a whole drop-zone file of Home
// Field (root "scene") with a full name of its own, a complete jump preset
// (jumper, camera, wind and the "Info" rows a jump record keeps) and the
// "Message" children that brief the exercise. `zoneFolder` as for ZoneFile.
std::vector<CTutorialFile> TutorialFiles(const std::string& zoneFolder);

} // namespace dzgen
