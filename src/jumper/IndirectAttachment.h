#pragma once

#include "jumper/IAttachmentPoint.h"

namespace sds {

// A point that copies another point's position, without updating it; the
// followed point can be replaced (a riser's end goes from its rest point to a
// hand and back).
class CIndirectAttachment : public IAttachmentPoint
{
public:
    explicit CIndirectAttachment(const CAttachmentPointPtr& target) : m_Target(target) {}
    void Update(const CTiming& timing) override;

    void SetTarget(const CAttachmentPointPtr& target) { m_Target = target; }
    const CAttachmentPointPtr& GetTarget() const { return m_Target; }

private:
    CAttachmentPointPtr m_Target;
};

} // namespace sds
