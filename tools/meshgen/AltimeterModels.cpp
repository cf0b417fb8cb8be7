// The altimeters' cases: each shows its dial on the sub-mesh of material
// "AltimeterFace", a quad facing +y whose texture's top lies towards −z.

#include "meshgen/Models.h"

#include "meshgen/ModelBuilder.h"

namespace meshgen {

namespace {

const char* const kCase = "Dravonkel/AltimeterCase";
const char* const kFace = "AltimeterFace";

// The face: half-width along x, half-height along z, at height y.
void Face(CGeometryBuilder& b, float halfWidth, float halfHeight, float y)
{
    b.Use(kFace);
    b.Quad({-halfWidth, y, halfHeight}, {halfWidth, y, halfHeight}, {halfWidth, y, -halfHeight},
           {-halfWidth, y, -halfHeight});
}

} // namespace

CMeshModel AnalogAltimeterModel()
{
    CMeshModel model;
    model.m_Name = "AnalogAltimeter";
    CGeometryBuilder b(model);
    b.Use(kCase);
    // A round case with a bezel, on a strap mount.
    b.Tube({0, 0, 0}, {0, 0.012f, 0}, 0.034f, 0.032f, 24);
    b.Tube({0, 0.012f, 0}, {0, 0.016f, 0}, 0.033f, 0.031f, 24);
    b.Box({0, -0.004f, 0}, {0.012f, 0.004f, 0.045f});
    Face(b, 0.027f, 0.027f, 0.0165f);
    return model;
}

CMeshModel DigitalAltimeterModel()
{
    CMeshModel model;
    model.m_Name = "DigitalAltimeter";
    CGeometryBuilder b(model);
    b.Use(kCase);
    // A flat box twice as wide as tall, like its read-out.
    b.Box({0, 0.007f, 0}, {0.036f, 0.007f, 0.022f});
    b.Box({0, -0.003f, 0}, {0.012f, 0.003f, 0.03f});
    Face(b, 0.03f, 0.015f, 0.0145f);
    return model;
}

} // namespace meshgen
