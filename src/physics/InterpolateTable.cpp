#include "physics/InterpolateTable.h"

#include <iterator>

namespace sds {

float InterpolateTable(float x, const std::map<float, float>& table)
{
    if (table.empty())
        return 0.0f;
    if (x <= table.begin()->first)
        return table.begin()->second;
    const auto upper = table.upper_bound(x);
    if (upper == table.end())
        return table.rbegin()->second;
    const auto lower = std::prev(upper);
    const float x0 = lower->first, y0 = lower->second;
    const float x1 = upper->first, y1 = upper->second;
    return y0 - (x0 - x) / (x0 - x1) * (y0 - y1);
}

} // namespace sds
