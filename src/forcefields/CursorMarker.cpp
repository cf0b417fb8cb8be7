#include "forcefields/CursorMarker.h"

#include "core/Exception.h"
#include "core/UnitConverter.h"
#include "forcefields/ForceFieldMarker.h"
#include "forcefields/ForceFieldScene.h"
#include "forcefields/IEditorDialogs.h"
#include "physics/IWindMgr.h"
#include "physics/IWindRegion.h"

namespace sds {
namespace DovuvUvozeVozediza {

CCursorMarker::CCursorMarker(const xml::CNodePtr& wind, CMarkers* markers, CMarkerPtr* selected,
                             physics::IWindMgr& windMgr, IEditorDialogs& dialogs)
    : CBaseMarker(wind, CreateObject("SimpleSphere"), CVector(4.0f, 4.0f, 0.5f)),
      m_Markers(markers),
      m_Selected(selected),
      m_WindMgr(windMgr),
      m_Dialogs(dialogs)
{
    m_GfxObj->SetMaterial("DovuvUvozeVozediza/Editor/CursorMarker", false);
    m_GfxObj->SetVisible(false);
}

CCursorMarker::~CCursorMarker() = default;

void CCursorMarker::OnUpdate(const CTiming&)
{
    const CVector position = m_GfxObj->GetPos();
    const CVector wind = m_WindMgr.GetWind(position);
    SDS_ASSERT(CUnitConverter::GetSingleton() && "The wind read-out needs the unit converter");
    const CUnitConverter& units = *CUnitConverter::GetSingleton();
    const CUnitConverter::CUnit& speed = units.GetUnit("Speed");
    ShowLine(2,
             "Pos=" + VectorToString(position) + "; Wind=" + units.FormatVector(speed, wind) +
                 "; WindStrength=" + units.FormatValue(speed, wind.Length()),
             true);
}

void CCursorMarker::OnRightClick()
{
    m_NewForceField = AddRegionNode(m_Node, m_GfxObj->GetPos());
    // A field no dialog can confirm would stay in the scene unconfirmed.
    if (!m_Dialogs.ShowCreateDialog(m_NewForceField)) {
        m_Node->RemoveChild(m_NewForceField);
        m_NewForceField.reset();
    }
}

void CCursorMarker::Select()
{
    m_GfxObj->SetVisible(true);
    ShowLine(0, "Right click to show Create dialog.", true);
}

void CCursorMarker::Refresh()
{
    if (!m_NewForceField)
        return;
    const xml::CNodePtr field = m_NewForceField;
    m_NewForceField.reset();
    if (!IsChildOf(*m_Node, field))
        return;

    const std::shared_ptr<physics::IWindRegion> region = m_WindMgr.CreateRegion(field);
    m_WindMgr.GetRegions().push_back(region);
    const CMarkerPtr marker = std::make_shared<CForceFieldMarker>(region, m_Markers, m_Selected, m_WindMgr, m_Dialogs);
    if (*m_Selected)
        (*m_Selected)->Deselect();
    *m_Selected = marker;
    marker->Select();
    m_Markers->push_back(marker);
}

} // namespace DovuvUvozeVozediza
} // namespace sds
