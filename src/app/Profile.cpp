#include "app/Profile.h"

#include <boost/filesystem.hpp>

#include "core/ILogMgr.h"
#include "core/XmlFile.h"

namespace sds {

CProfile::CProfile(const xml::CNodePtr& profile, const std::string& file)
    : m_File(file), m_Jumps(ReadJumps(profile))
{
    const boost::filesystem::path path(file);
    m_Name = path.stem().string();
    m_Path = path.parent_path().string() + "/";
    for (std::size_t i = 0; i < m_Jumps.size(); ++i) {
        std::string unread;
        for (const auto& attribute : m_Jumps[i].Unreadable)
            unread += (unread.empty() ? "" : ", ") + attribute.first + " '" + attribute.second + "'";
        if (unread.empty())
            continue;
        m_ReadWarnings.push_back("Profile " + m_File + ", jump " + std::to_string(i + 1) + ": " + unread +
                                 " cannot be read; kept as it is");
        ILogMgr::GetSingleton()->LogWarning(m_ReadWarnings.back());
    }
}

CProfile::CProfile(const std::string& name, const std::string& path, const std::string& file)
    : m_Path(path), m_Name(name), m_File(file)
{
    boost::filesystem::create_directories(m_Path);
    Save();
    ILogMgr::GetSingleton()->LogMessage("Created profile " + m_Name);
}

CProfile::~CProfile()
{
    try {
        Save();
    } catch (const std::exception& e) {
        if (ILogMgr* log = ILogMgr::GetSingleton())
            log->LogError("Could not save profile '" + m_Name + "' into " + m_File + ": " + e.what());
    }
}

std::vector<CJumpRecord> CProfile::ReadJumps(const xml::CNodePtr& profile)
{
    std::vector<CJumpRecord> jumps;
    xml::ForEachChild(*profile, "Jump", [&jumps](const xml::CNodePtr& jump) { jumps.push_back(CJumpRecord::FromNode(jump)); });
    return jumps;
}

bool CProfile::Save() const
{
    const xml::CNodePtr profile(new xml::CNode("Profile", false));
    profile->AddAttribute("Name", m_Name);
    profile->AddAttribute("Path", m_Path);

    // Written to a temporary file in the same folder and renamed over the old
    // one: a crash during the write leaves the previous jumps intact. The jumps
    // are written one by one: a copy of them all for each save would grow the
    // memory a session takes by as much again as the jumps kept.
    std::size_t next = 0;
    if (xml::SaveXmlFile(m_File, *profile,
                         [this, &next] { return next < m_Jumps.size() ? m_Jumps[next++].ToNode() : xml::CNodePtr(); }))
        return true;
    ILogMgr::GetSingleton()->LogError("Could not save profile '" + m_Name + "' into " + m_File);
    return false;
}

bool CProfile::AddJump(const CJumpRecord& jump)
{
    m_Jumps.push_back(jump);
    return Save();
}

} // namespace sds
