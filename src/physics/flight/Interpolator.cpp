#include "physics/flight/Interpolator.h"

#include "physics/InterpolateTable.h"

namespace sds {

float CInterpolator::GetValue(float x)
{
    m_LastValue = InterpolateTable(x, m_Table);
    return m_LastValue;
}

} // namespace sds
