#pragma once

#include <string>
#include <vector>

#include "core/Node.h"

namespace sds {
namespace GuiStates {

// The presets file: named sets of jump settings, each a "Preset" element
// ("Name") of "Info" rows ("Name", optional "Units", the value as text, in
// SI units). Presets are found by name; when two share one, the first wins.
class CPresetsDocument
{
public:
    // Reads the file, or its embedded default copy when it is missing. A file
    // that cannot be read, whose document element is not "Presets" or that has
    // a preset without a name is set aside as "<path>.bad" for the built-in
    // copy (none: no presets); GetNotice says so. A temporary file of a save
    // that was cut off is removed first.
    explicit CPresetsDocument(const std::string& path);
    ~CPresetsDocument();

    // The "Name" of every "Preset" of `root`, in file order.
    static std::vector<std::string> GetPresetNames(const xml::CNodePtr& root);

    const std::vector<std::string>& GetNames() const { return m_Names; }
    const std::string& GetPath() const { return m_Path; }
    // What the user should be told about the file; empty when it was read.
    const std::string& GetNotice() const { return m_Notice; }

    // Throws xml::CNoNodeException for a name no preset has.
    xml::CNodePtr FindPreset(const std::string& name) const;
    // True when every row of the named preset is among the rows of `settings`
    // with the same value text (xml::Contains); false when there is no preset.
    bool PresetMatches(const xml::CNodePtr& settings, const std::string& name) const;
    // Replaces the preset of that name, or adds it; either way it becomes the last.
    void StorePreset(const std::string& name, const xml::CNodePtr& preset);
    // Throws xml::CNoNodeException for a name no preset has, unless there is
    // no preset at all.
    void DeletePreset(const std::string& name);

    // Writes the whole file with the header comment it was read with, or
    // leaves the old one as it was; false when it could not be written.
    bool Save() const;

private:
    std::string m_Path;
    std::string m_Prolog;
    std::string m_Notice;
    xml::CNodePtr m_Root;
    std::vector<std::string> m_Names;
};

} // namespace GuiStates
} // namespace sds
