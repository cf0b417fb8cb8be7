#pragma once

#include <string>

#include "core/Node.h"
#include "core/Quaternion.h"
#include "core/Vector.h"

namespace physics {

class CPhyObj;

// A box body of the jumper, out of the scene's gravity (its weight is a force
// of its own): the exit, test, free-fall, deployment and canopy-ride bodies.
struct CJumperBoxDesc
{
    sds::CVector m_HalfExtents;
    sds::CVector m_LocalPosition;
    std::string m_Material;
    float m_Mass = 0.0f;
    sds::CVector m_Position;
    sds::CQuaternion m_Orientation;
    float m_LinearDamping = 0.0f;
    float m_AngularDamping = 0.0f;
    sds::CVector m_Velocity;
    // A phase's body starts out of the way; the phase lets it collide while it is current.
    bool m_Collides = false;

    // The box of a "Shape" element: "Dimensions" (full sizes), "Position", "Mass" and "Material".
    static CJumperBoxDesc FromShape(const xml::CNodePtr& shape);
    // The place and motion of an "Actor" element: "Position", "LinearDamping",
    // "AngularDamping" and "InitialVelocity".
    void ReadActor(const xml::CNodePtr& actor);
    // Gives `body` an actor of this box in the world's scene.
    void Create(CPhyObj& body) const;
};

// The box body that the test, free-fall and deployment phases share: the
// "Shape" named "Body" of the "PhyJumper" element, as heavy as the jumper and
// the canopy ("CanopyInfo" of the canopy ride) together, placed and moving as
// the free-fall "Actor" says, never turning about the vertical.
void BuildJumperBody(CPhyObj& body, const xml::CNodePtr& phyJumper);

} // namespace physics
