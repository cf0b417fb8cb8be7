#include "graphics/RibbonTrailDesc.h"

#include <limits>

#include "graphics/GfxConfig.h"

namespace sds {

CRibbonTrailDesc CRibbonTrailDesc::Read(const xml::CNodePtr& config)
{
    const int kAny = std::numeric_limits<int>::max();
    CRibbonTrailDesc desc;
    desc.m_HeadHeight = ReadIntInRange(config, "HeadHeight", desc.m_HeadHeight, 0, kAny);
    desc.m_HeadWidth = ReadIntInRange(config, "HeadWidth", desc.m_HeadWidth, 0, kAny);
    desc.m_HeadMaterial = config->GetAttribute("HeadMaterial", desc.m_HeadMaterial.c_str());
    desc.m_TrailLength = ReadIntInRange(config, "TrailLength", desc.m_TrailLength, 1, kAny);
    desc.m_Material = config->GetAttribute("Material", desc.m_Material.c_str());
    desc.m_UseColours = config->GetAttribute("UseColours", desc.m_UseColours);
    desc.m_UseTextureCoords = config->GetAttribute("UseTextureCoords", desc.m_UseTextureCoords);
    desc.m_NumberOfChains = ReadIntInRange(config, "NumberOfChains", desc.m_NumberOfChains, 1, kMaxChains);
    desc.m_MaxElements = ReadIntInRange(config, "MaxElements", desc.m_MaxElements, 1, kMaxElements);
    xml::ForEachChild(*config, "Chain", [&](const xml::CNodePtr& element) {
        CRibbonTrailChainDesc chain;
        chain.m_Index = static_cast<unsigned>(ReadIntInRange(element, "Index", 0, desc.m_NumberOfChains - 1));
        chain.m_InitialColour = ReadColour(element, "InitialColor");
        chain.m_ColourChange = ReadColour(element, "ColorChange");
        chain.m_InitialWidth = element->GetAttribute("InitialWidth")->GetValue<float>();
        chain.m_WidthChange = element->GetAttribute("WidthChange")->GetValue<float>();
        desc.m_Chains.push_back(chain);
    });
    return desc;
}

} // namespace sds
