#pragma once

#include <memory>
#include <string>

#include "core/Node.h"
#include "core/Timing.h"

namespace sds {

// The judge of a jumper's touch-down, as the jumper sees it.
class ICollisionJudge : public IUpdate
{
public:
    ~ICollisionJudge() override = default;
    // Update keeps the body's velocity now as the velocity before impact.
    // "CollisionInfo" with the landing's "Info" entries.
    virtual xml::CNodePtr GetCollisionInfo() const = 0;
    // The chosen landing's message; empty before touch-down.
    virtual std::string GetMessage() const = 0;
};

typedef std::shared_ptr<ICollisionJudge> CCollisionJudgePtr;

} // namespace sds
