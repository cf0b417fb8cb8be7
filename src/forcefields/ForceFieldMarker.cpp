#include "forcefields/ForceFieldMarker.h"

#include <algorithm>

#include "core/Utf8.h"
#include "forcefields/ForceFieldScene.h"
#include "forcefields/IEditorDialogs.h"
#include "forcefields/SizeMarker.h"
#include "physics/IWindMgr.h"
#include "physics/IWindRegion.h"

namespace sds {
namespace DovuvUvozeVozediza {

namespace {

const char* const kRadiusIds[] = {"1", "2", "3"};
const std::size_t kDescriptionCharacters = 100;

xml::CNodePtr RegionNode(const std::shared_ptr<physics::IWindRegion>& region)
{
    return region->GetNode();
}

// The description up to its first full stop or line end, at most 100 characters.
std::string FirstSentence(const std::string& description)
{
    const std::string sentence = description.substr(0, description.find_first_of(".\n"));
    std::size_t end = 0;
    for (std::size_t characters = 0; end < sentence.size() && characters < kDescriptionCharacters; ++characters) {
        const std::size_t length = DecodeUtf8At(sentence, end).second;
        end += length ? length : 1;
    }
    return sentence.substr(0, end);
}

} // namespace

CForceFieldMarker::CForceFieldMarker(const std::shared_ptr<physics::IWindRegion>& region, CMarkers* markers,
                                     CMarkerPtr* selected, physics::IWindMgr& windMgr, IEditorDialogs& dialogs)
    : CBaseMarker(RegionNode(region), CreateObject("SimpleSphere"), CVector(3.0f, 3.0f, 3.0f)),
      m_Region(region),
      m_Markers(markers),
      m_Selected(selected),
      m_WindMgr(windMgr),
      m_Dialogs(dialogs)
{
    const xml::CNodePtr shape = m_Node->GetChild("Shape");
    m_GfxObj->SetMaterial("DovuvUvozeVozediza/Editor/ForceFieldMarker", false);
    m_GfxObj->SetPos(shape->GetAttribute("Position")->GetValue<CVector>());

    for (const char* id : kRadiusIds) {
        const xml::CNodePtr radius = m_Node->GetChildById("Radius", id, ID_NAMES);
        m_Handles.push_back(std::make_shared<CRadiusMarker>(radius->GetAttribute("Position"), radius, id, this));
    }
    m_Handles.push_back(std::make_shared<CSizeMarker>(shape->GetAttribute("Size"), this));
    for (const std::shared_ptr<CRadiusMarker>& handle : m_Handles)
        handle->SetVisible(false);
    m_Markers->insert(m_Markers->end(), m_Handles.begin(), m_Handles.end());
}

CForceFieldMarker::~CForceFieldMarker() = default;

void CForceFieldMarker::OnRightClick()
{
    m_Dialogs.ShowEditDialog(m_Node);
}

void CForceFieldMarker::Select()
{
    ShowLine(2, "Force Field. Pos=" + PositionText(), false);
    for (const std::shared_ptr<CRadiusMarker>& handle : m_Handles)
        handle->SetVisible(true);
    const std::string description = m_Node->HasChild("Description") ? m_Node->GetChild("Description")->GetValue() : "";
    ShowLine(1, FirstSentence(description), false);
    ShowLine(0, "Move to change position. Right click to edit. Use radii to change parameters.", true);
}

void CForceFieldMarker::Deselect()
{
    for (const std::shared_ptr<CRadiusMarker>& handle : m_Handles)
        handle->SetVisible(false);
    ShowLine(1, "", false);
}

void CForceFieldMarker::SaveToScene()
{
    for (const std::shared_ptr<CRadiusMarker>& handle : m_Handles)
        handle->UpdateNode();
    SetShapePosition(m_Node, m_GfxObj->GetPos());
    m_Region->Load(m_Node);
}

void CForceFieldMarker::SetPos(const CVector& pos)
{
    const CVector offset = pos - m_GfxObj->GetPos();
    m_GfxObj->SetPos(pos);
    for (const std::shared_ptr<CRadiusMarker>& handle : m_Handles)
        MoveHandle(handle, offset);
}

void CForceFieldMarker::Refresh()
{
    const xml::CNode* wind = m_Node->GetParent();
    if (wind && IsChildOf(*wind, m_Node)) {
        m_Region->Load(m_Node);
        return;
    }

    // The dialog deleted the field.
    Deselect();
    physics::IWindMgr::CRegions& regions = m_WindMgr.GetRegions();
    const auto found = std::find(regions.begin(), regions.end(), m_Region);
    if (found != regions.end())
        regions.erase(found);
    // The caller holds this marker until the call returns.
    RemoveFromEditor(this);
    for (const std::shared_ptr<CRadiusMarker>& handle : m_Handles)
        RemoveFromEditor(handle.get());
    m_Selected->reset();
}

void CForceFieldMarker::MoveHandle(const std::shared_ptr<CRadiusMarker>& handle, const CVector& offset)
{
    handle->SetPos(handle->GetGfxObj()->GetPos() + offset);
}

void CForceFieldMarker::RemoveFromEditor(const CBaseMarker* marker)
{
    const auto found = std::find_if(m_Markers->begin(), m_Markers->end(),
                                    [marker](const CMarkerPtr& entry) { return entry.get() == marker; });
    if (found != m_Markers->end())
        m_Markers->erase(found);
}

void SetShapePosition(const xml::CNodePtr& field, const CVector& position)
{
    field->GetChild("Shape")->GetAttribute("Position")->SetValue(position);
}

} // namespace DovuvUvozeVozediza
} // namespace sds
