#include "app/DropZoneList.h"

#include <algorithm>

#include <boost/filesystem.hpp>

#include "core/ILogMgr.h"
#include "core/UserFile.h"
#include "core/XmlException.h"
#include "core/XmlFile.h"
#include "scene/DropZoneLevel.h"

namespace sds {

void ListDirectory(const std::string& path, const std::string& extension, IGameMode::CDropZones& dropZones,
                   std::vector<std::string>& names, std::vector<std::string>* unreadable)
{
    namespace fs = boost::filesystem;
    dropZones.clear();
    names.clear();
    if (unreadable)
        unreadable->clear();
    ILogMgr* log = ILogMgr::GetSingleton();
    boost::system::error_code error;
    if (!fs::is_directory(path, error)) {
        log->LogMessage("Path does not exist: '" + path + "'");
        return;
    }

    // A save of a drop zone or scene that was cut off left its temporary copy.
    const std::string unfinished = extension + xml::TEMPORARY_FILE_SUFFIX;
    std::vector<std::string> files;
    std::vector<std::string> leftovers;
    for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
        const std::string file = it->path().string();
        if (fs::is_directory(it->status()))
            continue;
        if (it->path().extension().string() == extension)
            files.push_back(file);
        else if (file.size() > unfinished.size() &&
                 file.compare(file.size() - unfinished.size(), unfinished.size(), unfinished) == 0)
            leftovers.push_back(file.substr(0, file.size() - std::string(xml::TEMPORARY_FILE_SUFFIX).size()));
    }
    for (const std::string& file : leftovers)
        RemoveUnfinishedWrite(file);
    // The folder's order is the file system's; which of two namesakes wins should not be.
    std::sort(files.begin(), files.end());

    const auto skip = [&](const std::string& file, const std::string& reason) {
        log->LogWarning("'" + file + "' cannot be read and is skipped: " + reason);
        if (unreadable)
            unreadable->push_back(file + ": " + reason);
    };
    for (const std::string& file : files) {
        xml::CNodePtr tree;
        try {
            tree = xml::LoadXmlFile(file);
        } catch (const xml::CLoadException& e) {
            skip(file, e.GetReason());
            continue;
        } catch (const std::exception& e) {
            skip(file, e.what());
            continue;
        }
        if (!tree || !tree->HasChild("scene")) {
            skip(file, "its document element is not \"scene\"");
            continue;
        }
        if (!CDropZoneLevel::HasFullName(tree)) {
            skip(file, "its \"scene\" has no \"FullName\"");
            continue;
        }
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
