#include "mods/JudgeRecord.h"

#include <optional>

#include "graphics/IGfxMgr.h"

namespace sds {

CVector LevelTargetPos()
{
    for (const CLevelPositionsPtr& positions : IGfxMgr::GetSingleton()->GetLevelPositions())
        if (const std::optional<CVector> target = positions->GetTargetPos())
            return *target;
    return CVector::ZERO;
}

xml::CNodePtr AddRecordItem(const xml::CNodePtr& record, const std::string& name, const std::string& value)
{
    xml::CNodePtr info = record->AddChild("Info", value);
    info->AddAttribute("Name", name);
    return info;
}

} // namespace sds
