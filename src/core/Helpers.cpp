#include "core/Helpers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <sstream>

namespace sds {

namespace {

constexpr std::uint32_t kModulus = 2147483647u;
constexpr std::uint32_t kMultiplier = 48271u;

std::uint32_t g_RandomState = 0;
bool g_RandomSeeded = false;
std::uint32_t g_UniqueNameCounter = 0;

template <class T>
std::string StreamText(const T& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

} // namespace

float GetRandomUnit()
{
    if (!g_RandomSeeded) {
        g_RandomState = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::time(nullptr)) % kModulus);
        // 0 is a fixed point of the generator.
        if (g_RandomState == 0)
            g_RandomState = 1;
        g_RandomSeeded = true;
    }
    g_RandomState = static_cast<std::uint32_t>((static_cast<std::uint64_t>(g_RandomState) * kMultiplier) % kModulus);
    // The top few states would round up to 1 as a float.
    const float value = static_cast<float>((g_RandomState - 1) * (1.0 / 2147483648.0));
    return std::min(value, std::nextafter(1.0f, 0.0f));
}

std::string MakeUniqueName(const std::string& prefix)
{
    ++g_UniqueNameCounter;
    return prefix + "_" + std::to_string(g_UniqueNameCounter);
}

std::vector<std::string> SplitAtAnyOf(const std::string& text, const std::string& delimiters)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    std::string::size_type found = text.find_first_of(delimiters, start);
    while (found != std::string::npos) {
        parts.push_back(text.substr(start, found - start));
        start = found + 1;
        found = text.find_first_of(delimiters, start);
    }
    if (start < text.size())
        parts.push_back(text.substr(start));
    return parts;
}

std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter)
{
    std::vector<std::string> parts;
    if (delimiter.empty()) {
        parts.push_back(text);
        return parts;
    }
    std::string::size_type start = 0;
    std::string::size_type found = text.find(delimiter, start);
    while (found != std::string::npos) {
        parts.push_back(text.substr(start, found - start));
        start = found + delimiter.size();
        found = text.find(delimiter, start);
    }
    parts.push_back(text.substr(start));
    return parts;
}

int ReadSeparatedFloats(const std::string& text, float* values, int count)
{
    std::istringstream in(text);
    for (int i = 0; i < count; ++i) {
        char separator = 0;
        if (i > 0 && !(in >> separator))
            return i;
        float value = 0.0f;
        if (!(in >> value))
            return i;
        values[i] = value;
    }
    return count;
}

std::string ToString(float value)
{
    // The text a stream writes at its default precision; the data logger writes
    // thousands of these a second, so without building a stream.
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}
std::string ToString(bool value) { return value ? "1" : "0"; }
std::string ToString(int value) { return StreamText(value); }
std::string ToString(unsigned int value) { return StreamText(value); }
std::string ToString(const char* value) { return value ? std::string(value) : std::string(); }

std::string ToLower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace sds
