// The rig's parts: container and harness, risers, toggles, bridle line,
// slider, deployment bag, main canopy and pilot chute.

#include "meshgen/Models.h"

#include "meshgen/ModelBuilder.h"

namespace meshgen {

namespace {

using sds::CQuaternion;
using sds::CVector;

const char* const kContainer = "Dravonkel/Container";
const char* const kWebbing = "Dravonkel/Webbing";
const char* const kHandle = "Dravonkel/Handle";

// A strap of round webbing through the points.
void Strap(CGeometryBuilder& b, const std::vector<CVector>& points, float radius = 0.013f)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        b.Tube(points[i - 1], points[i], radius, radius, 8);
}

// A unit box, centred: what a rope stretches.
CMeshModel UnitPiece(const std::string& name, const std::string& material)
{
    CMeshModel model;
    model.m_Name = name;
    CGeometryBuilder b(model);
    b.Use(material);
    b.Box({0, 0, 0}, {0.5f, 0.5f, 0.5f});
    return model;
}

} // namespace

CMeshModel ContainerModel()
{
    CMeshModel model;
    model.m_Name = "Container";
    // The flaps of the two trays hinge on the back: the main tray's at its
    // bottom, the reserve's at the top.
    model.m_Bones = {{"Root", -1, {0, 0, 0}, {}},
                     {"MainFlap", 0, {-0.168f, -0.47f, 0}, {}},
                     {"ReserveFlap", 0, {-0.168f, 0.0f, 0}, {}}};
    CGeometryBuilder b(model);
    b.Use(kContainer, "Root");
    b.Box({-0.085f, -0.25f, 0}, {0.078f, 0.23f, 0.17f});
    b.Box({-0.08f, -0.015f, 0}, {0.07f, 0.035f, 0.155f}); // the reserve tray on top
    b.Use(kContainer, "MainFlap");
    b.Box({-0.17f, -0.36f, 0}, {0.006f, 0.11f, 0.15f});
    b.Use(kContainer, "ReserveFlap");
    b.Box({-0.17f, -0.08f, 0}, {0.006f, 0.07f, 0.15f});
    // The pilot chute's handle at the bottom of the container, on the right.
    b.Use(kHandle, "Root");
    b.Box({-0.14f, -0.49f, 0.1f}, {0.028f, 0.018f, 0.04f});
    b.Sphere({-0.16f, -0.5f, 0.13f}, 0.022f);
    // The harness: over the shoulders, where the risers come out, down the chest, round the waist.
    b.Use(kWebbing, "Root");
    for (const float z : {-0.1f, 0.1f}) {
        Strap(b, {{-0.02f, 0.0f, z}, {0.06f, 0.04f, z}, {0.19f, -0.05f, z}, {0.27f, -0.2f, z},
                  {0.25f, -0.42f, z * 1.1f}, {0.23f, -0.56f, z * 1.3f}});
        Strap(b, {{0.23f, -0.56f, z * 1.3f}, {0.12f, -0.58f, z * 1.75f}, {0.0f, -0.52f, z * 1.75f}});
    }
    Strap(b, {{0.275f, -0.2f, -0.1f}, {0.275f, -0.2f, 0.1f}}, 0.011f); // chest strap

    CKeyedAnimation deployMain(model, "DeployMain");
    deployMain.Key("MainFlap", 0.0f, {}).Key("MainFlap", 1.0f, {}, Turned(70, {0, 0, 1}));
    model.m_Animations.push_back(deployMain.Done());
    CKeyedAnimation deployReserve(model, "DeployReserve");
    deployReserve.Key("ReserveFlap", 0.0f, {}).Key("ReserveFlap", 1.0f, {}, Turned(-80, {0, 0, 1}));
    model.m_Animations.push_back(deployReserve.Done());
    return model;
}

CMeshModel RiserModel()
{
    return UnitPiece("Riser", kWebbing);
}

CMeshModel SuspensionLineModel()
{
    return UnitPiece("SuspensionLine", "Rope");
}

CMeshModel BridleLineModel()
{
    return UnitPiece("BridleLine", "Dravonkel/Bridle");
}

