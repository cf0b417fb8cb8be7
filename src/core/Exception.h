#pragma once

#include <stdexcept>
#include <string>

namespace sds {

// The program's own failure with a message text.
class CException : public std::runtime_error
{
public:
    explicit CException(const std::string& message) : std::runtime_error(message) {}
};

} // namespace sds

// Throws a standard exception whose text is the failed condition, the form the
// program uses for programming errors ("m_DZ && \"No DZ is provided\"").
#define SDS_ASSERT(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            throw std::runtime_error(#condition);                                                  \
    } while (false)
