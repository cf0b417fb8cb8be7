#include "physics/ZavuviHooks.h"

namespace Zavuvi {

namespace {

CHooks g_Hooks;
const void* g_Owner = nullptr;

} // namespace

void SetHooks(const CHooks& hooks, const void* owner)
{
    g_Hooks = hooks;
    g_Owner = owner;
}

void ClearHooks(const void* owner)
{
    if (owner != g_Owner)
        return;
    g_Hooks = CHooks();
    g_Owner = nullptr;
}

const CHooks& GetHooks()
{
    return g_Hooks;
}

} // namespace Zavuvi