CMeshModel ToggleModel()
{
    CMeshModel model;
    model.m_Name = "Toggle";
    CGeometryBuilder b(model);
    // The grip below, the steering line's end above it.
    b.Use("Dravonkel/Toggle");
    b.Box({0, -0.3f, 0}, {0.07f, 0.2f, 0.025f});
    b.Use("Dravonkel/Bridle");
    b.Tube({0, -0.1f, 0}, {0, 0.5f, 0}, 0.012f, 0.012f, 6);
    return model;
}

CMeshModel SliderModel(const std::string& physicsSources)
{
    CMeshModel model;
    model.m_Name = "Slider";
    model.m_Bones = ReadSkeleton(physicsSources + "/Slider.xml");
    CGeometryBuilder b(model);
    // The fabric in four quarters, each carried by the ring at its corner, so
    // that the quarters close up when the rings are drawn together.
    for (const char* ring : {"LG1", "LG2", "RG1", "RG2"}) {
        const CVector corner = model.BindPos(model.BoneIndex(ring));
        const CVector a(0, 0, 0), c(corner.x, 0, corner.z), b1(corner.x, 0, 0), d(0, 0, corner.z);
        b.Use("Dravonkel/Slider", ring);
        // Both faces: the slider is seen from above and below.
        b.Quad(a, b1, c, d);
        b.Quad(a, d, c, b1);
        b.Use(kWebbing, ring);
        b.Tube(corner + CVector(0, -0.02f, 0), corner + CVector(0, 0.02f, 0), 0.025f, 0.025f, 10);
    }
    CKeyedAnimation unwrap(model, "Unwrap");
    CKeyedAnimation down(model, "SliderDown");
    CKeyedAnimation flight(model, "FullFlight");
    for (const char* ring : {"LG1", "LG2", "RG1", "RG2"}) {
        const CVector corner = model.BindPos(model.BoneIndex(ring));
        unwrap.Key(ring, 0.0f, corner * -0.7f + CVector(0, -0.1f, 0)).Key(ring, 1.0f, {});
        down.Key(ring, 0.0f, {}).Key(ring, 0.5f, {0, 0.03f, 0}).Key(ring, 1.0f, {});
        flight.Key(ring, 0.0f, {}).Key(ring, 1.0f, {0, corner.x > 0 ? 0.015f : -0.015f, 0}).Key(ring, 2.0f, {});
    }
    model.m_Animations = {unwrap.Done(), down.Done(), flight.Done()};
    return model;
}

CMeshModel DBagModel()
{
    CMeshModel model;
    model.m_Name = "DBag";
    model.m_Bones = {{"Bag", -1, {0, 0, 0}, {}}, {"Mouth", 0, {-0.12f, 0.15f, 0}, {}}};
    CGeometryBuilder b(model);
    b.Use("Dravonkel/DBag", "Bag");
    b.Box({0, 0, 0}, {0.12f, 0.15f, 0.17f});
    b.Use("Dravonkel/DBag", "Mouth");
    b.Box({0.0f, 0.158f, 0}, {0.12f, 0.008f, 0.17f});
    b.Use(kWebbing, "Bag");
    Strap(b, {{0, 0.15f, 0}, {0, 0.22f, 0}}, 0.01f); // the bridle's loop
    CKeyedAnimation opening(model, "Opening");
    opening.Key("Mouth", 0.0f, {}).Key("Mouth", 1.0f, {}, Turned(100, {0, 0, 1}));
    CKeyedAnimation collapsing(model, "Collapsing");
    collapsing.Key("Mouth", 0.0f, {}, Turned(100, {0, 0, 1}))
        .Key("Mouth", 1.0f, {0, -0.2f, 0}, Turned(150, {0, 0, 1}));
    model.m_Animations = {opening.Done(), collapsing.Done()};
    return model;
}

