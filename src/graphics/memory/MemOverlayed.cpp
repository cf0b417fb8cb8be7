#include "graphics/memory/MemOverlayed.h"

#include "core/Exception.h"
#include "graphics/memory/MemGfxMgr.h"
#include "graphics/memory/MemOverlayElement.h"

namespace sds {

CMemOverlayed::CMemOverlayed(CMemGfxMgr& mgr, const std::string& name) : m_Mgr(mgr), m_Name(name)
{
    SetVisible(true);
}

CMemOverlayed::~CMemOverlayed()
{
    SetVisible(false);
}

IOverlayElement* CMemOverlayed::GetElement(const std::string& name)
{
    CMemOverlayElement* element = m_Mgr.FindOverlayElement(name);
    if (!element)
        throw CException("Cannot find overlay element " + name);
    return element;
}

void CMemOverlayed::SetVisible(bool visible)
{
    m_Mgr.SetOverlayVisible(m_Name, visible);
}

bool CMemOverlayed::IsVisible() const
{
    return m_Mgr.IsOverlayVisible(m_Name);
}

} // namespace sds
