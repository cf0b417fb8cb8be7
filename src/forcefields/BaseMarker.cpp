#include "forcefields/BaseMarker.h"

#include "core/Exception.h"
#include "core/services/IConsole.h"
#include "graphics/IGfxMgr.h"

namespace sds {
namespace DovuvUvozeVozediza {

CBaseMarker::CBaseMarker(const xml::CNodePtr& node, const CGfxObjPtr& gfxObj, const CVector& baseScale)
    : m_Node(node), m_GfxObj(gfxObj), m_BaseScale(baseScale)
{
    SDS_ASSERT(m_GfxObj && "A marker needs a graphic object");
    m_GfxObj->SetScale(m_BaseScale);
}

CBaseMarker::~CBaseMarker() = default;

void CBaseMarker::SetPos(const CVector& pos)
{
    m_GfxObj->SetPos(pos);
}

void CBaseMarker::SetScale(float cameraDistance)
{
    if (cameraDistance > 1.0f)
        m_GfxObj->SetScale(m_BaseScale * cameraDistance * 0.01f);
    else
        m_GfxObj->SetScale(m_BaseScale);
}

void CBaseMarker::SetVisible(bool visible)
{
    m_GfxObj->SetVisible(visible);
}

CGfxObjPtr CBaseMarker::CreateObject(const std::string& mesh)
{
    return IGfxMgr::GetSingleton()->CreateObject(mesh, CGfxObjPtr());
}

void CBaseMarker::ShowLine(unsigned line, const std::string& text, bool redraw)
{
    IConsole* console = IConsole::GetSingleton();
    SDS_ASSERT(console && "The editor's markers need the console");
    console->SetFixedLine(line, text, redraw);
}

std::string CBaseMarker::PositionText() const
{
    return VectorToString(m_GfxObj->GetPos());
}

bool HasGfxObj(const CMarkerPtr& marker, const CGfxObjPtr& gfxObj)
{
    return marker && marker->GetGfxObj() == gfxObj;
}

} // namespace DovuvUvozeVozediza
} // namespace sds
