#include "app/ProfileMgr.h"

#include <algorithm>

#include <boost/filesystem.hpp>

#include "app/ProgramSetup.h"
#include "core/ConfigPath.h"
#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/XmlFile.h"

namespace fs = boost::filesystem;

namespace sds {

namespace {

const char* const PROFILE_EXTENSION = ".profile";

bool IsControl(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7f;
}

// The name as it can be shown in a message.
std::string Printable(std::string name)
{
    std::replace_if(name.begin(), name.end(), IsControl, '?');
    return name;
}

} // namespace

CProfileMgr::CProfileMgr(const xml::CNodePtr& profiles)
{
    m_Path = profiles->GetAttribute("Path")->GetValue();
    if (m_Path.empty())
        throw xml::CBadValueException(profiles->GetAttribute("Path")->GetPath() + " has an empty value");
    if (m_Path.back() != '/' && m_Path.back() != '\\')
        m_Path += '/';
    if (!fs::is_directory(m_Path))
        fs::create_directories(m_Path);
    for (const fs::directory_entry& entry : fs::directory_iterator(m_Path))
        if (fs::is_directory(entry.status()))
            RemoveUnfinishedWritesIn(entry.path().string());

    Scan();
    if (m_Profiles.empty())
        CreateProfile(GetFreeName("default"));
    SDS_ASSERT(!m_Profiles.empty() && "There should be at least one profile created");
}

void CProfileMgr::Scan()
{
    m_Profiles.clear();
    for (const fs::directory_entry& entry : fs::directory_iterator(m_Path)) {
        if (!fs::is_directory(entry.status()))
            continue;
        const std::string name = entry.path().filename().string();
        if (!IsValidProfileName(name) || !fs::exists(GetProfileFile(name)))
            continue;
        try {
            CProfile::ReadJumps(LoadProfile(GetProfileFile(name)));
            m_Profiles.push_back(name);
        } catch (const std::exception& e) {
            ILogMgr::GetSingleton()->LogError("Profile '" + name + "' is skipped: " + e.what());
            ReportDamage(GetProfileFile(name), e.what());
        }
    }
    std::sort(m_Profiles.begin(), m_Profiles.end());
}

void CProfileMgr::CreateProfile(const std::string& name)
{
    CheckName(name);
    const std::string file = GetProfileFile(name);
    // Creating over an existing profile would wipe its jumps.
    if (fs::exists(file))
        throw CException("Profile '" + name + "' already exists");
    m_CurrentProfile = std::make_shared<CProfile>(name, m_Path + name + "/", file);
    Scan();
}

void CProfileMgr::SelectProfile(const std::string& name, bool create)
{
    CheckName(name);
    const std::string file = GetProfileFile(name);
    if (!fs::exists(file)) {
        if (!create)
            throw CException("Profile '" + name + "' does not exist");
        CreateProfile(name);
        return;
    }

    if (TryLoad(name))
        return;
    // The damaged file stays untouched for the user to mend.
    if (m_CurrentProfile) {
        ILogMgr::GetSingleton()->LogMessage("Staying with profile " + m_CurrentProfile->GetName());
        return;
    }
    for (const std::string& other : m_Profiles) {
        if (other != name && TryLoad(other)) {
            ILogMgr::GetSingleton()->LogMessage("Using profile " + other);
            return;
        }
    }
    throw CException("No profile can be loaded");
}

bool CProfileMgr::TryLoad(const std::string& name)
{
    const std::string file = GetProfileFile(name);
    try {
        m_CurrentProfile = std::make_shared<CProfile>(LoadProfile(file), file);
        if (!m_CurrentProfile->GetReadWarnings().empty() && m_Damaged.insert(file).second)
            m_Notices.push_back("Some jumps of the profile file " + file +
                                " have a number or a position that cannot be read. They are kept as they are "
                                "and count as 0; the log names them.");
        return true;
    } catch (const std::exception& e) {
        ILogMgr::GetSingleton()->LogError("Profile '" + name + "' could not be loaded: " + e.what());
        ReportDamage(file, e.what());
        return false;
    }
}

void CProfileMgr::ReportDamage(const std::string& file, const std::string& reason)
{
    if (!m_Damaged.insert(file).second)
        return;
    m_Notices.push_back("The profile file " + file + " cannot be read (" + reason +
                        "). It is left as it is; mend or remove it to use that profile again.");
}

std::vector<std::string> CProfileMgr::TakeNotices()
{
    std::vector<std::string> notices;
    notices.swap(m_Notices);
    return notices;
}

bool CProfileMgr::IsValidProfileName(const std::string& name, std::string* reason)
{
    const char* why = nullptr;
    if (name.empty())
        why = "it is empty";
    else if (name.find_first_of("/\\") != std::string::npos)
        why = "it contains a slash or a backslash";
    else if (name.find("..") != std::string::npos)
        why = "it contains \"..\"";
    else if (name == ".")
        why = "it is \".\"";
    else if (std::any_of(name.begin(), name.end(), IsControl))
        why = "it contains a control character";
    if (why && reason)
        *reason = why;
    return why == nullptr;
}

void CProfileMgr::CheckName(const std::string& name)
{
    std::string reason;
    if (!IsValidProfileName(name, &reason))
        throw CException("The profile name '" + Printable(name) + "' is not allowed: " + reason);
}

std::string CProfileMgr::GetProfileFile(const std::string& name) const
{
    return m_Path + name + "/" + name + PROFILE_EXTENSION;
}

std::string CProfileMgr::GetFreeName(const std::string& base) const
{
    std::string name = base;
    for (int n = 2; fs::exists(GetProfileFile(name)); ++n)
        name = base + std::to_string(n);
    return name;
}

xml::CNodePtr CProfileMgr::LoadProfile(const std::string& file)
{
    const xml::CNodePtr root = xml::LoadXmlFile(file);
    if (!root)
        throw CException("Could not load " + file);
    const xml::CNodePtr profile = root->GetChild("Profile");
    // The reader keeps the layout blanks as values; drop them so that saving
    // does not add to them each time.
    xml::TrimNodeValues(*profile);
    return profile;
}

} // namespace sds
