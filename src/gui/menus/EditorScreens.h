#pragma once

#include "editor/IEditorScreens.h"

namespace sds {

class CGuiEngine;

namespace GuiStates {

// The menus' screens that the force-field editor opens. Each dialog is shown
// on the GUI engine, then the engine's menu mode is pushed over the editor so
// that the dialog runs; closing the dialog pops back to the editor.
class CEditorScreens : public DovuvUvozeVozediza::IEditorScreens
{
public:
    explicit CEditorScreens(CGuiEngine& machine);

    bool GoToEditorMenu() override;
    bool GoToCreateForceField(const xml::CNodePtr& field) override;
    bool GoToEditForceField(const xml::CNodePtr& field) override;
    std::shared_ptr<DovuvUvozeVozediza::IOnScreenMenu> CreateEditMenuOnScreen() override;

private:
    // Over the editor, unless menu mode is already current (Create leads to
    // the edit dialog without leaving it).
    void EnterMenuMode() const;

    CGuiEngine& m_Machine;
};

} // namespace GuiStates
} // namespace sds
