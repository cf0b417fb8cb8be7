#include "sound/openal/SndMgrFactory.h"

#include <memory>

#include "core/ILogMgr.h"
#include "sound/DummySndMgr.h"
#include "sound/openal/NullAudio.h"
#include "sound/openal/OpenALSndMgr.h"

namespace wrappers {
namespace {

void LogOpenALFailure(const std::string& reason)
{
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogError("Open AL could not be created: " + reason);
}

} // namespace

std::shared_ptr<sds::ISndMgr> CreateSndMgr(const xml::CNodePtr& soundSystem)
{
    if (!soundSystem) {
        LogOpenALFailure("the configuration has no \"SoundSystem\" element");
        return std::make_shared<sds::CDummySndMgr>();
    }
    if (!soundSystem->GetAttribute<bool>("Enabled", true)) {
        if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
            log->LogMessage("No sound system is used (disabled in config)");
        return std::make_shared<sds::CDummySndMgr>();
    }
    UseNullAudioWithoutSoundCard();
    try {
        return std::make_shared<COpenALSndMgr>(soundSystem);
    } catch (const std::exception& e) {
        LogOpenALFailure(e.what());
    } catch (...) {
        LogOpenALFailure("unknown exception");
    }
    return std::make_shared<sds::CDummySndMgr>();
}

} // namespace wrappers
