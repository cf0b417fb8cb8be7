#pragma once

#include <functional>
#include <string>

namespace sds {

// Progress reported down the loaders: a message and the fraction done (0 to 1)
// within the current loading stage.
typedef std::function<void(const std::string&, float)> LoadingProgressCallback;

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
