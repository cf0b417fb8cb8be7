#include "forcefields/StartingPosMarker.h"

#include "graphics/IGfxMgr.h"

namespace sds {
namespace DovuvUvozeVozediza {

namespace {

const CVector kSize(3.0f, 3.0f, 1.0f);

} // namespace

CStartingPosMarker::CStartingPosMarker(const xml::CNodePtr& jumper)
    : CBaseMarker(jumper, IGfxMgr::GetSingleton()->CreateBox(kSize), kSize)
{
    m_GfxObj->SetMaterial("DovuvUvozeVozediza/Editor/StartingPosition", false);
    m_GfxObj->SetPos(m_Node->GetAttribute("Position")->GetValue<CVector>());
}

CStartingPosMarker::~CStartingPosMarker() = default;

void CStartingPosMarker::Select()
{
    ShowLine(2, "Starting Position. Pos=" + PositionText(), false);
    ShowLine(0, "Move to change the initial position of the jumper.", true);
}

void CStartingPosMarker::SaveToScene()
{
    m_Node->GetAttribute("Position")->SetValue(m_GfxObj->GetPos());
}

} // namespace DovuvUvozeVozediza
} // namespace sds
