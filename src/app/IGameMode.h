#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"

namespace sds {

class CDropZoneLevel;

// The game mode as the menus see it: the drop zones found on disk and the one
// the next jump starts in. The engine answers it (CEngine::GetGameMode).
class IGameMode
{
public:
    // Drop zones by full name.
    typedef std::map<std::string, std::shared_ptr<CDropZoneLevel>> CDropZones;

    virtual ~IGameMode() = default;

    // The full names of the drop zones, in the order they were found.
    virtual const std::vector<std::string>& GetDropZoneNames() const = 0;
    virtual const CDropZones& GetDropZones() const = 0;
    // The drop zone the next jump loads.
    virtual void SetCurrentDropZone(const std::shared_ptr<CDropZoneLevel>& dropZone) = 0;

    // Starts the jump again from the aircraft, behind a fade.
    virtual void Restart() = 0;
    // Ends the jump where it stands: records it and shows its trajectory; the
    // two values go to the jump log's display (whether and which jump to show).
    virtual void ShowTrajectory(bool showJump, const std::string& jump) = 0;

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
