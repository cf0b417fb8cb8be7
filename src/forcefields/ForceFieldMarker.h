#pragma once

#include <memory>

#include "forcefields/BaseMarker.h"

namespace physics {
class IWindMgr;
class IWindRegion;
} // namespace physics

namespace sds {
namespace DovuvUvozeVozediza {

class CRadiusMarker;
class IEditorDialogs;

// A force field: a sphere at the centre of its area with four handles, one for
// each of the radii "1", "2", "3" of its force function and one at the +x, +y
// corner of its area, which it draws as a flat box. Moving the marker moves the
// whole field; a right click opens the field's edit dialog.
class CForceFieldMarker : public CBaseMarker
{
public:
    // The handles join the end of the editor's marker list; the creator
    // appends the marker itself after them. Throws xml::CNoNodeException for a
    // region element without "Shape" ("Position", "Size") or one of the radii.
    CForceFieldMarker(const std::shared_ptr<physics::IWindRegion>& region, CMarkers* markers, CMarkerPtr* selected,
                      physics::IWindMgr& windMgr, IEditorDialogs& dialogs);
    ~CForceFieldMarker() override;

    void OnRightClick() override;
    void Select() override;
    void Deselect() override;
    // Writes the handles, then the centre, into the element; the running wind
    // region takes them at once.
    void SaveToScene() override;
    void SetPos(const CVector& pos) override;
    // After the edit dialog: the region reloads the edited element, or, when the
    // dialog deleted the field, the field leaves the level and the editor.
    void Refresh() override;

    const std::vector<std::shared_ptr<CRadiusMarker>>& GetHandles() const { return m_Handles; }

private:
    static void MoveHandle(const std::shared_ptr<CRadiusMarker>& handle, const CVector& offset);
    void RemoveFromEditor(const CBaseMarker* marker);

    std::shared_ptr<physics::IWindRegion> m_Region;
    CMarkers* m_Markers;
    std::vector<std::shared_ptr<CRadiusMarker>> m_Handles;
    CMarkerPtr* m_Selected;
    physics::IWindMgr& m_WindMgr;
    IEditorDialogs& m_Dialogs;
};

// Sets the "Position" of the element's "Shape".
void SetShapePosition(const xml::CNodePtr& field, const CVector& position);

} // namespace DovuvUvozeVozediza
} // namespace sds
