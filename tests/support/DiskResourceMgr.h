#pragma once

#include <fstream>
#include <iterator>

#include <boost/filesystem.hpp>

#include "core/IResourceMgr.h"
#include "core/XmlFile.h"

// A resource service for tests that reads files from disk only (no embedded copies).
class CDiskResourceMgr : public sds::IResourceMgr
{
public:
    xml::CNodePtr LoadXml(const std::string& path, const std::string& namePrefix = "") override
    {
        if (!boost::filesystem::exists(path))
            throw CException("File not found: " + path);
        return xml::LoadXmlFile(path, namePrefix);
    }
    xml::CNodePtr LoadDefaultXml(const std::string& path, const std::string& namePrefix = "") override
    {
        return xml::LoadXmlFile(path, namePrefix);
    }
    std::string LoadText(const std::string& path) override
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw CException("File not found: " + path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool IsEmbedded(const std::string&) const override { return false; }
};
