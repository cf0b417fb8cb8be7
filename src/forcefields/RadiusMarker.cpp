#include "forcefields/RadiusMarker.h"

#include "forcefields/ForceFieldMarker.h"

namespace sds {
namespace DovuvUvozeVozediza {

CRadiusMarker::CRadiusMarker(const xml::CNodePtr& position, const xml::CNodePtr& help, const std::string& id,
                             CForceFieldMarker* owner)
    : CBaseMarker(position, CreateObject("SimpleSphere"), CVector(2.5f, 2.5f, 2.5f)),
      m_Id(id),
      m_HelpNode(help),
      m_Owner(owner)
{
    m_GfxObj->SetMaterial("DovuvUvozeVozediza/Editor/RadiusHandleBar/" + m_Id, false);
    m_GfxObj->SetPos(position->GetValue<CVector>());
}

CRadiusMarker::~CRadiusMarker() = default;

void CRadiusMarker::Select()
{
    // The field's description and the other handles stay in view.
    m_Owner->Select();
    ShowLine(2, "Radius" + m_Id + ". Pos=" + PositionText(), false);
    ShowLine(0, m_HelpNode->GetValue(), true);
}

void CRadiusMarker::Deselect()
{
    m_Owner->Deselect();
}

void CRadiusMarker::SaveToScene()
{
    UpdateNode();
    m_Owner->SaveToScene();
}

void CRadiusMarker::UpdateNode()
{
    m_Node->SetValue(m_GfxObj->GetPos());
}

} // namespace DovuvUvozeVozediza
} // namespace sds
