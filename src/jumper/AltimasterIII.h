#pragma once

#include "jumper/Altimeter.h"

namespace sds {

// The analog altimeter: a needle that turns once per MaxAltitude −
// MinAltitude metres, clockwise as the jumper climbs.
class CAltimasterIII : public CAltimeter
{
public:
    using CAltimeter::CAltimeter;

    void Update(const CTiming& timing) override;
    // Degrees for the dial: −altitude × 360 / span, 0 for a span of 0.
    float GetNeedleAngle() const;
};

} // namespace sds
