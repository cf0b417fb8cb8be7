#include "forcefields/TargetMarker.h"

#include "forcefields/IEditorSimObj.h"

namespace sds {
namespace DovuvUvozeVozediza {

namespace {

CGfxObjPtr GfxObjOf(const std::shared_ptr<IEditorSimObj>& simObj)
{
    return simObj ? simObj->GetGfxObj() : CGfxObjPtr();
}

// The object keeps its own scale, which a level may have set.
CVector ScaleOf(const CGfxObjPtr& gfxObj)
{
    return gfxObj ? gfxObj->GetScale() : CVector::UNIT_SCALE;
}

} // namespace

CTargetMarker::CTargetMarker(const xml::CNodePtr& target, const std::shared_ptr<IEditorSimObj>& simObj)
    : CBaseMarker(target, GfxObjOf(simObj), ScaleOf(GfxObjOf(simObj))), m_SimObj(simObj)
{
}

CTargetMarker::~CTargetMarker() = default;

void CTargetMarker::Select()
{
    ShowLine(2, "Target. Pos=" + PositionText(), false);
    m_SimObj->SetGfxDriven(true);
    ShowLine(0, "Move to change the target position.", true);
}

void CTargetMarker::Deselect()
{
    m_SimObj->SetGfxDriven(false);
}

void CTargetMarker::SaveToScene()
{
    m_Node->GetAttribute("Position")->SetValue(m_GfxObj->GetPos());
}

} // namespace DovuvUvozeVozediza
} // namespace sds
