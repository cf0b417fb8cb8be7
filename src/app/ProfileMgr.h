#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Profile.h"
#include "core/Node.h"

namespace sds {

// Finds the profiles on disk, makes sure one exists and holds the current one.
// Each profile is a folder of the profiles folder holding "<name>.profile".
class CProfileMgr
{
public:
    // `profiles` is the configuration's "Profiles" element; its "Path" names
    // the profiles folder, which is created when missing. What interrupted
    // saves left in the profiles' folders is removed. With no usable profile
    // on disk, "default" (or a free name after it) is created.
    explicit CProfileMgr(const xml::CNodePtr& profiles);

    // Lists the profiles on disk, sorted by name. A profile whose file cannot
    // be read is logged, left out and left untouched, with a notice for the user.
    void Scan();
    // Makes a new profile current. A name that is not allowed, or that of a
    // profile on disk, throws sds::CException.
    void CreateProfile(const std::string& name);
    // Makes the named profile current, creating it when it is missing and
    // `create` is set. A profile whose file cannot be read is logged, and the
    // current (or else the first) profile stays in use.
    void SelectProfile(const std::string& name, bool create);

    // What the user must be told (a damaged profile file), once each; taking
    // them empties the list.
    std::vector<std::string> TakeNotices();

    // A profile name becomes a folder and a file name: empty names, "/", "\",
    // "..", "." and control characters are refused, with the reason.
    static bool IsValidProfileName(const std::string& name, std::string* reason = nullptr);

    // The profiles folder, ending in "/".
    const std::string& GetPath() const { return m_Path; }
    const std::vector<std::string>& GetProfiles() const { return m_Profiles; }
    const std::shared_ptr<CProfile>& GetCurrentProfile() const { return m_CurrentProfile; }

private:
    std::string GetProfileFile(const std::string& name) const;
    // A name for a new profile that does not clash with a file on disk.
    std::string GetFreeName(const std::string& base) const;
    static void CheckName(const std::string& name);
    // Makes the profile current; false (logged) when its file cannot be read.
    bool TryLoad(const std::string& name);
    static xml::CNodePtr LoadProfile(const std::string& file);
    void ReportDamage(const std::string& file, const std::string& reason);

    std::string m_Path;
    std::vector<std::string> m_Profiles;
    std::shared_ptr<CProfile> m_CurrentProfile;
    std::vector<std::string> m_Notices;
    // Damaged files already reported.
    std::set<std::string> m_Damaged;
};

} // namespace sds
