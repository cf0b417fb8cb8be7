#pragma once

#include "forcefields/BaseMarker.h"

namespace sds {
namespace DovuvUvozeVozediza {

enum EBoundaryAxis { BOUNDARY_X, BOUNDARY_Y };
enum EBoundaryCorner { MIN_CORNER, MAX_CORNER };

// One side of the scene's "BoundingBox" identified "Boundaries": an upright
// bar at the x of a corner, or a level bar at its y. Dragging the bar moves
// only that component of its own corner.
template <EBoundaryAxis Axis, EBoundaryCorner Corner>
class CBoundaryMarkerTmpl : public CBaseMarker
{
public:
    explicit CBoundaryMarkerTmpl(const xml::CNodePtr& boundingBox);
    ~CBoundaryMarkerTmpl() override;

    void Select() override;
    void SaveToScene() override;
    // The bars keep their size.
    void SetScale(float) override {}

private:
    static const char* OwnCorner() { return Corner == MAX_CORNER ? "MaxCorner" : "MinCorner"; }
};

// The bars at the x of the minimum and maximum corners, and at their y.
typedef CBoundaryMarkerTmpl<BOUNDARY_X, MIN_CORNER> CMinXBoundaryMarker;
typedef CBoundaryMarkerTmpl<BOUNDARY_Y, MIN_CORNER> CMinYBoundaryMarker;
typedef CBoundaryMarkerTmpl<BOUNDARY_X, MAX_CORNER> CMaxXBoundaryMarker;
typedef CBoundaryMarkerTmpl<BOUNDARY_Y, MAX_CORNER> CMaxYBoundaryMarker;

} // namespace DovuvUvozeVozediza
} // namespace sds
