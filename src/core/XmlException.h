#pragma once

#include <stdexcept>
#include <string>

namespace xml {

// Base failure of the XML layer.
class CException : public std::runtime_error
{
public:
    explicit CException(const std::string& message) : std::runtime_error(message) {}
};

// A missing child, attribute or identified child; an empty node name; removal
// of a node that is not a child.
class CNoNodeException : public CException
{
public:
    explicit CNoNodeException(const std::string& message) : CException(message) {}
};

// A typed read of an empty value.
class CBadValueException : public CException
{
public:
    explicit CBadValueException(const std::string& message) : CException(message) {}
};

} // namespace xml
