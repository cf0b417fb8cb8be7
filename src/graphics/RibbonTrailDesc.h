#pragma once

#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/Node.h"
#include "core/Quaternion.h"

namespace sds {

// One chain of a ribbon trail as its "Chain" element sets it.
struct CRibbonTrailChainDesc
{
    unsigned m_Index = 0;
    CFourFloats m_InitialColour;
    CFourFloats m_ColourChange;
    float m_InitialWidth = 0.0f;
    float m_WidthChange = 0.0f;
};

// A ribbon trail's configuration: attributes with defaults, and "Chain"
// children whose "Index", "InitialColor", "ColorChange", "InitialWidth" and
// "WidthChange" are required.
struct CRibbonTrailDesc
{
    // Counts beyond these would only ask the engine for absurd allocations.
    static const int kMaxChains = 256;
    static const int kMaxElements = 4096;

    // Counts out of range and chain indices beyond "NumberOfChains" throw,
    // naming the element.
    static CRibbonTrailDesc Read(const xml::CNodePtr& config);
    // The failure of trailing an object that has no scene node of its own.
    static CException NoNode(const std::string& objectName)
    {
        return CException("A ribbon trail needs a scene node, and the object '" + objectName + "' has none");
    }
    // The failure of a chain index beyond the trail's chains.
    static CException NoChain(unsigned chain, std::size_t chains)
    {
        return CException("The ribbon trail has no chain " + std::to_string(chain) + ", only " +
                          std::to_string(chains));
    }

    int m_HeadHeight = 1;
    int m_HeadWidth = 1;
    // Empty: no billboard at the head.
    std::string m_HeadMaterial;
    int m_TrailLength = 400;
    std::string m_Material = "LightRibbonTrail";
    bool m_UseColours = true;
    bool m_UseTextureCoords = true;
    int m_NumberOfChains = 1;
    int m_MaxElements = 20;
    // In document order.
    std::vector<CRibbonTrailChainDesc> m_Chains;
};

} // namespace sds
