#pragma once

#include <string>

#include "core/services/LoadingProgressCallback.h"

namespace sds {

// A loading bar drawn while the frame loop is blocked.
class ILoadingProgressBar
{
public:
    virtual ~ILoadingProgressBar() = default;
    // Opens a new stage taking `share` of the bar, with its message.
    virtual void SetProgress(const std::string& message, float share) = 0;
    // Moves the bar to `fraction` (0 to 1) of the current stage.
    virtual void SetStepProgress(const std::string& message, float fraction) = 0;
    virtual void Show() = 0;
};

} // namespace sds
