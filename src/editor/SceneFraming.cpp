#include "editor/SceneFraming.h"

#include <algorithm>

#include "forcefields/ForceFieldScene.h"

namespace sds {
namespace DovuvUvozeVozediza {

namespace {

// Of the view's half, in each direction.
const float kMargin = 0.1f;
// Nearer than this the side view does not come.
const float kNearest = 20.0f;

CVector Position(const xml::CNodePtr& element)
{
    return element->GetAttribute("Position")->GetValue<CVector>();
}

void Include(CSceneArea& area, const CVector& point)
{
    area.m_Min.x = std::min(area.m_Min.x, point.x);
    area.m_Min.y = std::min(area.m_Min.y, point.y);
    area.m_Max.x = std::max(area.m_Max.x, point.x);
    area.m_Max.y = std::max(area.m_Max.y, point.y);
}

bool HasFieldOfView(const CSideView& view)
{
    return view.m_TanAcross > 0.0f && view.m_TanUp > 0.0f && view.m_TopBand >= 0.0f && view.m_TopBand < 0.5f;
}

} // namespace

CSceneArea EditedArea(const xml::CNodePtr& scene)
{
    const xml::CNodePtr boundaries = GetBoundaries(scene);
    const CVector minCorner = boundaries->GetAttribute("MinCorner")->GetValue<CVector>();
    CSceneArea area{minCorner, minCorner};
    Include(area, boundaries->GetAttribute("MaxCorner")->GetValue<CVector>());
    Include(area, Position(scene->GetChild("Preset")->GetChild("Jumper")));
    scene->GetChild("Target");
    xml::ForEachChild(*scene, "Target", [&area](const xml::CNodePtr& target) { Include(area, Position(target)); });
    return area;
}

bool ShowsWhole(const CSideView& view, const CVector& camera, const CSceneArea& area)
{
    if (!HasFieldOfView(view) || !(camera.z > 0.0f))
        return false;
    // The picture's edges as offsets from the camera in the plane z = 0.
    const float across = camera.z * view.m_TanAcross;
    const float up = camera.z * view.m_TanUp;
    return area.m_Min.x >= camera.x - across && area.m_Max.x <= camera.x + across && area.m_Min.y >= camera.y - up &&
           area.m_Max.y <= camera.y + up * (1.0f - 2.0f * view.m_TopBand);
}

CVector FramingPosition(const CSideView& view, const CSceneArea& area)
{
    // In the view's own units, -1 to 1 across and up; the band takes the top.
    const float wide = 2.0f - 2.0f * kMargin;
    const float high = 2.0f - 2.0f * view.m_TopBand - 2.0f * kMargin;
    const float distance = std::max({kNearest, (area.m_Max.x - area.m_Min.x) / (view.m_TanAcross * wide),
                                     (area.m_Max.y - area.m_Min.y) / (view.m_TanUp * high)});
    // The middle of the view below the band lies at -band.
    return CVector((area.m_Min.x + area.m_Max.x) * 0.5f,
                   (area.m_Min.y + area.m_Max.y) * 0.5f + view.m_TopBand * distance * view.m_TanUp, distance);
}

CVector StartingPosition(const CSideView& view, const CVector& saved, const CSceneArea& area)
{
    if (!HasFieldOfView(view) || ShowsWhole(view, saved, area))
        return saved;
    return FramingPosition(view, area);
}

} // namespace DovuvUvozeVozediza
} // namespace sds
