#include "graphics/memory/MemDial.h"

#include "core/Helpers.h"
#include "graphics/memory/MemGfxMgr.h"
#include "graphics/memory/MemOverlayElement.h"

namespace sds {

CMemDial::CMemDial(const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial, const xml::CNodePtr& needle,
                   const CVector& position)
    : m_Target(CRenderTargetDesc::Read(renderTarget)),
      m_Face(CDialPartDesc::Read(dial)),
      m_Needle(CDialPartDesc::Read(needle)),
      m_Position(position),
      m_MaterialName(MakeUniqueName("RttMat"))
{
}

CMemDial::CMemDial(CMemGfxMgr& mgr, const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial)
    : m_Target(CRenderTargetDesc::Read(renderTarget)),
      m_Readout(CDigitalDialDesc::Read(dial)),
      m_Element(mgr.ShareOverlayElement(m_Readout.m_Value)),
      m_Digital(true)
{
    if (!mgr.HasOverlay(m_Readout.m_Overlay))
        throw CDigitalDialDesc::NoOverlay(m_Readout.m_Overlay);
    if (!m_Element)
        throw CDigitalDialDesc::NoElement(m_Readout.m_Value);
    m_MaterialName = MakeUniqueName("RttMat");
}

void CMemDial::SetValue(float degrees)
{
    if (m_Digital)
        return;
    m_Value = degrees;
    m_Values.push_back(degrees);
}

void CMemDial::SetText(const std::string& text)
{
    m_Text = text;
    if (m_Element)
        m_Element->SetCaption(text);
}

} // namespace sds
