#pragma once

#include <exception>
#include <string>

// The message of what the call throws, or "" when it throws nothing.
template <class TCall>
std::string FailureText(TCall call)
{
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}
