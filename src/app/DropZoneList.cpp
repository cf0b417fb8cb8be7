#include "app/DropZoneList.h"

#include <algorithm>

#include <boost/filesystem.hpp>

#include "core/ILogMgr.h"
#include "core/XmlFile.h"
#include "scene/DropZoneLevel.h"

namespace sds {

void ListDirectory(const std::string& path, const std::string& extension, IGameMode::CDropZones& dropZones,
                   std::vector<std::string>& names)
{
    namespace fs = boost::filesystem;
    dropZones.clear();
    names.clear();
    ILogMgr* log = ILogMgr::GetSingleton();
    boost::system::error_code error;
    if (!fs::is_directory(path, error)) {
        log->LogMessage("Path does not exist: '" + path + "'");
        return;
    }

    std::vector<std::string> files;
    for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
        if (!fs::is_directory(it->status()) && it->path().extension().string() == extension)
            files.push_back(it->path().string());
    // The folder's order is the file system's; which of two namesakes wins should not be.
    std::sort(files.begin(), files.end());

    for (const std::string& file : files) {
        xml::CNodePtr tree;
        try {
            tree = xml::LoadXmlFile(file);
        } catch (const std::exception& e) {
            log->LogWarning("'" + file + "' cannot be read and is skipped: " + e.what());
            continue;
        }
        if (!CDropZoneLevel::HasFullName(tree))
            continue;
        auto dropZone = std::make_shared<CDropZoneLevel>(tree, file);
        const std::string& name = dropZone->GetFullName();
        if (dropZones.count(name)) {
            log->LogWarning("Drop zones with the same name, '" + name + "' is skipped.");
            continue;
        }
        dropZones[name] = dropZone;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
}

} // namespace sds
