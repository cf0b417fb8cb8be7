#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <boost/signals2/connection.hpp>
#include <OGRE/OgreConfigOptionMap.h>

#include "core/Node.h"
#include "core/services/Events.h"

namespace Ogre {
class RenderSystem;
class Root;
} // namespace Ogre

namespace wrappers {

// The render system and its options as the rows of a list box: a click on a
// row moves its option to the next possible value, and the whole choice is
// written at once into the rendering engine's configuration file, which the
// next start of the program reads. The running program keeps its options.
class CGfxSettingsListBox
{
public:
    // Replaces the list box's rows; none is selected afterwards.
    typedef std::function<void(const std::vector<std::string>& rows)> CSetRows;
    // The text of the row the user picked; empty when none is selected.
    typedef std::function<std::string()> CGetSelectedRow;

    // Lists the render systems `root` has loaded, the one in use chosen, and
    // writes the file. `gfxCfg` is the "GfxCfg" element: "Path" names the file
    // ("" writes none), and the options its "Force" children name are not
    // listed. Throws when no render system is loaded.
    CGfxSettingsListBox(const std::string& windowName, const CSetRows& setRows, const CGetSelectedRow& getSelectedRow,
                        Ogre::Root& root, const xml::CNodePtr& gfxCfg);
    ~CGfxSettingsListBox();

    CGfxSettingsListBox(const CGfxSettingsListBox&) = delete;
    CGfxSettingsListBox& operator=(const CGfxSettingsListBox&) = delete;

    // Rebuilds the rows and writes the file.
    void Refresh();
    // Writes the file; one that cannot be written is logged and skipped.
    void saveConfig() const;
    // Moves the chosen render system's option to its next value. A value the
    // render system refuses is taken back, logged, and not written.
    void ChangeOption(const std::string& name);
    // Moves the choice to the next loaded render system.
    void CycleRenderSystem();
    void OnSelectionChanged(const sds::CGUIEvent& event);

    const std::string& GetChosenRenderSystem() const { return m_RenderSystem.currentValue; }

private:
    void RebuildRows();
    void AddRow(const std::string& text, const std::function<void()>& action);
    Ogre::RenderSystem& GetChosen() const;

    std::string m_Name;
    CSetRows m_SetRows;
    CGetSelectedRow m_GetSelectedRow;
    Ogre::Root& m_Root;
    std::string m_Path;
    std::set<std::string> m_Forced;
    // "Render System": the chosen one's name among those loaded.
    Ogre::ConfigOption m_RenderSystem;
    boost::signals2::scoped_connection m_Connection;
    std::vector<std::string> m_Rows;
    std::map<std::string, std::function<void()>> m_Actions;
};

} // namespace wrappers
