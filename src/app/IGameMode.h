#pragma once

#include <string>
#include <vector>

namespace sds {

class CJumpRecord;

// What the menus ask of the game mode. The game mode implements it; the
// engine answers it (CEngine::m_GameMode, null while the program has none).
class IGameMode
{
public:
    virtual ~IGameMode() = default;

    // Tutorials: prepared jumps in a folder of their own, flown in order.
    // Reads the tutorial set from its folder again.
    virtual void LoadTutorials() = 0;
    virtual const std::vector<std::string>& GetTutorialNames() const = 0;
    // Empty while no tutorial runs.
    virtual const std::string& GetCurrentTutorialName() const = 0;
    virtual void SetCurrentTutorialName(const std::string& name) = 0;
    // Makes the current tutorial's drop zone the one the next jump flies in;
    // false, and nothing changes, when the set has no tutorial of that name.
    virtual bool SelectCurrentTutorialDropZone() = 0;

    // Whether the landing shows its comment.
    virtual void SetShowLandingComment(bool show) = 0;
    // Starts the jump again in the current drop zone.
    virtual void Restart() = 0;

    // The trajectory viewer: shows the trajectories of these jumps, each in
    // the next colour, in place of those shown before.
    virtual void ShowTrajectories(const std::vector<const CJumpRecord*>& jumps) = 0;
    // The centre message of the head-up display, for its usual time.
    virtual void ShowCenterMessage(const std::string& text) = 0;
};

} // namespace sds
