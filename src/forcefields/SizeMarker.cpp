#include "forcefields/SizeMarker.h"

#include <cmath>

#include "forcefields/ForceFieldMarker.h"
#include "graphics/IGfxMgr.h"

namespace sds {
namespace DovuvUvozeVozediza {

namespace {

// The area is drawn this deep, and written into the scene this deep.
const float kDrawnDepth = 0.5f;
const float kWrittenDepth = 20.0f;

xml::CNodePtr HelpNode()
{
    const xml::CNodePtr help(new xml::CNode("HelpStr", false));
    help->SetValue("Area of the force field");
    return help;
}

} // namespace

CSizeMarker::CSizeMarker(const xml::CNodePtr& size, CForceFieldMarker* owner)
    : CRadiusMarker(size, HelpNode(), "Size", owner),
      m_AreaObj(IGfxMgr::GetSingleton()->CreateBox(CVector(1.0f, 1.0f, 1.0f))),
      m_AreaMaterial("DovuvUvozeVozediza/Editor/FFArea"),
      m_AreaSelectedMaterial("DovuvUvozeVozediza/Editor/FFAreaSelected")
{
    CVector half = size->GetValue<CVector>() * 0.5f;
    half.z = 0.0f;
    m_GfxObj->SetPos(m_Owner->GetGfxObj()->GetPos() + half);
    m_AreaObj->SetMaterial(m_AreaMaterial, false);
    UpdateNode();
}

CSizeMarker::~CSizeMarker() = default;

void CSizeMarker::Select()
{
    CRadiusMarker::Select();
    m_AreaObj->SetMaterial(m_AreaSelectedMaterial, false);
}

void CSizeMarker::Deselect()
{
    CRadiusMarker::Deselect();
    m_AreaObj->SetMaterial(m_AreaMaterial, false);
}

void CSizeMarker::SetPos(const CVector& pos)
{
    CRadiusMarker::SetPos(pos);
    UpdateNode();
}

void CSizeMarker::UpdateNode()
{
    const CVector centre = m_Owner->GetGfxObj()->GetPos();
    const CVector fromHandle = centre - m_GfxObj->GetPos();
    const float width = std::fabs(2.0f * fromHandle.x);
    const float height = std::fabs(2.0f * fromHandle.y);
    m_AreaObj->SetScale(CVector(width, height, kDrawnDepth));
    m_AreaObj->SetPos(centre);
    m_Node->SetValue(CVector(width, height, kWrittenDepth));
}

} // namespace DovuvUvozeVozediza
} // namespace sds
