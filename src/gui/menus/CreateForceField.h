#pragma once

#include <set>
#include <string>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace GuiStates {

// The dialog that fills a force field just placed in the editor
// ("wndCreateForceField"): the user picks a force type and a timing from the
// template files, Create composes the field's function from the pair and
// goes on to the edit dialog, Cancel takes the field out of the scene again.
class CCreateForceField : public CGuiEngineState, public CSingletonTmpl<CCreateForceField>
{
public:
    // Loads the templates at once.
    explicit CCreateForceField(CGuiEngine* owner);
    ~CCreateForceField() override;

    void Enter() override;
    void Exit() override;

    // The "Region" element the dialog works on.
    void SetForceField(const xml::CNodePtr& field) { m_ForceField = field; }

    // Reads every template file of the configured folder into the catalogue
    // and offers its types and timings. A folder that cannot be listed throws.
    void LoadTemplates();
    // Shows the description of the catalogue's `element` named by the box's
    // text; the description stays as it was when there is none.
    void ShowTemplateDescription(const std::string& element, const std::string& box);

    // Throws xml::CNoNodeException when the chosen type or timing is not in
    // the catalogue; the field stays as it was.
    void OnCreate(const CGUIEvent& event);
    void OnCancel(const CGUIEvent& event);

private:
    std::set<std::string> m_TypeNames;
    std::set<std::string> m_TimingNames;
    xml::CNodePtr m_ForceField;
    xml::CNodePtr m_Catalogue;
    CConnections m_Connections;
};

} // namespace GuiStates
} // namespace sds
