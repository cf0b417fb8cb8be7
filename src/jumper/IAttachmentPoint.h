#pragma once

#include <memory>

#include "core/Timing.h"
#include "core/Vector.h"

namespace sds {

// A point in the world that follows something else, recomputed by Update.
// Followers read m_Pos directly after the point's Update, so owners update
// followed points before their followers.
class IAttachmentPoint : public IUpdate
{
public:
    ~IAttachmentPoint() override = default;

    // The world position after the last Update; zero before the first.
    CVector m_Pos;
};

typedef std::shared_ptr<IAttachmentPoint> CAttachmentPointPtr;

} // namespace sds
