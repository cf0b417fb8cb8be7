#pragma once

#include <stdexcept>
#include <string>

#include "core/Node.h"
#include "core/SingletonTmpl.h"

namespace sds {

// Reads every configuration and data file: the file on disk first, the copy
// carried inside the program otherwise.
class IResourceMgr : public CSingletonTmpl<IResourceMgr>
{
public:
    // A path that is neither on disk nor embedded.
    class CException : public std::runtime_error
    {
    public:
        explicit CException(const std::string& message) : std::runtime_error(message) {}
    };

    ~IResourceMgr() override = default;
    virtual xml::CNodePtr LoadXml(const std::string& path, const std::string& namePrefix = "") = 0;
    // The embedded copy first, the file on disk otherwise.
    virtual xml::CNodePtr LoadDefaultXml(const std::string& path, const std::string& namePrefix = "") = 0;
    // The bytes of the file on disk, else of the embedded copy; throws
    // CException as LoadXml does when there is neither.
    virtual std::string LoadText(const std::string& path) = 0;
    // Whether the program carries a copy of that path (exact text).
    virtual bool IsEmbedded(const std::string& path) const = 0;
};

} // namespace sds
