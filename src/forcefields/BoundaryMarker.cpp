#include "forcefields/BoundaryMarker.h"


namespace sds {
namespace DovuvUvozeVozediza {

namespace {

// An upright bar 6 wide and 100 high, or a level one 100 wide and 6 high.
CVector BarScale(EBoundaryAxis axis)
{
    return axis == BOUNDARY_Y ? CVector(100.0f, 6.0f, 6.0f) : CVector(6.0f, 100.0f, 6.0f);
}

} // namespace

template <EBoundaryAxis Axis, EBoundaryCorner Corner>
CBoundaryMarkerTmpl<Axis, Corner>::CBoundaryMarkerTmpl(const xml::CNodePtr& boundingBox)
    : CBaseMarker(boundingBox, CreateObject("Cube"), BarScale(Axis))
{
    m_GfxObj->SetMaterial("DovuvUvozeVozediza/Editor/Boundary", false);
    const CVector own = m_Node->GetAttribute(OwnCorner())->template GetValue<CVector>();
    const CVector other = m_Node->GetAttribute(Corner == MAX_CORNER ? "MinCorner" : "MaxCorner")->template GetValue<CVector>();
    const CVector middle = (own + other) * 0.5f;
    m_GfxObj->SetPos(Axis == BOUNDARY_Y ? CVector(middle.x, own.y, middle.z) : CVector(own.x, middle.y, middle.z));
}

template <EBoundaryAxis Axis, EBoundaryCorner Corner>
CBoundaryMarkerTmpl<Axis, Corner>::~CBoundaryMarkerTmpl() = default;

template <EBoundaryAxis Axis, EBoundaryCorner Corner>
void CBoundaryMarkerTmpl<Axis, Corner>::Select()
{
    const char* name = Corner == MAX_CORNER ? (Axis == BOUNDARY_Y ? "Max Y Boundary" : "Max X Boundary")
                               : (Axis == BOUNDARY_Y ? "Min Y Boundary" : "Min X Boundary");
    ShowLine(2, std::string(name) + ". Pos=" + PositionText(), false);
    ShowLine(0, "Move to change the boundaries, which limit the movement of the jumper.", true);
}

template <EBoundaryAxis Axis, EBoundaryCorner Corner>
void CBoundaryMarkerTmpl<Axis, Corner>::SaveToScene()
{
    const xml::CNodePtr corner = m_Node->GetAttribute(OwnCorner());
    CVector value = corner->template GetValue<CVector>();
    const CVector position = m_GfxObj->GetPos();
    if (Axis == BOUNDARY_Y)
        value.y = position.y;
    else
        value.x = position.x;
    corner->SetValue(value);
}

template class CBoundaryMarkerTmpl<BOUNDARY_X, MIN_CORNER>;
template class CBoundaryMarkerTmpl<BOUNDARY_Y, MIN_CORNER>;
template class CBoundaryMarkerTmpl<BOUNDARY_X, MAX_CORNER>;
template class CBoundaryMarkerTmpl<BOUNDARY_Y, MAX_CORNER>;

} // namespace DovuvUvozeVozediza
} // namespace sds
