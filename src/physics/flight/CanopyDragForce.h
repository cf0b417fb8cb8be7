#pragma once

#include "physics/DragForce.h"

namespace physics {

// The drag of a canopy cell: its area grows from the base "Area" towards
// "ToggleDownArea" as the toggle goes down (the cell sets it).
class CCanopyDragForce : public CDragForce
{
public:
    explicit CCanopyDragForce(const xml::CNodePtr& node);

    // Both areas times `scale`, for a canopy of another size than the one they are given for.
    void ScaleAreas(float scale);

    float GetToggleDownArea() const { return m_ToggleDownArea; }
    float GetBaseArea() const { return m_BaseArea; }

private:
    float m_ToggleDownArea;
    float m_BaseArea;
};

} // namespace physics
