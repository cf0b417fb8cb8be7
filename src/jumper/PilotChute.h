#pragma once

#include "jumper/IPilotChute.h"

namespace sds {

// The pilot chute built from its model element: the mesh of "Mesh" and the
// "Inflating" record of "Animation".
class CPilotChute : public IPilotChute
{
public:
    // Throws the XML layer's exceptions for a missing "Mesh", "Animation" or record.
    CPilotChute(const xml::CNodePtr& model, const CGfxObjPtr& parent);
    ~CPilotChute() override;

    void StopInflating() override;
    void ReverseInflating() override;
    xml::CNodePtr GetConfig() const override { return m_Config; }
    const CAnimationPtr& GetInflatingAnimation() const { return m_Inflating; }

private:
    CAnimationPtr m_Inflating;
    xml::CNodePtr m_Config;
};

} // namespace sds
