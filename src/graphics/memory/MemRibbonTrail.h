#pragma once

#include <string>
#include <vector>

#include "graphics/IRibbonTrail.h"
#include "graphics/RibbonTrailDesc.h"

namespace sds {

// A ribbon trail of the in-memory graphics: it reads the keys the real trail
// reads, fails where it fails, and records its chains and the objects it trails.
class CMemRibbonTrail : public IRibbonTrail
{
public:
    struct CChain
    {
        CFourFloats m_InitialColour;
        CFourFloats m_ColourChange;
        float m_InitialWidth = 5.0f;
        float m_WidthChange = 0.0f;
        // The colour its head shows, dimmed by SetIntensity.
        CFourFloats m_HeadColour;
    };

    // An anchor without a scene node of its own throws, naming it.
    CMemRibbonTrail(const CGfxObjPtr& anchor, const CRibbonTrailDesc& desc);

    void AddObject(const CGfxObjPtr& object) override;
    void RemoveObject(const CGfxObjPtr& object) override;
    CFourFloats GetInitialColour() const override { return m_Chains[0].m_InitialColour; }
    void SetIntensity(float factor) override;
    void SetInitialColour(unsigned chain, const CFourFloats& colour) override;
    void SetColourChange(unsigned chain, const CFourFloats& change) override;
    void SetInitialWidth(unsigned chain, float width) override;
    void SetWidthChange(unsigned chain, float change) override;

    CRibbonTrailDesc m_Desc;
    std::string m_AnchorName;
    std::vector<CChain> m_Chains;
    // The names of the trailed objects, in the order added.
    std::vector<std::string> m_Trailed;
    // Whether the head billboard exists, its colour, and whom it marks.
    bool m_HasHead = false;
    CFourFloats m_HeadColour;
    std::string m_HeadOn;

private:
    CChain& Chain(unsigned chain);
};

} // namespace sds
