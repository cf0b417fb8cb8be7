#pragma once

#include <memory>

#include "core/Node.h"
#include "jumper/VisObj.h"
#include "sound/ISound.h"

namespace sds {

// The jump aircraft: it flies straight on at a constant speed with its engine
// sound on it. No physics touches it. Its owner starts the engine.
class CAirplane : public CVisObj
{
public:
    // The configuration's "Airplane": "Altitude" (the starting position,
    // x,y,z), "Movement" ("Speed", "Direction", not normalised: its length
    // scales the speed), "Mesh" and the sound descriptor "SndEngine". Throws
    // the XML layer's exceptions for a missing element or attribute.
    explicit CAirplane(const xml::CNodePtr& config);
    // Stops and frees the engine sound, then the object.
    ~CAirplane() override;

    void Update(const CTiming& timing) override;

    const std::shared_ptr<ISound>& GetEngineSound() const { return m_EngineSound; }

private:
    std::shared_ptr<ISound> m_EngineSound;
    float m_Speed;
    CVector m_Direction;
};

} // namespace sds
