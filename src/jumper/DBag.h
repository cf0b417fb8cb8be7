#pragma once

#include "jumper/AnimationBlender.h"
#include "jumper/IDBag.h"

namespace sds {

// The deployment bag built from the container model's "DBag" element: the
// mesh of its "Mesh" child, the records "Opening" and "Collapsing" of its
// "Animation" child and that child's "AnimationBlending" (seconds) for the
// cross-fade between them.
class CDBag : public IDBag
{
public:
    // Throws the XML layer's exceptions for a missing "Mesh", record or
    // "AnimationBlending", and for an empty "AnimationBlending".
    CDBag(const xml::CNodePtr& element, const CGfxObjPtr& parent);
    ~CDBag() override;

    // "Opening" runs by itself.
    void Open() override;
    // "Collapsing" runs, and takes over from "Opening" by a cross-fade that
    // Update advances.
    void Collapse() override;
    xml::CNodePtr GetConfig() const override { return m_Config; }
    // The graphic object's update, then the cross-fade's.
    void Update(const CTiming& timing) override;

    const CAnimationPtr& GetOpeningAnimation() const { return m_Opening; }
    const CAnimationPtr& GetCollapsingAnimation() const { return m_Collapsing; }
    const CAnimationBlender& GetBlender() const { return m_Blend; }

private:
    CAnimationPtr m_Opening;
    CAnimationPtr m_Collapsing;
    CAnimationBlender m_Blend;
    xml::CNodePtr m_Config;
};

} // namespace sds
