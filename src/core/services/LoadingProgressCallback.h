#pragma once

#include <functional>
#include <string>

namespace sds {

// Told how far a level's loading has come: the text to show and the fraction
// (0 to 1) of the current stage.
typedef std::function<void(const std::string& message, float fraction)> LoadingProgressCallback;

} // namespace sds
