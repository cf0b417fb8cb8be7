#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include <OgreLog.h>

#include "core/ILogMgr.h"

namespace Ogre {
class LogManager;
}

namespace wrappers {

// The log service over the rendering engine's log manager, so that the engine's
// own messages land in the same file. Every line reads
// "HH:MM:SS:<frame> <text>" (local time; the frame count is raised by the frame
// listener at the start of every frame) and is flushed at once. While it lives
// it also takes the XML layer's message and error channels.
class COgreLogMgr : public sds::ILogMgr, public Ogre::LogListener
{
public:
    // Throws std::runtime_error "Could not open log file: '<file>'".
    explicit COgreLogMgr(const std::string& fileName);
    ~COgreLogMgr() override;

    void LogMessage(const std::string& text) override;
    void LogError(const std::string& text) override;
    void LogWarning(const std::string& text) override;

    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel level, bool maskDebug,
                       const Ogre::String& logName, bool& skipThisMessage) override;

    // Called by the frame listener at the start of every rendered frame.
    void IncrementFrameCount() { ++m_FrameCount; }
    std::uint32_t GetFrameCount() const { return m_FrameCount; }

private:
    std::unique_ptr<Ogre::LogManager> m_OgreLogMgr;
    std::ofstream m_File;
    Ogre::Log* m_Log;
    std::uint32_t m_FrameCount;
};

// The program's log manager for the file (the "LogFile" option).
std::shared_ptr<sds::ILogMgr> CreateLogMgr(const std::string& fileName);

} // namespace wrappers
