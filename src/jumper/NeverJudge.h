#pragma once

#include "jumper/ICollisionJudge.h"

namespace sds {

// The judge of a jumper whose edition has no judge: it records an unfinished
// jump and never ends the flight.
class CNeverJudge : public ICollisionJudge
{
public:
    void Update(const CTiming&) override {}
    void OnCollision(const physics::IPhyCollisionEvent&) override {}
    xml::CNodePtr GetCollisionInfo() override { return MakeUnfinishedInfo(); }
};

} // namespace sds
