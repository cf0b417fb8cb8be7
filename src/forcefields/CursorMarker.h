#pragma once

#include "forcefields/BaseMarker.h"

namespace physics {
class IWindMgr;
}

namespace sds {
namespace DovuvUvozeVozediza {

class IEditorDialogs;

// The editor's cursor: a small flat sphere where the user last clicked into
// empty space. While selected it reads the wind out at its place; a right
// click places a new force field there and opens the create dialog.
class CCursorMarker : public CBaseMarker
{
public:
    // `wind` is the scene's "Preset"/"Wind" element; the marker list and the
    // selection are the editor's, which the new fields' markers join.
    CCursorMarker(const xml::CNodePtr& wind, CMarkers* markers, CMarkerPtr* selected, physics::IWindMgr& windMgr,
                  IEditorDialogs& dialogs);
    ~CCursorMarker() override;

    // Console line 2: "Pos=…; Wind=…; WindStrength=…" in the user's speed unit.
    void OnUpdate(const CTiming& timing) override;
    void OnRightClick() override;
    void Select() override;
    // After the create dialog: a confirmed field becomes a wind region of the
    // level and gets its marker, which is selected; a cancelled one is forgotten.
    void Refresh() override;

private:
    xml::CNodePtr m_NewForceField;
    CMarkers* m_Markers;
    CMarkerPtr* m_Selected;
    physics::IWindMgr& m_WindMgr;
    IEditorDialogs& m_Dialogs;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
