#pragma once

#include <string>
#include <vector>

namespace dzgen {

// A point of the ground plane.
struct CPoint
{
    double x = 0;
    double z = 0;
};

// An axis-aligned rectangle of the ground plane.
struct CRect
{
    double x0, z0, x1, z1;

    bool Contains(double x, double z) const { return x >= x0 && x <= x1 && z >= z0 && z <= z1; }
    // 0 inside.
    double Distance(double x, double z) const;
};

// One placed surface object in world coordinates.
struct CObjectPlacement
{
    std::string m_Mesh;
    double x, y, z;
    float m_Scale;
    float m_Yaw;
};

// What the ground is made of, one sub-mesh and one material each.
enum class ESurface
{
    Grass,
    Runway,
    Sand,
    // The mown square round the target.
    LandingArea,
    // Crops on the farmland round the airfield.
    Field
};

// The default drop zone, "Home Field": about 2 km square of gently rolling
// grass with a runway, a flat landing area round the target, a pond, a
// hangar and a club house, hills rising at the edges, and trees. Everything
// is made from one seeded height field, so the generator and the tests agree
// on every height.
class CHomeField
{
public:
    static constexpr double kMin = -1000.0;
    static constexpr double kMax = 1000.0;
    static constexpr double kTileSize = 250.0;
    static constexpr int kTiles = 8;
    // Spacing of the terrain's grid.
    static constexpr double kCell = 5.0;
    // Edge of a tile of surface objects.
    static constexpr double kObjectTileSize = 125.0;
    static constexpr int kObjectTiles = 16;
    static constexpr double kWaterLevel = -0.8;
    static constexpr double kDeepestPoint = -20.0;

    static const CRect kRunway;
    static const CRect kApron;
    static const CRect kMownArea;
    static const std::vector<CRect> kFields;
    static const CPoint kTarget;
    static constexpr double kLandingRadius = 120.0;
    static const CPoint kPond;
    static constexpr double kPondRadius = 70.0;
    static const CPoint kHangar;
    static const CPoint kClubHouse;
    // Where the zone's camera stands, facing the landing area.
    static constexpr double kCameraPos[3] = {330.0, 85.0, 270.0};

    // The height of the ground at a point, in metres.
    static double Height(double x, double z);
    // The surface of the terrain cell whose centre is the point.
    static ESurface SurfaceAt(double x, double z);
    // Whether a tree may stand at the point: off the runway, the apron, the
    // landing area, the fields, the pond and the buildings.
    static bool IsFreeForTrees(double x, double z);

    // The two sets of surface objects: "Trees", broadleaf trees scattered over
    // the field, and "Woods", belts of pines and broadleaf trees toward the edges.
    static std::vector<CObjectPlacement> Trees();
    static std::vector<CObjectPlacement> Woods();
    // The set "Buildings": the hangar, its door toward the runway, and the
    // club house, on the ground; solid, like the trees.
    static std::vector<CObjectPlacement> Buildings();
};

} // namespace dzgen
