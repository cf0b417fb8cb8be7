#pragma once

#include "core/Node.h"
#include "core/Quaternion.h"
#include "core/Vector.h"
#include "physics/IPhyForce.h"

namespace physics {

// A force read from its element: "Force" (newtons, world axes), "Position" (the
// point of application in the actor's frame) and "Color" are required;
// "MaxChange" and "Type" are optional.
class CPhyForce : public IPhyForce
{
public:
    enum EMode
    {
        FORCE = 0,
        IMPULSE = 1,
        VELOCITY_CHANGE = 2,
        SMOOTH_IMPULSE = 3,
        SMOOTH_VELOCITY_CHANGE = 4,
        ACCELERATION = 5,
    };

    explicit CPhyForce(const xml::CNodePtr& node);

    const sds::CVector& GetForce() const { return m_Force; }
    void SetForce(const sds::CVector& force) { m_Force = force; }
    const sds::CVector& GetPosition() const { return m_Position; }
    void SetPosition(const sds::CVector& position) { m_Position = position; }
    const sds::CFourFloats& GetColor() const { return m_Color; }
    void SetColor(const sds::CFourFloats& color) { m_Color = color; }
    // The largest change of the force's size from one step to the next.
    float GetMaxChange() const { return m_MaxChange; }
    // Kept for the forces that use it; the forces here always push.
    int GetMode() const { return m_Mode; }

protected:
    // Draws `worldForce` from the actor's position moved by `worldOffset`, when it
    // is at least 0.1 long.
    void DrawForce(sdk::IActor& actor, const sds::CVector& worldForce, const sds::CVector& worldOffset) const;

    sds::CVector m_Force;
    sds::CVector m_Position;
    sds::CFourFloats m_Color;
    float m_MaxChange;
    int m_Mode = FORCE;
};

} // namespace physics
