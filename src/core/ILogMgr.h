#pragma once

#include <string>

#include "core/SingletonTmpl.h"

namespace sds {

// The one log service. Callers reach it through GetSingleton(); it exists from
// just after the command line is parsed to the end of the program entry.
class ILogMgr : public CSingletonTmpl<ILogMgr>
{
public:
    ~ILogMgr() override = default;
    virtual void LogMessage(const std::string& text) = 0;
    // LogMessage of "Error: " and the text.
    virtual void LogError(const std::string& text) = 0;
    // LogMessage of "Warning: " and the text.
    virtual void LogWarning(const std::string& text) = 0;
};

} // namespace sds
