#pragma once

#include <memory>

#include "core/Node.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "scene/ogre/sky/CaelumSystem.h"

namespace wrappers {

// A drop zone's sky, set up from the zone's "Caelum" element: its components,
// the time of day, the observer's place on Earth, the sun's light, clouds,
// fog and ambient light. The sky follows the camera of every viewport of the
// graphics manager's window; the zone loader advances it every frame.
class CCaelum
{
public:
    // A missing or empty key throws the XML layer's exception before anything
    // is made. With "Enabled" false no further key is read and there is no sky.
    CCaelum(const xml::CNodePtr& conf, COgreGfxMgr* gfxMgr);
    ~CCaelum();
    CCaelum(const CCaelum&) = delete;
    CCaelum& operator=(const CCaelum&) = delete;

    // Null when the sky is disabled.
    caelum::CaelumSystem* GetSystem() const { return m_System.get(); }

    void SetGroundFogEnabled(bool enabled);

private:
    COgreGfxMgr* m_GfxMgr;
    std::unique_ptr<caelum::CaelumSystem> m_System;
};

} // namespace wrappers
