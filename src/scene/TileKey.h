#pragma once

#include <cstdint>
#include <string>
#include <tuple>

namespace sds {

// The grid index of a terrain tile or a page of surface objects: the pager's
// page x and z.
struct CTileKey
{
    std::int32_t x = 0;
    std::int32_t z = 0;

    bool operator<(const CTileKey& o) const { return std::tie(x, z) < std::tie(o.x, o.z); }
    bool operator==(const CTileKey& o) const { return x == o.x && z == o.z; }
};

// A tile name "X.Z" of two whole numbers ("-1.0" is fine). Any other text
// throws the standard exception "xz.size() == 2 && \"name should have format X.Z\"".
CTileKey ParseTileName(const std::string& name);

// "X.Z".
std::string TileName(const CTileKey& key);

} // namespace sds
