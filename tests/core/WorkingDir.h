#pragma once

#include <boost/filesystem.hpp>

#include "support/TempDir.h"

// Runs a test from a fresh "bin" folder inside a temporary folder, the way the
// program runs beside ../conf and ../data, and returns to the previous folder.
class CWorkingDir
{
public:
    CWorkingDir() : m_Previous(boost::filesystem::current_path())
    {
        boost::filesystem::create_directories(m_Dir.File("bin"));
        boost::filesystem::current_path(m_Dir.File("bin"));
    }
    ~CWorkingDir() { boost::filesystem::current_path(m_Previous); }

    // A path below the temporary folder (the parent of bin/).
    std::string File(const std::string& relative) const { return m_Dir.File(relative); }

private:
    CTempDir m_Dir;
    boost::filesystem::path m_Previous;
};
