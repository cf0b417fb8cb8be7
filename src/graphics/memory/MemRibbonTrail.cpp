#include "graphics/memory/MemRibbonTrail.h"

#include <algorithm>

#include "graphics/memory/MemGfxObj.h"

namespace sds {

namespace {

// The name of the object's own registered node, as the real trail requires one.
std::string NodeNameOf(const CGfxObjPtr& object)
{
    const CMemGfxObj* memObject = static_cast<const CMemGfxObj*>(object.get());
    if (!memObject || !memObject->GetNode() || !memObject->HasOwnNode())
        throw CRibbonTrailDesc::NoNode(object ? object->GetName() : std::string());
    return memObject->GetName();
}

CFourFloats Scaled(const CFourFloats& colour, float factor)
{
    CFourFloats scaled;
    for (int i = 0; i < 4; ++i)
        scaled.v[i] = colour.v[i] * factor;
    return scaled;
}

} // namespace

CMemRibbonTrail::CMemRibbonTrail(const CGfxObjPtr& anchor, const CRibbonTrailDesc& desc)
    : m_Desc(desc), m_AnchorName(NodeNameOf(anchor)), m_Chains(static_cast<std::size_t>(desc.m_NumberOfChains))
{
    for (CChain& chain : m_Chains) {
        for (float& component : chain.m_InitialColour.v)
            component = 1.0f;
        chain.m_HeadColour = chain.m_InitialColour;
        for (float& component : chain.m_ColourChange.v)
            component = 0.0f;
    }
    for (const CRibbonTrailChainDesc& chain : desc.m_Chains)
        SetInitialColour(chain.m_Index, chain.m_InitialColour);
    for (const CRibbonTrailChainDesc& chain : desc.m_Chains)
        SetColourChange(chain.m_Index, chain.m_ColourChange);
    for (const CRibbonTrailChainDesc& chain : desc.m_Chains)
        SetInitialWidth(chain.m_Index, chain.m_InitialWidth);
    for (const CRibbonTrailChainDesc& chain : desc.m_Chains)
        SetWidthChange(chain.m_Index, chain.m_WidthChange);
}

CMemRibbonTrail::CChain& CMemRibbonTrail::Chain(unsigned chain)
{
    if (chain >= m_Chains.size())
        throw CRibbonTrailDesc::NoChain(chain, m_Chains.size());
    return m_Chains[chain];
}

void CMemRibbonTrail::AddObject(const CGfxObjPtr& object)
{
    const std::string name = NodeNameOf(object);
    if (m_Trailed.size() == m_Chains.size())
        throw CException("The ribbon trail follows " + std::to_string(m_Chains.size()) + " objects already");
    m_Trailed.push_back(name);
    if (!m_HasHead && !m_Desc.m_HeadMaterial.empty()) {
        m_HasHead = true;
        m_HeadColour = m_Chains[0].m_InitialColour;
    }
    if (m_HeadOn.empty())
        m_HeadOn = name;
}

void CMemRibbonTrail::RemoveObject(const CGfxObjPtr& object)
{
    const std::string name = NodeNameOf(object);
    m_Trailed.erase(std::remove(m_Trailed.begin(), m_Trailed.end(), name), m_Trailed.end());
    if (m_HeadOn == name) {
        m_HeadOn.clear();
        m_HasHead = false;
    }
}

void CMemRibbonTrail::SetIntensity(float factor)
{
    factor = std::clamp(factor, 0.0f, 1.0f);
    for (CChain& chain : m_Chains)
        chain.m_HeadColour = Scaled(chain.m_InitialColour, factor);
    if (m_HasHead)
        m_HeadColour = Scaled(m_Chains[0].m_InitialColour, factor);
}

void CMemRibbonTrail::SetInitialColour(unsigned chain, const CFourFloats& colour)
{
    Chain(chain).m_InitialColour = colour;
    Chain(chain).m_HeadColour = colour;
}

void CMemRibbonTrail::SetColourChange(unsigned chain, const CFourFloats& change)
{
    Chain(chain).m_ColourChange = change;
}

void CMemRibbonTrail::SetInitialWidth(unsigned chain, float width)
{
    Chain(chain).m_InitialWidth = width;
}

void CMemRibbonTrail::SetWidthChange(unsigned chain, float change)
{
    Chain(chain).m_WidthChange = change;
}

} // namespace sds
