#include "dzgen/HomeField.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace dzgen {

namespace {

const double kPi = 3.14159265358979323846;

double SmoothStep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double Lattice(std::int64_t x, std::int64_t z, std::uint32_t seed)
{
    std::uint64_t h = static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(z) * 0xC2B2AE3D27D4EB4Full ^
                      static_cast<std::uint64_t>(seed) * 0x165667B19E3779F9ull;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return static_cast<double>(h >> 11) / static_cast<double>(1ull << 53);
}

// Smooth value noise in [0, 1].
double Noise(double x, double z, std::uint32_t seed)
{
    const double fx = std::floor(x), fz = std::floor(z);
    const auto ix = static_cast<std::int64_t>(fx), iz = static_cast<std::int64_t>(fz);
    const double tx = SmoothStep(0, 1, x - fx), tz = SmoothStep(0, 1, z - fz);
    const double a = Lattice(ix, iz, seed), b = Lattice(ix + 1, iz, seed);
    const double c = Lattice(ix, iz + 1, seed), d = Lattice(ix + 1, iz + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * tz;
}

double Distance(const CPoint& p, double x, double z)
{
    return std::hypot(x - p.x, z - p.z);
}

// The minimal-standard generator (48271 mod 2^31 - 1), seeded: the same
// trees on every run.
class CRandom
{
public:
    explicit CRandom(std::uint32_t seed) : m_State(seed % 2147483647u ? seed % 2147483647u : 1) {}
    double Unit()
    {
        m_State = static_cast<std::uint32_t>((static_cast<std::uint64_t>(m_State) * 48271u) % 2147483647u);
        return static_cast<double>(m_State) / 2147483647.0;
    }
    double Range(double low, double high) { return low + (high - low) * Unit(); }

private:
    std::uint32_t m_State;
};

CObjectPlacement Place(const std::string& mesh, double x, double z, CRandom& random)
{
    // Sunk a little, so that a trunk on a slope does not float.
    return {mesh, x, CHomeField::Height(x, z) - 0.2, z, static_cast<float>(random.Range(0.8, 1.3)),
            static_cast<float>(random.Range(0, 360))};
}

} // namespace

constexpr double CHomeField::kCameraPos[3];

const CRect CHomeField::kRunway{-700.0, -265.0, 500.0, -235.0};
const CRect CHomeField::kApron{300.0, -235.0, 480.0, -150.0};
const CRect CHomeField::kMownArea{40.0, -60.0, 260.0, 160.0};
const std::vector<CRect> CHomeField::kFields{{-600.0, -180.0, -330.0, 30.0},  {-300.0, -560.0, -60.0, -340.0},
                                             {120.0, -620.0, 420.0, -380.0},  {520.0, -120.0, 700.0, 180.0},
                                             {-560.0, 480.0, -300.0, 640.0}, {380.0, 420.0, 620.0, 560.0}};
const CPoint CHomeField::kTarget{150.0, 50.0};
const CPoint CHomeField::kPond{-380.0, 320.0};
const CPoint CHomeField::kHangar{420.0, -190.0};
const CPoint CHomeField::kClubHouse{330.0, -175.0};

double CRect::Distance(double x, double z) const
{
    const double dx = std::max({x0 - x, 0.0, x - x1});
    const double dz = std::max({z0 - z, 0.0, z - z1});
    return std::hypot(dx, dz);
}

double CHomeField::Height(double x, double z)
{
    // Rolling ground of about ±10 m, rising into hills toward the edges.
    const double rolling = 22.0 * (Noise(x / 380.0, z / 380.0, 7) - 0.5) + 7.0 * (Noise(x / 120.0, z / 120.0, 8) - 0.5) +
                           1.2 * (Noise(x / 35.0, z / 35.0, 9) - 0.5);
    const double edge = std::max(std::fabs(x), std::fabs(z));
    const double hills = SmoothStep(620.0, 980.0, edge) * (30.0 + 25.0 * Noise(x / 260.0, z / 260.0, 10));
    double height = rolling + hills;

    // Level ground for the runway, the apron and the landing area.
    const double level = std::max({1.0 - SmoothStep(0.0, 70.0, kRunway.Distance(x, z)),
                                   1.0 - SmoothStep(0.0, 50.0, kApron.Distance(x, z)),
                                   1.0 - SmoothStep(kLandingRadius, kLandingRadius + 90.0, Distance(kTarget, x, z))});
    height *= 1.0 - level;

    // The pond: a shore a little above the water, a bowl below it.
    const double pond = Distance(kPond, x, z);
    const double shore = 1.0 - SmoothStep(kPondRadius, kPondRadius + 60.0, pond);
    height = height * (1.0 - shore) + 1.2 * shore;
    const double bowl = 1.0 - SmoothStep(0.0, kPondRadius, pond);
    return height - 5.0 * std::sin(bowl * kPi / 2);
}

ESurface CHomeField::SurfaceAt(double x, double z)
{
    if (kRunway.Contains(x, z))
        return ESurface::Runway;
    if (Distance(kPond, x, z) < kPondRadius + 10.0 && Height(x, z) < kWaterLevel + 0.6)
        return ESurface::Sand;
    if (kMownArea.Contains(x, z))
        return ESurface::LandingArea;
    for (const CRect& field : kFields) {
        if (field.Contains(x, z))
            return ESurface::Field;
    }
    return ESurface::Grass;
}

bool CHomeField::IsFreeForTrees(double x, double z)
{
    for (const CRect& field : kFields) {
        if (field.Distance(x, z) < 6.0)
            return false;
    }
    return kRunway.Distance(x, z) > 40.0 && kApron.Distance(x, z) > 25.0 && kMownArea.Distance(x, z) > 30.0 &&
           Distance(kTarget, x, z) > kLandingRadius + 80.0 && Distance(kPond, x, z) > kPondRadius + 15.0 &&
           Distance(kHangar, x, z) > 40.0 && Distance(kClubHouse, x, z) > 25.0 &&
           std::max(std::fabs(x), std::fabs(z)) < kMax - 5.0;
}

std::vector<CObjectPlacement> CHomeField::Trees()
{
    CRandom random(20100612);
    std::vector<CObjectPlacement> trees;
    // Single trees and small groups over the whole field.
    for (int group = 0; group < 260; ++group) {
        const double cx = random.Range(kMin + 20, kMax - 20), cz = random.Range(kMin + 20, kMax - 20);
        const int size = 1 + static_cast<int>(random.Unit() * 4);
        for (int i = 0; i < size; ++i) {
            const double x = cx + random.Range(-18, 18), z = cz + random.Range(-18, 18);
            if (IsFreeForTrees(x, z))
                trees.push_back(Place("Tree.mesh", x, z, random));
        }
    }
    // Groups round the landing area, just outside it.
    for (int group = 0; group < 40; ++group) {
        const double angle = random.Range(0, 2 * kPi);
        const double distance = random.Range(kLandingRadius + 90.0, kLandingRadius + 200.0);
        const double cx = kTarget.x + distance * std::cos(angle), cz = kTarget.z + distance * std::sin(angle);
        const int size = 2 + static_cast<int>(random.Unit() * 5);
        for (int i = 0; i < size; ++i) {
            const double x = cx + random.Range(-15, 15), z = cz + random.Range(-15, 15);
            if (IsFreeForTrees(x, z))
                trees.push_back(Place("Tree.mesh", x, z, random));
        }
    }
    // A row along the road north-east of the landing area, below the camera.
    for (double x = 250.0; x <= 450.0; x += 15.0) {
        const double z = 0.6 * (x - 250.0) + 250.0 + random.Range(-3, 3);
        if (IsFreeForTrees(x, z))
            trees.push_back(Place("Tree.mesh", x, z, random));
    }
    return trees;
}

std::vector<CObjectPlacement> CHomeField::Woods()
{
    CRandom random(19740321);
    std::vector<CObjectPlacement> woods;
    // Belts of wood inside the hills of the edges, thinning toward the field.
    for (int i = 0; i < 5200; ++i) {
        const double x = random.Range(kMin + 5, kMax - 5), z = random.Range(kMin + 5, kMax - 5);
        const double edge = std::max(std::fabs(x), std::fabs(z));
        const double density = SmoothStep(560.0, 820.0, edge) * (0.35 + 0.65 * Noise(x / 150.0, z / 150.0, 12));
        if (random.Unit() > density || !IsFreeForTrees(x, z))
            continue;
        woods.push_back(Place(random.Unit() < 0.7 ? "Pine.mesh" : "Tree.mesh", x, z, random));
    }
    // A copse west of the landing area.
    for (int i = 0; i < 60; ++i) {
        const double x = -160.0 + random.Range(-45, 45), z = 120.0 + random.Range(-45, 45);
        if (IsFreeForTrees(x, z))
            woods.push_back(Place(random.Unit() < 0.5 ? "Pine.mesh" : "Tree.mesh", x, z, random));
    }
    return woods;
}

std::vector<CObjectPlacement> CHomeField::Buildings()
{
    return {{"Hangar.mesh", kHangar.x, Height(kHangar.x, kHangar.z), kHangar.z, 1.0f, 180.0f},
            {"ClubHouse.mesh", kClubHouse.x, Height(kClubHouse.x, kClubHouse.z), kClubHouse.z, 1.0f, 0.0f}};
}

} // namespace dzgen
