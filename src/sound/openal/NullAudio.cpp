#include "sound/openal/NullAudio.h"

#include <cstdlib>
#include <filesystem>

#include "core/ILogMgr.h"

namespace wrappers {

bool UseNullAudioWithoutSoundCard(const std::string& soundDevices)
{
    std::error_code ignored;
    if (std::filesystem::exists(soundDevices, ignored))
        return false;
    const char* drivers = std::getenv("ALSOFT_DRIVERS");
    if (drivers && *drivers)
        return false;
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogMessage("No sound card (" + soundDevices + " is missing): sound goes to OpenAL's null output");
    return true;
}

} // namespace wrappers
