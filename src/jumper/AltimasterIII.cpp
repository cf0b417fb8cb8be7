#include "jumper/AltimasterIII.h"

namespace sds {

void CAltimasterIII::Update(const CTiming&)
{
    Dial().SetValue(GetNeedleAngle());
}

float CAltimasterIII::GetNeedleAngle() const
{
    const float span = GetSpan();
    // A face without a scale has nowhere to point: the needle rests.
    if (span == 0.0f)
        return 0.0f;
    return -(GetAltitude() * 360.0f / span);
}

} // namespace sds
