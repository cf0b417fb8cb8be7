#pragma once

#include <string>
#include <vector>

#include "core/Node.h"
#include "core/Vector.h"
#include "physics/zavuvi/PhysicsEntity.h"

namespace phsgen {

// A physics-editor file described in XML, the readable source of the
// project's physics files. The root element:
//
//   <PhysicsFile Version="1.4">
//     <Bones Skeleton="WindSock">
//       <Bone Name="Twist" />
//       <Bone Name="Tail" Parent="Twist" />
//     </Bones>
//     <Skeleton Name="WindSock" Position="x,y,z" Orientation="w,x,y,z" Scale="x,y,z" />
//     <Actor Name="Tail" Position="x,y,z" Static="false" Group="0" Density="1" Mass="0.5"
//            LinearDamping="0" AngularDamping="0.05" NoGravity="false" SolverIterations="4"
//            InitialVelocity="x,y,z" Skeleton="WindSock" Bone="Tail" BoneDriven="false"
//            ReferencePosition="x,y,z" ReferenceOrientation="w,x,y,z">
//       <Shape Name="Sock" Kind="Box|Sphere|Capsule|Mesh" Position="x,y,z" Orientation="w,x,y,z"
//              Size="x,y,z" Group="0" Material="0" Density="1" Mass="0" SkinWidth="0" MeshFile="">
//         <Mesh Convex="true" Vertices="x,y,z; x,y,z; ..." Triangles="a,b,c; ..." />
//       </Shape>
//       <Model Name="sock.mesh" Position="x,y,z" Orientation="w,x,y,z" Scale="x,y,z" />
//     </Actor>
//     <Joint Name="Mouth" Kind="Revolute|Spherical|Cylindrical|Prismatic|Fixed|Distance|PointOnLine"
//            Actor1="Twist" Actor2="Tail" Anchor="x,y,z" Axis="x,y,z" Normal="x,y,z"
//            MaxForce="0" MaxTorque="0" CollideConnected="false">
//       <Limits A="-30" B="30" C="60" />
//       <Spring Index="1" Target="0" Spring="10" Damper="1" />
//       <Motor Velocity="1" MaxForce="10" />
//       <Projection Distance="0.1" Angle="0.0872" />
//     </Joint>
//   </PhysicsFile>
//
// Positions are in the file's frame; shape positions too, not relative to
// their actor. Elements of one kind keep their order; an actor's position in
// the file is its order among the "Actor" elements. Joints name their actors
// by name, an empty or missing name being the world; a skeleton by name or
// index. Angles are in degrees. Missing attributes take the file's defaults.
//
// "Bones", when present, lists the bones of the mesh that goes with the file,
// each after its parent: it is the one list the mesh tool and the physics file
// share, so the skeleton's actors must carry exactly these bone names, but for
// those marked Actor="false" (bones of the mesh alone, such as the rings of a
// slider that only the drawn lines follow), which no actor may carry and
// whose "Position" in the file's frame is their bind position.
// Throws std::invalid_argument when they do not.
Zavuvi::PhysicsEntity ReadPhysicsSource(const xml::CNodePtr& root);

struct CBoneEntry
{
    std::string m_Name;
    std::string m_Parent; // empty for the root
    bool m_HasActor = true; // false: a bone of the mesh alone
    sds::CVector m_Position; // the bind position of a bone of the mesh alone, in the file's frame
};

// The source's "Bones" list in order, empty without one. Throws
// std::invalid_argument for a bone named twice or before its parent.
std::vector<CBoneEntry> ReadBoneList(const xml::CNodePtr& root);

// The "Version" of the root, 1.4 when it has none.
float ReadSourceVersion(const xml::CNodePtr& root);

} // namespace phsgen
