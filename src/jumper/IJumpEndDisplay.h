#pragma once

#include <string>

namespace sds {

// The game mode's side of a jump's end: the display of the flight and
// whether the landing's comment is shown.
class IJumpEndDisplay
{
public:
    virtual ~IJumpEndDisplay() = default;
    // Opens the end-of-jump display with the landing's text.
    virtual void ShowTrajectory(bool show, const std::string& text) = 0;
    virtual bool ShowsLandingComment() const = 0;
    // The centre message of the HUD: shown, with the text, its fade restarted.
    virtual void ShowCenterMessage(const std::string& text) = 0;
};

} // namespace sds
