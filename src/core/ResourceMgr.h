#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "core/IResourceMgr.h"

namespace sds {

// The resource service over the disk and the default files carried inside the
// program. Embedded files are found by the exact path text their callers use
// ("../conf/conf.xml"), case-sensitively.
class CResourceMgr : public IResourceMgr
{
public:
    CResourceMgr();

    // The file on disk when the path exists (or cannot be examined); else the
    // embedded copy; else throws "File not found: <path>". A file on disk that
    // does not parse fails with the reader's error and never falls back to the
    // embedded copy.
    xml::CNodePtr LoadXml(const std::string& path, const std::string& namePrefix = "") override;
    // The embedded copy when there is one; else the file on disk.
    xml::CNodePtr LoadDefaultXml(const std::string& path, const std::string& namePrefix = "") override;

    std::string LoadText(const std::string& path) override;
    bool IsEmbedded(const std::string& path) const override { return m_Files.count(path) != 0; }

private:
    struct CStream
    {
        const unsigned char* Data;
        std::size_t Size;
    };

    xml::CNodePtr LoadEmbedded(const CStream& stream, const std::string& path, const std::string& namePrefix) const;

    std::map<std::string, CStream> m_Files;
};

} // namespace sds
