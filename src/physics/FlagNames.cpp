#include "physics/FlagNames.h"

#include <map>

#include "physics/PhyLog.h"
#include "physics/sdk/SdkConstants.h"

namespace physics {

namespace {

const std::map<std::string, std::uint32_t>& GetFlagTable()
{
    static const std::map<std::string, std::uint32_t> table = {
        {"NX_BF_DISABLE_GRAVITY", sdk::BF_DISABLE_GRAVITY},
        {"NX_BF_FROZEN_POS_X", sdk::BF_FROZEN_POS_X},
        {"NX_BF_FROZEN_POS_Y", sdk::BF_FROZEN_POS_Y},
        {"NX_BF_FROZEN_POS_Z", sdk::BF_FROZEN_POS_Z},
        {"NX_BF_FROZEN_ROT_X", sdk::BF_FROZEN_ROT_X},
        {"NX_BF_FROZEN_ROT_Y", sdk::BF_FROZEN_ROT_Y},
        {"NX_BF_FROZEN_ROT_Z", sdk::BF_FROZEN_ROT_Z},
        {"NX_BF_FROZEN_POS", sdk::BF_FROZEN_POS},
        {"NX_BF_FROZEN_ROT", sdk::BF_FROZEN_ROT},
        {"NX_BF_FROZEN", sdk::BF_FROZEN},
        {"NX_BF_KINEMATIC", sdk::BF_KINEMATIC},
        {"NX_BF_VISUALIZATION", sdk::BF_VISUALIZATION},
        {"NX_BF_POSE_SLEEP_TEST", sdk::BF_POSE_SLEEP_TEST},
        {"NX_BF_FILTER_SLEEP_VEL", sdk::BF_FILTER_SLEEP_VEL},
        {"NX_BF_ENERGY_SLEEP_TEST", sdk::BF_ENERGY_SLEEP_TEST},
        {"NX_AF_DISABLE_COLLISION", sdk::AF_DISABLE_COLLISION},
        {"NX_AF_DISABLE_RESPONSE", sdk::AF_DISABLE_RESPONSE},
        {"NX_AF_LOCK_COM", sdk::AF_LOCK_COM},
        {"NX_AF_FLUID_DISABLE_COLLISION", sdk::AF_FLUID_DISABLE_COLLISION},
        {"NX_AF_CONTACT_MODIFICATION", sdk::AF_CONTACT_MODIFICATION},
        {"NX_AF_FORCE_CONE_FRICTION", sdk::AF_FORCE_CONE_FRICTION},
        {"NX_AF_USER_ACTOR_PAIR_FILTERING", sdk::AF_USER_ACTOR_PAIR_FILTERING},
    };
    return table;
}

} // namespace

void AddFlagByName(std::uint32_t& flags, const std::string& name)
{
    const auto& table = GetFlagTable();
    auto found = table.find(name);
    if (found == table.end())
    {
        LogWarning("Unsupported physics flag: " + name);
        return;
    }
    flags |= found->second;
}

} // namespace physics
