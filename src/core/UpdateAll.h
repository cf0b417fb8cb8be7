#pragma once

#include "core/Timing.h"

namespace sds {

// Updates every element of a copy of the list, so an element may leave the
// list (or join it) during its update without disturbing the walk.
template <class List>
void UpdateAll(const List& list, const CTiming& timing)
{
    const List copy = list;
    for (const auto& element : copy)
        element->Update(timing);
}

} // namespace sds
