#pragma once

#include "core/Node.h"
#include "core/Vector.h"

namespace sds {
namespace DovuvUvozeVozediza {

// What the editor's side view shows of the plane z = 0 from a camera looking
// along -z: the tangents of half its field of view across and up, and the
// share of the picture's height at its top that the console's band covers.
// A view without a field of view (tangents of 0) frames nothing.
struct CSideView
{
    float m_TanAcross = 0.0f;
    float m_TanUp = 0.0f;
    float m_TopBand = 0.0f;
};

// A rectangle of the plane z = 0 (z unused).
struct CSceneArea
{
    CVector m_Min;
    CVector m_Max;
};

// What the editor of a force-field scene must show: the boundaries, the
// jumper's start and every target. Throws xml::CNoNodeException when the
// scene lacks one of them, as the editor does.
CSceneArea EditedArea(const xml::CNodePtr& scene);

// Whether the whole area lies in the view, below its band, of a camera at
// `camera` in front of the plane.
bool ShowsWhole(const CSideView& view, const CVector& camera, const CSceneArea& area);

// The camera position that shows the whole area in the middle of the view
// below the band, with a margin of a twentieth of the view on every side for
// the bars drawn along the boundaries.
CVector FramingPosition(const CSideView& view, const CSceneArea& area);

// Where the editor's camera starts: at `saved`, the position the scene was
// saved with, when the whole area is in view from there; otherwise where it
// frames the area.
CVector StartingPosition(const CSideView& view, const CVector& saved, const CSceneArea& area);

} // namespace DovuvUvozeVozediza
} // namespace sds
