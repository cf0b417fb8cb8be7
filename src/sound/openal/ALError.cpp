#include "sound/openal/ALError.h"

#include <AL/al.h>

#include "core/ILogMgr.h"

namespace wrappers {
namespace details {

void LogALError(const std::string& prefix, int code)
{
    const ALchar* text = alGetString(code);
    const std::string message = prefix + " " + (text ? text : "OpenAL error " + std::to_string(code));
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogError(message);
}

int CheckALError(const char* prefix)
{
    const ALenum code = alGetError();
    if (code != AL_NO_ERROR)
        LogALError(prefix, code);
    return code;
}

} // namespace details
} // namespace wrappers
