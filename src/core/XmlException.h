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

// A document that could not be read: what() is "Could not load <name>", the
// reason says why in a user's words ("line 3, char 7: expected end of tag 'a'").
class CLoadException : public std::runtime_error
{
public:
    CLoadException(const std::string& message, const std::string& reason)
        : std::runtime_error(message), m_Reason(reason)
    {
    }
    const std::string& GetReason() const { return m_Reason; }

private:
    std::string m_Reason;
};

} // namespace xml
