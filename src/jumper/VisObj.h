#pragma once

#include "core/Timing.h"
#include "graphics/IGfxObj.h"

namespace sds {

// The base of everything the level shows: it holds its graphic object and,
// each frame, lets that object advance its animations.
class CVisObj : public IUpdate
{
public:
    CVisObj() = default;
    explicit CVisObj(const CGfxObjPtr& gfxObj) : m_GfxObj(gfxObj) {}
    // The graphic object's own per-frame update: its enabled, auto-updated
    // animations advance, then those of the objects under it.
    void Update(const CTiming& timing) override;
    ~CVisObj() override = default;

    CGfxObjPtr GetGfxObj() const { return m_GfxObj; }

protected:
    CGfxObjPtr m_GfxObj;
};

} // namespace sds
