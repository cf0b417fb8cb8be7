#include "mods/ILevelMod.h"

#include "core/ILogMgr.h"

namespace sds {

ILevelMod::ILevelMod(const std::string& name) : m_Name(name)
{
    ILogMgr::GetSingleton()->LogMessage("Using Mod: " + m_Name);
}

ILevelMod::~ILevelMod()
{
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogMessage("Done using Mod: " + m_Name);
}

} // namespace sds
