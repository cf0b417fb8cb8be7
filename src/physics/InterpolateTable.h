#pragma once

#include <map>

namespace sds {

// 0 for an empty table; the first value at or below the first key, the last
// value above the last key; in between the straight line through the two
// neighbouring entries.
float InterpolateTable(float x, const std::map<float, float>& table);

} // namespace sds
