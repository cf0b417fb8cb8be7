#include "jumper/AnimationRecord.h"

namespace sds {

CAnimationPtr ReadAnimation(const xml::CNodePtr& record, const CGfxObjPtr& object)
{
    const bool enabled = record->GetAttribute<bool>("Enabled", false);
    const bool loop = record->GetAttribute<bool>("Loop", false);
    const bool autoUpdate = record->GetAttribute<bool>("AutoUpdate", false);
    const xml::CNodePtr speed = record->GetAttribute("Speed");
    const std::string name = record->GetAttribute("Animation")->GetValue();
    return object->GetAnimation(name, speed->GetValue<float>(), autoUpdate, loop, enabled);
}

} // namespace sds
