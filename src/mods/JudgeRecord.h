#pragma once

#include <string>

#include "core/Node.h"
#include "core/Vector.h"

namespace sds {

// What both landing judges need to write their "CollisionInfo" records.

// The landing target that the level registered; the origin without one.
CVector LevelTargetPos();

// Appends an "Info" item with that value and "Name" label to the record.
xml::CNodePtr AddRecordItem(const xml::CNodePtr& record, const std::string& name, const std::string& value);

} // namespace sds
