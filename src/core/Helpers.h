#pragma once

#include <string>
#include <vector>

namespace sds {

// Uniform float in [0,1) from the minimal-standard generator (48271 mod 2^31-1),
// seeded once from the calendar time.
float GetRandomUnit();

// prefix + "_" + a process-wide counter (the first name of a run ends in "_1").
std::string MakeUniqueName(const std::string& prefix);

// Splits at any of the delimiter characters. Parts between two delimiters are
// kept even when empty; an empty rest after the last delimiter is dropped.
std::vector<std::string> SplitAtAnyOf(const std::string& text, const std::string& delimiters);

// Splits at every occurrence of the whole delimiter text, keeping empty parts.
std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter);

// Reads up to `count` numbers separated by any one non-blank character into
// `values`, leaving what is not read untouched. Returns how many were read.
int ReadSeparatedFloats(const std::string& text, float* values, int count);

// Text forms through a standard output stream: six significant digits for a
// float, "1" or "0" for a bool.
std::string ToString(float value);
std::string ToString(bool value);
std::string ToString(int value);
std::string ToString(unsigned int value);
std::string ToString(const char* value);

// Lower-case copy of an ASCII text.
std::string ToLower(std::string text);

} // namespace sds
