#pragma once

#include <memory>

#include "core/Node.h"
#include "graphics/IEntity.h"
#include "jumper/VisObj.h"

namespace sds {

// The main canopy as the rig and the jumper's states see it: its animations
// (the turn animations' positions are the pulls the flight model gets) and its
// model element from the equipment file.
class ICanopy : public CVisObj
{
public:
    ~ICanopy() override = default;
    virtual CAnimationPtr GetExtractionAnimation() const = 0;
    virtual CAnimationPtr GetInflatingAnimation() const = 0;
    virtual CAnimationPtr GetFullFlightAnimation() const = 0;
    virtual CAnimationPtr GetRightToggleTurnAnimation() const = 0;
    virtual CAnimationPtr GetLeftToggleTurnAnimation() const = 0;
    virtual CAnimationPtr GetRightFrontRiserTurnAnimation() const = 0;
    virtual CAnimationPtr GetLeftFrontRiserTurnAnimation() const = 0;
    virtual CAnimationPtr GetRightRearRiserTurnAnimation() const = 0;
    virtual CAnimationPtr GetLeftRearRiserTurnAnimation() const = 0;
    // The inflation runs by itself from now on.
    virtual void StartInflating() = 0;
    // Extraction and inflation off, full flight running and looping, the six
    // turns enabled, both toggle turns at half way.
    virtual void StartFullFlight() = 0;
    // The "Canopy" model element.
    virtual xml::CNodePtr GetConfig() const = 0;
};

typedef std::shared_ptr<ICanopy> CCanopyPtr;

} // namespace sds
