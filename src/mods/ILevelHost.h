#pragma once

#include <memory>

#include "jumper/ICollisionJudge.h"

namespace sds {

class CDropZoneLevel;
class IJumper;
class IJumpEndDisplay;

// What the drop-zone loader asks of the game mode that runs its level.
class ILevelHost
{
public:
    virtual ~ILevelHost() = default;
    // The drop zone being flown; the loader reads its working tree.
    virtual const std::shared_ptr<CDropZoneLevel>& GetDropZone() const = 0;
    // True while the level is opened in the editor: the loader makes no jumper.
    virtual bool IsEditing() const = 0;
    // Adds the jumper's jump to the current profile, once per jump: a second
    // call for the same jump (landed, then restarted) records nothing.
    virtual void RecordJump(const IJumper& jumper) = 0;
    // Makes each new jumper's landing judge.
    virtual const CCollisionJudgeFactory& GetCollisionJudgeFactory() const = 0;
    // What the jumper calls at the end of its jump (trajectory, centre message).
    virtual IJumpEndDisplay& GetJumpEndDisplay() = 0;
};

} // namespace sds
