#pragma once

#include <string>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace GuiStates {

// The dialog that edits a force field of the scene ("wndEditForceField"): its
// Lua function, the texts of its three radii and its description. OK checks
// the function in the sandbox and writes the edits back; Cancel keeps the
// field as it was, but takes out a field that was never confirmed; Delete
// takes the field out. Each closes the dialog and returns to the editor.
class CEditForceField : public CGuiEngineState, public CSingletonTmpl<CEditForceField>
{
public:
    explicit CEditForceField(CGuiEngine* owner);
    ~CEditForceField() override;

    // Fills the boxes from the field; a field without "Function",
    // "Description" or one of the radii "1" to "3" throws xml::CNoNodeException.
    void Enter() override;
    void Exit() override;

    // The "Region" element the dialog works on.
    void SetForceField(const xml::CNodePtr& field) { m_ForceField = field; }
    std::string GetFunctionText() const;

    // A function that fails the check is shown as "Error: <why>" in a
    // message box, and OK then writes nothing.
    void OnOk(const CGUIEvent& event);
    void OnVerify(const CGUIEvent& event);
    void OnCancel(const CGUIEvent& event);
    void OnDelete(const CGUIEvent& event);
    // The help screen over the dialog, on its scripting tab.
    void OnHelp(const CGUIEvent& event);

private:
    // The check's failure, shown; empty when the function passes.
    std::string CheckFunction();

    CConnections m_Connections;
    xml::CNodePtr m_ForceField;
};

} // namespace GuiStates
} // namespace sds
