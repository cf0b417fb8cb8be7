#include "graphics/ogre/GfxSettingsListBox.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRoot.h>

#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/services/IEventMgr.h"

namespace wrappers {

namespace {

const char* const RENDER_SYSTEM = "Render System";

sds::ILogMgr& Log()
{
    return *sds::ILogMgr::GetSingleton();
}

// The next possible value, after the last the first. False, and the option is
// left alone, when its value is not among the possible ones.
bool Advance(Ogre::ConfigOption& option)
{
    const Ogre::StringVector& values = option.possibleValues;
    const auto current = std::find(values.begin(), values.end(), option.currentValue);
    if (current == values.end()) {
        Log().LogWarning("Current option value can not be found: " + option.currentValue);
        return false;
    }
    option.currentValue = current + 1 == values.end() ? values.front() : *(current + 1);
    return true;
}

} // namespace

CGfxSettingsListBox::CGfxSettingsListBox(const std::string& windowName, const CSetRows& setRows,
                                         const CGetSelectedRow& getSelectedRow, Ogre::Root& root,
                                         const xml::CNodePtr& gfxCfg)
    : m_Name(windowName), m_SetRows(setRows), m_GetSelectedRow(getSelectedRow), m_Root(root)
{
    m_Path = gfxCfg->GetAttribute("Path")->GetValue();
    xml::ForEachChild(*gfxCfg, "Force", [this](const xml::CNodePtr& force) {
        m_Forced.insert(force->GetAttribute<std::string>("Name", force->GetAttribute("Id", "")));
    });

    const Ogre::RenderSystemList& loaded = m_Root.getAvailableRenderers();
    if (loaded.empty())
        throw sds::CException("No renderer is available, so nothing can be rendered. Check loaded plugins.");
    m_RenderSystem.name = RENDER_SYSTEM;
    m_RenderSystem.immutable = false;
    for (const Ogre::RenderSystem* renderSystem : loaded)
        m_RenderSystem.possibleValues.push_back(renderSystem->getName());
    const Ogre::RenderSystem* inUse = m_Root.getRenderSystem();
    m_RenderSystem.currentValue = (inUse ? inUse : loaded.front())->getName();

    m_Connection = sds::IEventMgr::GetSingleton()->ConnectGUIEvent(
        sds::CGUIEvent(m_Name), [this](const sds::CGUIEvent& event) { OnSelectionChanged(event); });
    Refresh();
}

CGfxSettingsListBox::~CGfxSettingsListBox() = default;

void CGfxSettingsListBox::Refresh()
{
    RebuildRows();
    saveConfig();
}

void CGfxSettingsListBox::RebuildRows()
{
    m_Rows.clear();
    m_Actions.clear();
    AddRow(m_RenderSystem.name + ": " + m_RenderSystem.currentValue, [this] { CycleRenderSystem(); });
    for (const auto& entry : GetChosen().getConfigOptions()) {
        const Ogre::ConfigOption& option = entry.second;
        // A forced option is set on every start; a single value leaves no choice.
        if (m_Forced.count(option.name) || option.possibleValues.size() < 2)
            continue;
        const std::string name = option.name;
        AddRow(name + ": " + option.currentValue, [this, name] { ChangeOption(name); });
    }
    m_SetRows(m_Rows);
}

void CGfxSettingsListBox::AddRow(const std::string& text, const std::function<void()>& action)
{
    m_Rows.push_back(text);
    m_Actions[text] = action;
}

Ogre::RenderSystem& CGfxSettingsListBox::GetChosen() const
{
    Ogre::RenderSystem* chosen = m_Root.getRenderSystemByName(m_RenderSystem.currentValue);
    SDS_ASSERT(chosen && "The chosen render system is loaded");
    return *chosen;
}

void CGfxSettingsListBox::OnSelectionChanged(const sds::CGUIEvent&)
{
    const std::string row = m_GetSelectedRow();
    if (row.empty())
        return;
    const auto found = m_Actions.find(row);
    if (found == m_Actions.end())
        return;
    // The action rebuilds the rows and with them m_Actions.
    const std::function<void()> action = found->second;
    action();
}

void CGfxSettingsListBox::CycleRenderSystem()
{
    Advance(m_RenderSystem);
    Refresh();
}

void CGfxSettingsListBox::ChangeOption(const std::string& name)
{
    Ogre::RenderSystem& renderSystem = GetChosen();
    const Ogre::ConfigOptionMap& options = renderSystem.getConfigOptions();
    const auto found = options.find(name);
    if (found == options.end())
        return;
    Ogre::ConfigOption option = found->second;
    const std::string before = option.currentValue;
    if (Advance(option)) {
        renderSystem.setConfigOption(name, option.currentValue);
        // A choice the render system refuses would keep every later start
        // from opening its window: it is taken back and never written.
        const std::string problem = renderSystem.validateConfigOptions();
        if (!problem.empty()) {
            renderSystem.setConfigOption(name, before);
            Log().LogWarning("There was a problem with changing renderer option: " + problem);
            RebuildRows();
            return;
        }
    }
    Refresh();
}

void CGfxSettingsListBox::saveConfig() const
{
    if (m_Path.empty())
        return;
    // Written beside the file and renamed over it, so that a failed write
    // leaves the last good file.
    const std::string written = m_Path + ".new";
    std::ofstream file(written, std::ios::out | std::ios::trunc);
    if (file) {
        file << "Render System=" << m_RenderSystem.currentValue << "\n";
        for (Ogre::RenderSystem* renderSystem : m_Root.getAvailableRenderers()) {
            file << "\n[" << renderSystem->getName() << "]\n";
            for (const auto& entry : renderSystem->getConfigOptions())
                file << entry.second.name << "=" << entry.second.currentValue << "\n";
        }
        file.close();
    }
    if (file && std::rename(written.c_str(), m_Path.c_str()) == 0)
        return;
    const std::string reason = std::strerror(errno);
    std::remove(written.c_str());
    // The program goes on; the choice is only not kept for the next start.
    Log().LogWarning("Cannot create settings file. " + m_Path + ": " + reason);
}

} // namespace wrappers
