#include "core/ResourceMgr.h"

#include <fstream>
#include <iterator>

#include <boost/filesystem/operations.hpp>

#include "core/Compressor.h"
#include "core/EmbeddedFiles.h"
#include "core/XmlFile.h"

namespace sds {

CResourceMgr::CResourceMgr()
{
    for (std::size_t i = 0; i < g_EmbeddedFileCount; ++i)
        m_Files[g_EmbeddedFiles[i].Path] = CStream{g_EmbeddedFiles[i].Data, g_EmbeddedFiles[i].Size};
}

xml::CNodePtr CResourceMgr::LoadXml(const std::string& path, const std::string& namePrefix)
{
    // A path that cannot be examined (a loop of links, no permission) is not
    // taken for a missing one: the reader reports it, rather than the default
    // copy standing in for the user's file unnoticed.
    boost::system::error_code error;
    if (boost::filesystem::status(path, error).type() != boost::filesystem::file_not_found)
        return xml::LoadXmlFile(path, namePrefix);

    const auto found = m_Files.find(path);
    if (found == m_Files.end())
        throw CException("File not found: " + path);
    return LoadEmbedded(found->second, path, namePrefix);
}

xml::CNodePtr CResourceMgr::LoadDefaultXml(const std::string& path, const std::string& namePrefix)
{
    const auto found = m_Files.find(path);
    if (found == m_Files.end())
        return xml::LoadXmlFile(path, namePrefix);
    return LoadEmbedded(found->second, path, namePrefix);
}

std::string CResourceMgr::LoadText(const std::string& path)
{
    boost::system::error_code error;
    if (boost::filesystem::status(path, error).type() != boost::filesystem::file_not_found) {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw CException("Cannot read " + path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const auto found = m_Files.find(path);
    if (found == m_Files.end())
        throw CException("File not found: " + path);
    return CCompressor::Inflate(found->second.Data, found->second.Size);
}

xml::CNodePtr CResourceMgr::LoadEmbedded(const CStream& stream, const std::string& path,
                                         const std::string& namePrefix) const
{
    return xml::LoadXmlFromMemory(CCompressor::Inflate(stream.Data, stream.Size), path, namePrefix);
}

} // namespace sds
