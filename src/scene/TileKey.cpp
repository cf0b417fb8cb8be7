#include "scene/TileKey.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "core/Helpers.h"

namespace sds {

namespace {

const char* const kTileNameFormat = "xz.size() == 2 && \"name should have format X.Z\"";

// A whole number: an optional sign and decimal digits, nothing else, within 32 bits.
bool ReadWholeNumber(const std::string& text, std::int32_t& value)
{
    const size_t digits = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (text.size() == digits || text.find_first_not_of("0123456789", digits) != std::string::npos)
        return false;
    errno = 0;
    const long long read = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || read < std::numeric_limits<std::int32_t>::min() ||
        read > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(read);
    return true;
}

} // namespace

CTileKey ParseTileName(const std::string& name)
{
    const std::vector<std::string> xz = SplitAtAnyOf(name, ".");
    CTileKey key;
    if (xz.size() != 2 || !ReadWholeNumber(xz[0], key.x) || !ReadWholeNumber(xz[1], key.z))
        throw std::runtime_error(kTileNameFormat);
    return key;
}

std::string TileName(const CTileKey& key)
{
    return ToString(key.x) + "." + ToString(key.z);
}

} // namespace sds
