#include "gui/menus/EditForceField.h"

#include <vector>

#include "app/Engine.h"
#include "forcefields/ForceFunctions.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"

namespace sds {
namespace GuiStates {

namespace {

const char* const kForce = "wndEditForceField/mleForce";
const char* const kDescription = "wndEditForceField/mleDescription";
const char* const kRadii[] = {"wndEditForceField/ebRadius1", "wndEditForceField/ebRadius2",
                              "wndEditForceField/ebRadius3"};
const char* const kRadiusIds[] = {"1", "2", "3"};
const char* const kJustCreated = "JustCreated";

IGUI& Gui()
{
    return *IGUI::GetSingleton();
}

// The field's radius children "1" to "3"; a missing one throws before anything is read or written.
std::vector<xml::CNodePtr> Radii(const xml::CNode& field)
{
    std::vector<xml::CNodePtr> radii;
    for (const char* id : kRadiusIds)
        radii.push_back(field.GetChildById("Radius", id, "Name,Id"));
    return radii;
}

void RemoveFromScene(const xml::CNodePtr& field)
{
    if (xml::CNode* parent = field ? field->GetParent() : nullptr)
        parent->RemoveChild(field);
}

} // namespace

CEditForceField::CEditForceField(CGuiEngine* owner) : CGuiEngineState(owner, "wndEditForceField")
{
}

CEditForceField::~CEditForceField() = default;

void CEditForceField::Enter()
{
    // Read first, so that a damaged field leaves no half-filled dialog behind.
    const std::string function = GetFunctionText();
    const std::vector<xml::CNodePtr> radii = Radii(*m_ForceField);
    const std::string description = m_ForceField->GetChild("Description")->GetValue();

    CGuiEngineState::Enter();
    m_Connections.push_back(Subscribe("btnDelete", [this](const CGUIEvent& e) { OnDelete(e); }));
    m_Connections.push_back(Subscribe("btnCancel", [this](const CGUIEvent& e) { OnCancel(e); }));
    m_Connections.push_back(Subscribe("btnHelp", [this](const CGUIEvent& e) { OnHelp(e); }));
    m_Connections.push_back(Subscribe("btnVerify", [this](const CGUIEvent& e) { OnVerify(e); }));
    m_Connections.push_back(Subscribe("btnOk", [this](const CGUIEvent& e) { OnOk(e); }));

    IGUI& gui = Gui();
    gui.SetText(kForce, function);
    for (std::size_t i = 0; i < radii.size(); ++i)
        gui.SetText(kRadii[i], radii[i]->GetValue());
    gui.SetText(kDescription, description);
}

void CEditForceField::Exit()
{
    ExitAndUnsubscribe(*this, m_Connections);
}

std::string CEditForceField::GetFunctionText() const
{
    return m_ForceField->GetChild("Function")->GetValue();
}

std::string CEditForceField::CheckFunction()
{
    // The user's Lua runs only in the check's sandbox.
    const std::string error = DovuvUvozeVozediza::CheckForceFunction(Gui().GetText(kForce));
    if (!error.empty())
        ShowMessageBox(*m_Owner, "Error: " + error);
    return error;
}

void CEditForceField::OnVerify(const CGUIEvent&)
{
    CheckFunction();
}

void CEditForceField::OnOk(const CGUIEvent&)
{
    if (!CheckFunction().empty())
        return;
    IGUI& gui = Gui();
    const std::vector<xml::CNodePtr> radii = Radii(*m_ForceField);
    // Stored as typed: what a radius means is the function's business.
    for (std::size_t i = 0; i < radii.size(); ++i)
        radii[i]->SetValue(gui.GetText(kRadii[i]));
    DovuvUvozeVozediza::SetForceFunction(m_ForceField, gui.GetText(kForce), gui.GetText(kDescription),
                                         xml::CNodePtr());
    while (m_ForceField->HasChild(kJustCreated))
        m_ForceField->RemoveChild(m_ForceField->GetChild(kJustCreated));
    CEngine::GetSingleton()->PopState();
}

void CEditForceField::OnCancel(const CGUIEvent&)
{
    // A field that was never confirmed is not kept.
    if (m_ForceField && m_ForceField->HasChild(kJustCreated))
        RemoveFromScene(m_ForceField);
    CEngine::GetSingleton()->PopState();
}

void CEditForceField::OnDelete(const CGUIEvent&)
{
    RemoveFromScene(m_ForceField);
    CEngine::GetSingleton()->PopState();
}

void CEditForceField::OnHelp(const CGUIEvent&)
{
    Gui().SelectTab("wndHelp/tcSections", "wndHelp/tcSections/tabScripting");
    ShowHelp(*m_Owner);
}

} // namespace GuiStates
} // namespace sds
