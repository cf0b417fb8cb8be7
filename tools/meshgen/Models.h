#pragma once

#include <string>
#include <vector>

#include "meshgen/MeshModel.h"

// The project's skinned and jointed models. Those that a rag doll also
// represents take their bones from the rag doll's physics source in
// `physicsSources` (tools/phsgen/models), the one list of their bone names.
namespace meshgen {

// The jumper, belly +x, head +y, right +z, its origin the centre of the
// physical body, where the pelvis is; in the bind pose it stands with its
// arms down. Bones: those of the jumper's rag doll.
CMeshModel BodyModel(const std::string& physicsSources);
// The helmet, about the head's centre (the jumper's "HeadLoc"), in the body's axes.
CMeshModel HeadModel();

// The rig, in the body's axes, its origin at the top of the container where it
// meets the jumper's shoulders; bone "Root".
CMeshModel ContainerModel();
// Pieces of unit length along y, centred on their origin, that ropes stretch.
CMeshModel RiserModel();
CMeshModel ToggleModel();
CMeshModel BridleLineModel();
// The slider, forward +x, up +y; the rag doll's bone and the four line rings.
CMeshModel SliderModel(const std::string& physicsSources);
// The deployment bag, up +y.
CMeshModel DBagModel();
// The main canopy, forward +x, up +y, right +z; the sections of its rag doll,
// and under them the joints its lines hang from.
CMeshModel CanopyModel(const std::string& physicsSources);
CMeshModel SuspensionLineModel();

// A joint of the canopy's lines: "LA1" … "RD5", "LU1" … "RU4", on the
// underside of a section turned m_Degrees about x, at m_Chord along x and
// m_Across along z from the section's centre.
struct CLineJoint
{
    std::string m_Name;
    std::string m_Section;
    float m_Degrees;
    float m_Chord;
    float m_Across;
};
std::vector<CLineJoint> CanopyLineJoints();
// The joint's place in the canopy's model space, bind pose.
sds::CVector LineJointPos(const CMeshModel& canopy, const CLineJoint& joint);
// The pilot chute at the end of its bridle, up +y; the bones of its rag doll.
CMeshModel PilotChuteModel(const std::string& physicsSources);

// Altimeter cases, face +y, the top of the dial towards −z: a round analog
// one and a flat digital one, each with an "AltimeterFace" sub-mesh.
CMeshModel AnalogAltimeterModel();
CMeshModel DigitalAltimeterModel();

// The jump aircraft, nose +x, up +y, the jump door on its left (−z) side.
CMeshModel AirplaneModel();

// Every model above, in the order written.
std::vector<CMeshModel> ProjectModels(const std::string& physicsSources);

// Meshes only the tests load: "SkeletonTest", a three-bone chain (Root, Arm 1
// up from Root, Hand 1 up from Arm) over a unit box, with "Move" (2 s, Arm 2
// along +x), "Lift" (4 s, Arm 4 along +z), "Turn" (1 s, Hand a quarter turn
// about y) and "Still" (length 0).
std::vector<CMeshModel> TestModels();

} // namespace meshgen