std::vector<CLineJoint> CanopyLineJoints()
{
    // Where each column lies: the section and the place across it (−0.5 to 0.5).
    const struct
    {
        int m_Section;
        float m_Across;
    } columns[] = {{0, 0.3f}, {1, 0.1f}, {2, -0.1f}, {2, 0.4f}, {3, 0.3f}},
      controls[] = {{1, 0.3f}, {2, 0.0f}, {2, 0.45f}, {3, 0.4f}};
    const struct
    {
        const char* m_Row;
        float m_Chord;
    } rows[] = {{"A", 1.05f}, {"B", 0.4f}, {"C", -0.3f}, {"D", -0.95f}};
    const char* const right[] = {"CanopyCentre", "CanopyRight1", "CanopyRight2", "CanopyRight3"};
    const char* const left[] = {"CanopyCentre", "CanopyLeft1", "CanopyLeft2", "CanopyLeft3"};
    const float degrees[] = {0.0f, 13.6f, 27.3f, 41.0f};
    std::vector<CLineJoint> joints;
    for (const bool isLeft : {true, false}) {
        const char* const* sections = isLeft ? left : right;
        const float side = isLeft ? -1.0f : 1.0f;
        const std::string prefix = isLeft ? "L" : "R";
        for (const auto& row : rows)
            for (int c = 0; c < 5; ++c)
                joints.push_back({prefix + row.m_Row + std::to_string(c + 1), sections[columns[c].m_Section],
                                  side * degrees[columns[c].m_Section], row.m_Chord, side * columns[c].m_Across});
        for (int c = 0; c < 4; ++c)
            joints.push_back({prefix + "U" + std::to_string(c + 1), sections[controls[c].m_Section],
                              side * degrees[controls[c].m_Section], -1.25f, side * controls[c].m_Across});
    }
    return joints;
}

CVector LineJointPos(const CMeshModel& model, const CLineJoint& joint)
{
    const CVector centre = model.BindPos(model.BoneIndex(joint.m_Section));
    return centre + Turned(joint.m_Degrees, {1, 0, 0}) * CVector(joint.m_Chord, -0.175f, joint.m_Across);
}

