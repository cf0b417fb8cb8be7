#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Node.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "graphics/IGfxObj.h"

namespace sds {
namespace DovuvUvozeVozediza {

// An editable thing of a force-field scene shown in the editor's 3D view: the
// user picks it by its graphic object, drags it in the plane z = 0 and
// right-clicks it. A marker moves its graphic object, writes help into the
// console's fixed lines (0: what to do, 2: what is selected and where; 1
// belongs to the editor's drag read-out and the force field's description)
// and, on SaveToScene, writes its value into the scene tree.
class CBaseMarker : public IOnUpdate
{
public:
    // Gives the graphic object the base scale: its scale at a camera distance of 100.
    CBaseMarker(const xml::CNodePtr& node, const CGfxObjPtr& gfxObj, const CVector& baseScale);
    ~CBaseMarker() override;

    // Every frame while the marker is selected.
    void OnUpdate(const CTiming&) override {}
    virtual void OnRightClick() {}
    virtual void Select() {}
    virtual void Deselect() {}
    virtual void SaveToScene() {}
    virtual void SetPos(const CVector& pos);
    // The editor resumes after a dialog while this marker is selected.
    virtual void Refresh() {}
    // Keeps the marker's size on screen as the camera moves away from the plane:
    // the base scale times `cameraDistance` / 100 beyond a distance of 1, else
    // the base scale itself (0 restores it).
    virtual void SetScale(float cameraDistance);
    virtual void SetVisible(bool visible);

    CGfxObjPtr GetGfxObj() const { return m_GfxObj; }

protected:
    // A new object of the mesh under the scene root, for a marker to show.
    static CGfxObjPtr CreateObject(const std::string& mesh);
    // A console fixed line; `redraw` draws the console at once.
    static void ShowLine(unsigned line, const std::string& text, bool redraw);
    // The graphic object's position as "x,y,z".
    std::string PositionText() const;

    xml::CNodePtr m_Node;
    CGfxObjPtr m_GfxObj;
    CVector m_BaseScale;
};

typedef std::shared_ptr<CBaseMarker> CMarkerPtr;
typedef std::vector<CMarkerPtr> CMarkers;

// Whether the marker shows that very graphic object.
bool HasGfxObj(const CMarkerPtr& marker, const CGfxObjPtr& gfxObj);

} // namespace DovuvUvozeVozediza
} // namespace sds
