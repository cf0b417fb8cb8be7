#pragma once

#include <memory>

#include "core/Node.h"
#include "sound/ISoundTemplate.h"

namespace sds {

// Makes a template from a sound descriptor: "File" (required) and the optional
// "Gain", "ReferenceDistance" and "RolloffFactor"; an absent value keeps the
// sound manager's default. The xml and sound-manager exceptions pass through.
std::shared_ptr<ISoundTemplate> LoadSoundTemplate(const xml::CNodePtr& Conf);

} // namespace sds
