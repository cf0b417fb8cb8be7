#pragma once

#include <string>

#include "jumper/JumperLinks.h"

namespace sds {

// The judge of a jumper whose edition has no judge yet: it records nothing
// and never ends the flight.
class CNeverJudge : public ICollisionJudge
{
public:
    void Update(const CTiming&) override {}
    xml::CNodePtr GetCollisionInfo() const override;
    std::string GetMessage() const override { return std::string(); }

    // The judge factory of a jumper without one: this judge for every edition.
    static CCollisionJudgePtr Create(CJumper& jumper, const xml::CNodePtr& collision, const std::string& edition);
};

} // namespace sds
