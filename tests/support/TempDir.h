#pragma once

#include <string>

#include <boost/filesystem.hpp>

// A fresh folder under the system's temporary folder, removed with the object.
class CTempDir
{
public:
    CTempDir()
        : m_Path(boost::filesystem::temp_directory_path() / boost::filesystem::unique_path("sds-test-%%%%-%%%%"))
    {
        boost::filesystem::create_directories(m_Path);
    }
    ~CTempDir()
    {
        boost::system::error_code ignored;
        boost::filesystem::remove_all(m_Path, ignored);
    }

    std::string Path() const { return m_Path.string(); }
    std::string File(const std::string& name) const { return (m_Path / name).string(); }

private:
    boost::filesystem::path m_Path;
};
