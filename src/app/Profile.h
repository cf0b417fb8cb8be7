#pragma once

#include <string>
#include <vector>

#include "app/JumpRecord.h"
#include "core/Node.h"

namespace sds {

// A user of the program with the log of that user's jumps. It lives in a
// folder of its own holding "<name>.profile" and the jumps' trajectory files.
// The file is written whenever a jump is added and when the profile is released.
class CProfile
{
public:
    // Loads a profile from its "Profile" element. The name and the folder are
    // taken from the file's path, never from the element, so a file cannot
    // send writes outside its own folder.
    CProfile(const xml::CNodePtr& profile, const std::string& file);
    // A new, empty profile: creates its folder, writes its file and logs
    // "Created profile " and the name.
    CProfile(const std::string& name, const std::string& path, const std::string& file);
    // Writes the profile.
    ~CProfile();

    CProfile(const CProfile&) = delete;
    CProfile& operator=(const CProfile&) = delete;

    // Writes the file whole or not at all; a failure is logged and false.
    bool Save() const;
    // Appends the jump and writes the profile.
    bool AddJump(const CJumpRecord& jump);

    const std::string& GetName() const { return m_Name; }
    // The profile's folder, ending in "/".
    const std::string& GetPath() const { return m_Path; }
    const std::string& GetFile() const { return m_File; }
    const std::vector<CJumpRecord>& GetJumps() const { return m_Jumps; }
    // One line for each jump of the file that had a number or position that
    // could not be read (kept as it was); each is logged as a warning too.
    const std::vector<std::string>& GetReadWarnings() const { return m_ReadWarnings; }

    // The jumps of a "Profile" element; a "Jump" missing an attribute, or with
    // an empty "Number", throws the XML layer's exception.
    static std::vector<CJumpRecord> ReadJumps(const xml::CNodePtr& profile);

private:
    std::string m_Path;
    std::string m_Name;
    std::string m_File;
    std::vector<CJumpRecord> m_Jumps;
    std::vector<std::string> m_ReadWarnings;
};

} // namespace sds
