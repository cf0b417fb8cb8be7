#include "core/ogre/OgreLogMgr.h"

#include <ctime>
#include <iomanip>
#include <stdexcept>

#include <OgreLogManager.h>

#include "core/Node.h"

namespace wrappers {

COgreLogMgr::COgreLogMgr(const std::string& fileName)
    : m_Log(nullptr), m_FrameCount(0)
{
    m_OgreLogMgr.reset(new Ogre::LogManager());

    m_File.open(fileName, std::ios::out | std::ios::trunc);
    if (!m_File.is_open())
        throw std::runtime_error("Could not open log file: '" + fileName + "'");

    // The file is written only by messageLogged, never by the library itself.
    m_Log = m_OgreLogMgr->createLog(fileName, true, false, true);
    m_Log->addListener(this);

    xml::ErrorMessageHandler = [this](const std::string& text) { LogError(text); };
    xml::MessageHandler = [this](const std::string& text) { LogMessage(text); };
}

COgreLogMgr::~COgreLogMgr()
{
    xml::MessageHandler = xml::PrintToStdErr;
    xml::ErrorMessageHandler = xml::PrintToStdErr;

    m_OgreLogMgr->logMessage("LogMgr is destroyed");

    m_Log->removeListener(this);
    m_OgreLogMgr->destroyLog(m_Log);
    m_File.close();
    m_OgreLogMgr.reset();
}

void COgreLogMgr::LogMessage(const std::string& text)
{
    m_OgreLogMgr->logMessage(text, Ogre::LML_NORMAL, false);
}

void COgreLogMgr::LogError(const std::string& text)
{
    LogMessage("Error: " + text);
}

void COgreLogMgr::LogWarning(const std::string& text)
{
    LogMessage("Warning: " + text);
}

void COgreLogMgr::messageLogged(const Ogre::String& message, Ogre::LogMessageLevel /*level*/, bool /*maskDebug*/,
                                const Ogre::String& /*logName*/, bool& /*skipThisMessage*/)
{
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    m_File << std::setfill('0') << std::setw(2) << local.tm_hour << ':' << std::setw(2) << local.tm_min << ':'
           << std::setw(2) << local.tm_sec << ':' << m_FrameCount << ' ' << message << std::endl;
}

std::shared_ptr<sds::ILogMgr> CreateLogMgr(const std::string& fileName)
{
    return std::make_shared<COgreLogMgr>(fileName);
}

} // namespace wrappers
