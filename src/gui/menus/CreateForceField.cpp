#include "gui/menus/CreateForceField.h"

#include <algorithm>
#include <vector>

#include <boost/filesystem.hpp>

#include "app/Engine.h"
#include "core/ConfigPath.h"
#include "core/services/IApplication.h"
#include "forcefields/ForceFunctions.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"

namespace sds {
namespace GuiStates {

namespace {

const char* const kForceType = "wndCreateForceField/cbForceType";
const char* const kForceTiming = "wndCreateForceField/cbForceTiming";
const char* const kDescription = "wndCreateForceField/mleDescription";
const char* const kIdNames = "Name,Id";

xml::CNodePtr Config()
{
    return IApplication::GetSingleton()->GetConfig();
}

std::vector<std::string> Names(const xml::CNode& catalogue, const std::string& element, std::set<std::string>& names)
{
    names.clear();
    xml::ForEachChild(catalogue, element,
                      [&names](const xml::CNodePtr& entry) { names.insert(entry->GetAttribute("Name")->GetValue()); });
    return std::vector<std::string>(names.begin(), names.end());
}

} // namespace

CCreateForceField::CCreateForceField(CGuiEngine* owner)
    : CGuiEngineState(owner, "wndCreateForceField"), m_Catalogue(new xml::CNode("ForceFieldFunctions", false))
{
    LoadTemplates();
}

CCreateForceField::~CCreateForceField() = default;

void CCreateForceField::LoadTemplates()
{
    namespace fs = boost::filesystem;
    while (!m_Catalogue->GetChildren().empty())
        m_Catalogue->RemoveChild(m_Catalogue->GetChildren().begin()->second);

    const xml::CNodePtr location =
        Config()->GetChild("Application")->GetChild("Configs")->GetChild("ForceFieldFunctions");
    const std::string folder = location->GetAttribute("Path")->GetValue();
    const std::string extension = location->GetAttribute("Extension")->GetValue();
    std::vector<std::string> files;
    for (fs::directory_iterator it(folder), end; it != end; ++it)
        if (!fs::is_directory(it->status()) && it->path().extension().string() == extension)
            files.push_back(it->path().string());
    // Of two templates with one name the first is used; the order should not
    // be the file system's.
    std::sort(files.begin(), files.end());
    CEngine* engine = CEngine::GetSingleton();
    for (const std::string& file : files) {
        const std::string notice = DovuvUvozeVozediza::LoadTemplateFile(file, m_Catalogue);
        if (engine)
            engine->AddNotice(notice);
    }
    xml::TrimNodeValues(*m_Catalogue);

    IGUI& gui = *IGUI::GetSingleton();
    gui.SetItems(kForceType, Names(*m_Catalogue, "ForceField", m_TypeNames), 0);
    gui.SetItems(kForceTiming, Names(*m_Catalogue, "ForceFieldTiming", m_TimingNames), 0);
    ShowTemplateDescription("ForceField", kForceType);
}

void CCreateForceField::Enter()
{
    CGuiEngineState::Enter();
    if (Config()->GetChild("Switches")->GetAttribute<bool>("ReloadDZs", false))
        LoadTemplates();
    m_Connections.push_back(Subscribe("btnCreate", [this](const CGUIEvent& e) { OnCreate(e); }));
    m_Connections.push_back(Subscribe("btnCancel", [this](const CGUIEvent& e) { OnCancel(e); }));
    m_Connections.push_back(Subscribe("cbForceType", [this](const CGUIEvent&) {
        ShowTemplateDescription("ForceField", kForceType);
    }));
    m_Connections.push_back(Subscribe("cbForceTiming", [this](const CGUIEvent&) {
        ShowTemplateDescription("ForceFieldTiming", kForceTiming);
    }));
}

void CCreateForceField::Exit()
{
    ExitAndUnsubscribe(*this, m_Connections);
}

void CCreateForceField::ShowTemplateDescription(const std::string& element, const std::string& box)
{
    IGUI& gui = *IGUI::GetSingleton();
    const std::string name = gui.GetText(box);
    if (!m_Catalogue->HasChildById(element, name, kIdNames))
        return;
    const xml::CNodePtr entry = m_Catalogue->GetChildById(element, name, kIdNames);
    if (entry->HasChild("Description"))
        gui.SetText(kDescription, entry->GetChild("Description")->GetValue());
}

void CCreateForceField::OnCreate(const CGUIEvent&)
{
    IGUI& gui = *IGUI::GetSingleton();
    const xml::CNodePtr timing = m_Catalogue->GetChildById("ForceFieldTiming", gui.GetText(kForceTiming), kIdNames);
    const xml::CNodePtr type = m_Catalogue->GetChildById("ForceField", gui.GetText(kForceType), kIdNames);
    DovuvUvozeVozediza::ApplyTemplate(m_ForceField, type, timing);
    GoToEditForceField(*m_Owner, m_ForceField);
}

void CCreateForceField::OnCancel(const CGUIEvent&)
{
    if (xml::CNode* parent = m_ForceField ? m_ForceField->GetParent() : nullptr)
        parent->RemoveChild(m_ForceField);
    CEngine::GetSingleton()->PopState();
}

} // namespace GuiStates
} // namespace sds
