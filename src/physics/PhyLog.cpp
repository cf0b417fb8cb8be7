#include "physics/PhyLog.h"

#include <iostream>

#include "core/ILogMgr.h"

namespace physics {

void LogWarning(const std::string& text)
{
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogWarning(text);
    else
        std::cerr << "Warning: " << text << std::endl;
}

void LogMessage(const std::string& text)
{
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogMessage(text);
    else
        std::cout << text << std::endl;
}

} // namespace physics
