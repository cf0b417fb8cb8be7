#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Node.h"
#include "graphics/DialDesc.h"
#include "graphics/IDial.h"

namespace sds {

class CMemGfxMgr;
class CMemOverlayElement;

// A dial of the in-memory graphics: it reads the keys the real dials read,
// fails where they fail, and records what it is told. The digital kind writes
// its text into the read-out element, as the real one does.
class CMemDial : public IDial
{
public:
    // An analog dial at the position (its scene stands there).
    CMemDial(const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial, const xml::CNodePtr& needle,
             const CVector& position);
    // A digital dial; its overlay and element must be defined in the manager.
    CMemDial(CMemGfxMgr& mgr, const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial);

    std::string GetMaterialName() const override { return m_MaterialName; }
    void SetValue(float degrees) override;
    void SetText(const std::string& text) override;

    bool IsDigital() const { return m_Digital; }

    CRenderTargetDesc m_Target;
    CDialPartDesc m_Face;
    CDialPartDesc m_Needle;
    CDigitalDialDesc m_Readout;
    CVector m_Position;
    std::string m_MaterialName;
    // The needle's angle (the digital dial keeps 0) and every SetValue, in order.
    float m_Value = 0.0f;
    std::vector<float> m_Values;
    std::string m_Text;

private:
    // The read-out element, shared with the manager so that the dial may outlive it.
    std::shared_ptr<CMemOverlayElement> m_Element;
    bool m_Digital = false;
};

} // namespace sds
