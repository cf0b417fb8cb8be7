#pragma once

#include <iostream>
#include <string>

#include "core/ILogMgr.h"
#include "core/Timing.h"

namespace sds {

// A loader of one part of a level (graphics, physics, level objects), updated
// once a frame while the level is loaded and restarted before each jump.
class ILevelResourceLoader : public IUpdate
{
public:
    explicit ILevelResourceLoader(const std::string& name) : m_Name(name) { Log("Resource loader: " + m_Name); }
    ~ILevelResourceLoader() override { Log("Resource unloaded: " + m_Name); }
    ILevelResourceLoader(const ILevelResourceLoader&) = delete;
    ILevelResourceLoader& operator=(const ILevelResourceLoader&) = delete;

    // Prepare for a new jump.
    virtual void Restart() = 0;
    const std::string& GetName() const { return m_Name; }

private:
    static void Log(const std::string& text)
    {
        if (ILogMgr* log = ILogMgr::GetSingleton())
            log->LogMessage(text);
        else
            std::cerr << text << std::endl;
    }

    std::string m_Name;
};

} // namespace sds