CMeshModel CanopyModel(const std::string& physicsSources)
{
    CMeshModel model;
    model.m_Name = "canopy";
    model.m_Bones = ReadSkeleton(physicsSources + "/Canopy.xml");
    CGeometryBuilder b(model);
    // Each section a cell of the wing, 2.6 m of chord, 0.35 m deep, 1 m of
    // span, turned 13.6 degrees more than the one inside it as the arc goes.
    const struct
    {
        const char* m_Bone;
        float m_Degrees;
    } sections[] = {{"CanopyCentre", 0},     {"CanopyRight1", 13.6f}, {"CanopyRight2", 27.3f},
                    {"CanopyRight3", 41.0f}, {"CanopyLeft1", -13.6f}, {"CanopyLeft2", -27.3f},
                    {"CanopyLeft3", -41.0f}};
    int index = 0;
    for (const auto& section : sections) {
        const std::uint16_t bone = model.BoneIndex(section.m_Bone);
        b.Use(index++ % 2 ? "Dravonkel/CanopyB" : "Dravonkel/CanopyA", section.m_Bone);
        b.Box(model.BindPos(bone), {1.3f, 0.175f, 0.5f}, Turned(section.m_Degrees, {1, 0, 0}));
    }

    // The lines' attachment joints on the underside, each a child of the
    // section it lies on: rows A to D from the leading edge back, columns 1
    // to 5 from the centre out, and the control lines U1 to U4 on the
    // trailing edge of the outer sections.
    for (const CLineJoint& joint : CanopyLineJoints()) {
        const std::uint16_t parent = model.BoneIndex(joint.m_Section);
        const CVector pos = LineJointPos(model, joint);
        model.m_Bones.push_back({joint.m_Name, parent,
                                 model.BindOrientation(parent).Inverse() * (pos - model.BindPos(parent)), {}});
    }

    const char* const right[] = {"CanopyRight1", "CanopyRight2", "CanopyRight3"};
    const char* const left[] = {"CanopyLeft1", "CanopyLeft2", "CanopyLeft3"};
    // Extraction: the sections come out of the bag bunched at the centre.
    CKeyedAnimation extraction(model, "Extraction");
    // Inflating: the outer sections fill and rise into the arc.
    CKeyedAnimation inflating(model, "Inflating");
    for (const char* const* side : {right, left}) {
        for (int i = 0; i < 3; ++i) {
            const std::uint16_t bone = model.BoneIndex(side[i]);
            extraction.Key(side[i], 0.0f, model.m_Bones[bone].m_Pos * -0.85f).Key(side[i], 1.0f, {});
            const float fold = (side == right ? 1.0f : -1.0f) * 25.0f;
            inflating.Key(side[i], 0.0f, {0, -0.3f * (i + 1), 0}, Turned(fold, {1, 0, 0})).Key(side[i], 1.0f, {});
        }
    }
    // Full flight: the wing tips move a little.
    CKeyedAnimation fullFlight(model, "FullFlight");
    fullFlight.Key("CanopyRight3", 0.0f, {}).Key("CanopyRight3", 0.5f, {}, Turned(2, {1, 0, 0})).Key("CanopyRight3", 1.0f, {});
    fullFlight.Key("CanopyLeft3", 0.0f, {}).Key("CanopyLeft3", 0.5f, {}, Turned(-2, {1, 0, 0})).Key("CanopyLeft3", 1.0f, {});
    model.m_Animations = {extraction.Done(), inflating.Done(), fullFlight.Done()};

    // Steering: a toggle pulls the trailing edge of its side down (the
    // outer sections nose up), a front riser pulls its side's nose down, a
    // rear riser its trailing edge a little.
    const struct
    {
        const char* m_Name;
        const char* const* m_Side;
        int m_First;
        float m_Degrees;
    } turns[] = {{"RightToggleTurn", right, 1, 12},    {"LeftToggleTurn", left, 1, 12},
                 {"RightFrontRiserTurn", right, 0, -8}, {"LeftFrontRiserTurn", left, 0, -8},
                 {"RightRearRiserTurn", right, 0, 5},   {"LeftRearRiserTurn", left, 0, 5}};
    for (const auto& turn : turns) {
        CKeyedAnimation animation(model, turn.m_Name);
        for (int i = turn.m_First; i < 3; ++i)
            animation.Key(turn.m_Side[i], 0.0f, {}).Key(turn.m_Side[i], 1.0f, {}, Turned(turn.m_Degrees, {0, 0, 1}));
        model.m_Animations.push_back(animation.Done());
    }
    return model;
}

CMeshModel PilotChuteModel(const std::string& physicsSources)
{
    CMeshModel model;
    model.m_Name = "PilotChute";
    model.m_Bones = ReadSkeleton(physicsSources + "/PilotChute.xml");
    CGeometryBuilder b(model);
    for (const char* piece : {"Bridle1", "Bridle2", "Bridle3"}) {
        const CVector from = model.BindPos(model.BoneIndex(piece));
        b.Use("Dravonkel/Bridle", piece);
        b.Box(from + CVector(0, 0.4f, 0), {0.012f, 0.4f, 0.002f});
    }
    // The chute: a dome over the bridle's end, its mouth towards the rig.
    const CVector apex = model.BindPos(model.BoneIndex("PCBase"));
    b.Use("Dravonkel/PilotChute", "PCBase");
    b.Ellipsoid(apex + CVector(0, 0.05f, 0), {0.3f, 0.28f, 0.3f}, CQuaternion::IDENTITY, 10, 18,
                [](const CVector& local) { return local.y > 0.0f; });
    b.Use("Dravonkel/Bridle", "PCBase");
    b.Tube(apex, apex + CVector(0, 0.32f, 0), 0.01f, 0.01f, 6);

    // Inflating: the bridle, bunched up, draws out to its length.
    CKeyedAnimation inflating(model, "Inflating");
    for (const char* piece : {"Bridle2", "Bridle3", "PCBase"})
        inflating.Key(piece, 0.0f, {0, -0.7f, 0}).Key(piece, 1.0f, {});
    model.m_Animations = {inflating.Done()};
    return model;
}

} // namespace meshgen
