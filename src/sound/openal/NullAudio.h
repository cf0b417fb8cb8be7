#pragma once

#include <string>

namespace wrappers {

// On a machine without a sound card OpenAL cannot open its default device.
// When the sound device folder is missing and ALSOFT_DRIVERS is not set, this
// sets it to OpenAL's null output, so the sound code keeps running silently.
// Call it before the first OpenAL call. True when it set the variable.
bool UseNullAudioWithoutSoundCard(const std::string& soundDevices = "/dev/snd");

} // namespace wrappers
