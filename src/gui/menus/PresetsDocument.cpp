#include "gui/menus/PresetsDocument.h"

#include "core/ConfigPath.h"
#include "core/IResourceMgr.h"
#include "core/UserFile.h"
#include "core/XmlFile.h"

namespace sds {
namespace GuiStates {

CPresetsDocument::CPresetsDocument(const std::string& path) : m_Path(path)
{
    RemoveUnfinishedWrite(path);
    IResourceMgr& resources = *IResourceMgr::GetSingleton();
    m_Notice = UseUserFile(resources, path, "Presets", [this](const xml::CNodePtr& root) {
        m_Names = GetPresetNames(root);
        m_Root = root;
    });
    if (!m_Root) {
        m_Root = xml::CNodePtr(new xml::CNode("Presets", false));
        m_Names.clear();
    }
    // The header comment that says what the file holds stays through saves.
    try {
        m_Prolog = xml::ReadProlog(resources.LoadText(path));
    } catch (const std::exception&) {
        // No file and no built-in copy: nothing to keep.
    }
    // The layout whitespace between the elements would otherwise be written
    // back as text.
    m_Root->SetValue("");
    xml::ForEachChild(*m_Root, "Preset", [](const xml::CNodePtr& preset) { preset->SetValue(""); });
}

CPresetsDocument::~CPresetsDocument() = default;

std::vector<std::string> CPresetsDocument::GetPresetNames(const xml::CNodePtr& root)
{
    std::vector<std::string> names;
    xml::ForEachChild(*root, "Preset",
                      [&](const xml::CNodePtr& preset) { names.push_back(preset->GetAttribute("Name")->GetValue()); });
    return names;
}

xml::CNodePtr CPresetsDocument::FindPreset(const std::string& name) const
{
    return m_Root->GetChildById("Preset", name, "Name,Id");
}

bool CPresetsDocument::PresetMatches(const xml::CNodePtr& settings, const std::string& name) const
{
    if (!m_Root->HasChild("Preset"))
        return false;
    return xml::Contains(*FindPreset(name), *settings);
}

void CPresetsDocument::StorePreset(const std::string& name, const xml::CNodePtr& preset)
{
    if (m_Root->HasChildById("Preset", name, "Name,Id"))
        m_Root->RemoveChild(FindPreset(name));
    SetConfigString(preset, ">Name", name);
    m_Root->AddChild(preset);
    m_Names = GetPresetNames(m_Root);
}

void CPresetsDocument::DeletePreset(const std::string& name)
{
    if (!m_Root->HasChild("Preset"))
        return;
    m_Root->RemoveChild(FindPreset(name));
    m_Names = GetPresetNames(m_Root);
}

bool CPresetsDocument::Save() const
{
    return xml::SaveXmlFile(m_Path, m_Root, m_Prolog);
}

} // namespace GuiStates
} // namespace sds
