#pragma once

#include <string>
#include <utility>
#include <vector>

#include "jumper/IJumpEndDisplay.h"

// The end of a jump as a list of what was asked to be shown.
class CRecordingJumpEnd : public sds::IJumpEndDisplay
{
public:
    void ShowTrajectory(bool show, const std::string& text) override { m_Shown.emplace_back(show, text); }
    bool ShowsLandingComment() const override { return false; }
    void ShowCenterMessage(const std::string&) override {}

    std::vector<std::pair<bool, std::string>> m_Shown;
};
