#pragma once

#include <memory>

#include "core/Node.h"
#include "sound/ISndMgr.h"

namespace wrappers {

// The sound service start-up installs, from the "SoundSystem" node: the OpenAL
// manager when "Enabled" is true and OpenAL opens, else the silent manager.
// On a machine without a sound card OpenAL is pointed at its null output
// first. Why OpenAL could not be used is logged. Never throws.
std::shared_ptr<sds::ISndMgr> CreateSndMgr(const xml::CNodePtr& soundSystem);

} // namespace wrappers
