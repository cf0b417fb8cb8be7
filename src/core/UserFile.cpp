#include "core/UserFile.h"

#include <exception>
#include <vector>

#include <boost/filesystem/operations.hpp>

#include "core/ILogMgr.h"
#include "core/XmlException.h"
#include "core/XmlFile.h"

namespace sds {

namespace {

bool IsOnDisk(const std::string& path)
{
    boost::system::error_code error;
    return boost::filesystem::status(path, error).type() != boost::filesystem::file_not_found;
}

std::string ReasonOf(const std::exception& failure)
{
    if (const auto* unreadable = dynamic_cast<const xml::CLoadException*>(&failure))
        return unreadable->GetReason();
    return failure.what();
}

xml::CNodePtr DocumentOf(const xml::CNodePtr& root, const std::string& element)
{
    if (!root || !root->HasChild(element))
        throw xml::CNoNodeException("its document element is not \"" + element + "\"");
    return root->GetChild(element);
}

} // namespace

std::string SetAsidePath(const std::string& path)
{
    return path + ".bad";
}

std::string UseUserFile(IResourceMgr& resources, const std::string& path, const std::string& element,
                        const std::function<void(const xml::CNodePtr&)>& use)
{
    std::string reason;
    try {
        use(DocumentOf(resources.LoadXml(path), element));
        return std::string();
    } catch (const std::exception& e) {
        if (!IsOnDisk(path))
            throw;
        reason = ReasonOf(e);
    }

    const std::string aside = SetAsidePath(path);
    boost::system::error_code error;
    boost::filesystem::rename(path, aside, error);
    const bool builtIn = resources.IsEmbedded(path);
    std::string notice = "The file " + path + " cannot be used (" + reason + "). ";
    if (error)
        notice += "It could not be set aside (" + error.message() + "); mend or remove it. ";
    else
        notice += "It is kept as " + aside + " for you to mend. ";
    notice += builtIn ? "The built-in copy is used in its place." : "It is left out.";
    ILogMgr::GetSingleton()->LogWarning(notice);

    if (builtIn)
        use(DocumentOf(resources.LoadDefaultXml(path), element));
    return notice;
}

void RemoveUnfinishedWrite(const std::string& file)
{
    const std::string temporary = file + xml::TEMPORARY_FILE_SUFFIX;
    boost::system::error_code error;
    if (boost::filesystem::is_regular_file(temporary, error) && boost::filesystem::remove(temporary, error))
        ILogMgr::GetSingleton()->LogMessage("Removed " + temporary + ", left by a save that was cut off");
}

void RemoveUnfinishedWritesIn(const std::string& folder)
{
    namespace fs = boost::filesystem;
    const std::string suffix = xml::TEMPORARY_FILE_SUFFIX;
    boost::system::error_code error;
    std::vector<std::string> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            files.push_back(it->path().string());
    }
    for (const std::string& file : files)
        RemoveUnfinishedWrite(file.substr(0, file.size() - suffix.size()));
}

} // namespace sds
