// The jump aircraft: a high-wing single-engine aircraft, nose +x, up +y,
// its origin on the fuselage's axis under the wing; the jump door on the
// left (−z) side behind the wing's strut.

#include "meshgen/Models.h"

#include "meshgen/ModelBuilder.h"

namespace meshgen {

CMeshModel AirplaneModel()
{
    CMeshModel model;
    model.m_Name = "Airplane";
    CGeometryBuilder b(model);
    b.Use("Dravonkel/Airplane");
    // Fuselage: cabin, tapering tail boom, engine cowling.
    b.Tube({-1.8f, 0, 0}, {3.2f, 0, 0}, 0.85f, 0.85f, 16);
    b.Tube({-6.2f, 0.35f, 0}, {-1.8f, 0, 0}, 0.18f, 0.85f, 16);
    b.Tube({3.2f, 0, 0}, {4.6f, -0.05f, 0}, 0.85f, 0.55f, 16);
    // The high wing on the cabin roof, 16 m of span, and its struts.
    b.Box({0.6f, 1.0f, 0}, {0.85f, 0.08f, 8.0f});
    for (const float side : {-1.0f, 1.0f})
        b.Tube({0.7f, -0.55f, side * 0.8f}, {0.7f, 0.93f, side * 3.4f}, 0.05f, 0.05f, 8);
    // Tail: stabiliser and fin.
    b.Box({-5.7f, 0.4f, 0}, {0.55f, 0.05f, 2.6f});
    b.Box({-5.8f, 1.35f, 0}, {0.6f, 1.0f, 0.05f});
    // Landing gear: two main wheels on legs and the nose wheel.
    b.Use("Dravonkel/AirplaneTrim");
    for (const float side : {-1.0f, 1.0f}) {
        b.Tube({-0.3f, -0.7f, side * 0.6f}, {-0.3f, -1.45f, side * 1.5f}, 0.06f, 0.06f, 8);
        b.Ellipsoid({-0.3f, -1.55f, side * 1.55f}, {0.32f, 0.32f, 0.12f});
    }
    b.Tube({3.8f, -0.6f, 0}, {3.8f, -1.4f, 0}, 0.05f, 0.05f, 8);
    b.Ellipsoid({3.8f, -1.55f, 0}, {0.25f, 0.25f, 0.1f});
    // Propeller spinner and blades.
    b.Ellipsoid({4.75f, -0.05f, 0}, {0.35f, 0.3f, 0.3f});
    b.Box({4.85f, -0.05f, 0}, {0.03f, 1.1f, 0.09f});
    // Windows along the cabin, the windscreen, and the open jump door.
    for (const float side : {-1.0f, 1.0f})
        for (const float x : {0.6f, 1.8f})
            b.Box({x, 0.35f, side * 0.83f}, {0.4f, 0.22f, 0.03f});
    b.Box({2.95f, 0.45f, 0}, {0.05f, 0.3f, 0.6f});
    b.Use("Dravonkel/AirplaneDoor");
    b.Box({-0.9f, -0.05f, -0.83f}, {0.55f, 0.6f, 0.03f});
    return model;
}

} // namespace meshgen
