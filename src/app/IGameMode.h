#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"

namespace sds {

class CDropZoneLevel;
class CJumpRecord;

// The game mode as the menus see it: the drop zones found on disk and the one
// the next jump starts in, the tutorials, and what the end of a jump shows.
// The engine answers it (CEngine::GetGameMode).
class IGameMode
{
public:
    // Drop zones by full name.
    typedef std::map<std::string, std::shared_ptr<CDropZoneLevel>> CDropZones;

    virtual ~IGameMode() = default;

    // The full names of the drop zones, in the order they were found.
    virtual const std::vector<std::string>& GetDropZoneNames() const = 0;
    virtual const CDropZones& GetDropZones() const = 0;
    // The drop-zone files that could not be listed, each "<file>: <reason>".
    virtual const std::vector<std::string>& GetUnreadableDropZones() const = 0;
    // The drop zone the next jump loads.
    virtual void SetCurrentDropZone(const std::shared_ptr<CDropZoneLevel>& dropZone) = 0;
    // That drop zone, or the one being flown; null before the first choice.
    virtual std::shared_ptr<CDropZoneLevel> GetCurrentDropZone() const = 0;
    // Reads the drop-zone folder again, so that a file written meanwhile is listed.
    virtual void ListDropZones() = 0;
    // Whether the next level opens in the force-field editor instead of a jump.
    virtual void SetEditFlag(bool editing) = 0;

    // Tutorials: prepared jumps in a folder of their own, flown in order.
    // Reads the tutorial set from its folder again.
    virtual void LoadTutorials() = 0;
    virtual const std::vector<std::string>& GetTutorialNames() const = 0;
    // Empty while no tutorial runs.
    virtual const std::string& GetCurrentTutorialName() const = 0;
    virtual void SetCurrentTutorialName(const std::string& name) = 0;
    // Makes the current tutorial's drop zone the one the next jump loads;
    // false, and nothing changes, when the set has no tutorial of that name.
    virtual bool SelectCurrentTutorialDropZone() = 0;

    // Whether the landing shows its comment.
    virtual void SetShowLandingComment(bool show) = 0;
    // Starts the jump again in the current drop zone, behind a fade.
    virtual void Restart() = 0;
    // Ends the jump where it stands: records it and shows its trajectory; the
    // flag and the message go to the jump log's display.
    virtual void ShowTrajectory(bool showJump, const std::string& message) = 0;

    // The trajectory viewer: shows the trajectories of these jumps, each in
    // the next colour, in place of those shown before.
    virtual void ShowTrajectories(const std::vector<const CJumpRecord*>& jumps) = 0;
    // The centre message of the head-up display, for its usual time.
    virtual void ShowCenterMessage(const std::string& text) = 0;

    // The drop zone of that full name; none throws CException "DZ '<name>' can not be loaded ".
    static std::shared_ptr<CDropZoneLevel> FindDropZone(const CDropZones& dropZones, const std::string& name)
    {
        const auto found = dropZones.find(name);
        if (found == dropZones.end())
            throw CException("DZ '" + name + "' can not be loaded ");
        return found->second;
    }
};

} // namespace sds
