#include "dzgen/ZoneFile.h"

#include <initializer_list>
#include <utility>

#include "core/Helpers.h"
#include "core/Vector.h"
#include "dzgen/HomeField.h"

namespace dzgen {

namespace {

typedef std::initializer_list<std::pair<const char*, std::string>> CAttributes;

xml::CNodePtr Add(const xml::CNodePtr& parent, const std::string& name, CAttributes attributes = {})
{
    xml::CNodePtr child = parent->AddChild(name);
    for (const auto& attribute : attributes)
        child->AddAttribute(attribute.first, attribute.second);
    return child;
}

std::string Vector(double x, double y, double z)
{
    return sds::VectorToString(sds::CVector(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)));
}

// A point of the ground, at its height plus `above`.
std::string OnGround(const CPoint& p, double above = 0)
{
    return Vector(p.x, CHomeField::Height(p.x, p.z) + above, p.z);
}

// A node element's "position" child.
void Position(const xml::CNodePtr& node, double x, double y, double z)
{
    Add(node, "position", {{"x", sds::ToString(static_cast<float>(x))},
                           {"y", sds::ToString(static_cast<float>(y))},
                           {"z", sds::ToString(static_cast<float>(z))}});
}

void Colour(const xml::CNodePtr& node, const char* name, float r, float g, float b)
{
    Add(node, name, {{"r", sds::ToString(r)}, {"g", sds::ToString(g)}, {"b", sds::ToString(b)}});
}

void AddSky(const xml::CNodePtr& scene)
{
    const xml::CNodePtr caelum = Add(scene, "Caelum",
                                     {{"Enabled", "true"},
                                      {"ManageSceneFog", "true"},
                                      {"SceneFogDensityMultiplier", "0.0006"},
                                      {"ManageAmbientLight", "true"},
                                      {"GroundFogEnabled", "false"},
                                      {"HazeEnabled", "true"},
                                      {"TimeScale", "1"},
                                      {"UpdateRate", "0.5"}});
    for (const char* component :
         {"CAELUM_COMPONENT_SKY_COLOUR_MODEL", "CAELUM_COMPONENT_SUN", "CAELUM_COMPONENT_SOLAR_SYSTEM_MODEL",
          "CAELUM_COMPONENT_SKY_DOME", "CAELUM_COMPONENT_STARFIELD", "CAELUM_COMPONENT_CLOUDS"})
        Add(caelum, component);
    Add(caelum, "Sun",
        {{"AmbientMultiplier", "0.45, 0.45, 0.5"},
         {"DiffuseMultiplier", "1.1, 1.05, 1"},
         {"SpecularMultiplier", "0.6, 0.6, 0.6"},
         {"AutoDisable", "true"},
         {"AutoDisableThreshold", "0.05"}});
    Add(caelum, "Moon", {{"AutoDisable", "true"}, {"AutoDisableThreshold", "0.05"}});
    Add(caelum, "Clouds", {{"Speed", "0.000025, -0.00002, 0"}, {"BlendTime", "3600"}, {"Cover", "0.3"}});
    // A summer afternoon: 14:30 local time, two hours ahead of universal time.
    Add(caelum, "Time",
        {{"Seconds", "0"}, {"Minutes", "30"}, {"Hour", "14"}, {"TimeZone", "2"}, {"Day", "21"}, {"Month", "6"},
         {"Year", "2010"}});
    Add(caelum, "SolarSystem",
        {{"ObserverLongitude", "8.5"}, {"ObserverLatitude", "47.4"}, {"StarfieldInclination", "13"}});

    // The scene's own sky, for drawing without shaders: the sky box, as in
    // every scene of the program.
    Add(scene, "SkyBox", {{"Distance", "4000"}, {"Material", "Sky/SkyBox"}});
    const xml::CNodePtr sun = Add(scene, "SunLight", {{"name", "HomeFieldSun"}});
    const xml::CNodePtr light = Add(sun, "light", {{"name", "HomeFieldSunLight"}, {"type", "directional"}, {"castShadows", "true"}});
    Colour(light, "colourDiffuse", 0.95f, 0.92f, 0.85f);
    Colour(light, "colourSpecular", 0.5f, 0.5f, 0.5f);
    Add(light, "direction", {{"x", "-0.45"}, {"y", "-0.75"}, {"z", "-0.5"}});
}

// The buildings are surface objects of their own, so that they are solid:
// drawn in static pages as far as the zone reaches, their collision meshes
// baked as a jumper nears them.
void AddBuildings(const xml::CNodePtr& terrain)
{
    Add(terrain, "Object",
        {{"Name", "Buildings"},
         {"SurfaceObjectSaturation", "1"},
         {"StaticDist", "3000"},
         {"BatchDist", "0"},
         {"ImpostersDist", "0"},
         {"GenerateCollisions", "true"},
         {"LogInfo", "false"},
         {"CollisionMeshesDist", "60"}});
}

void AddTerrain(const xml::CNodePtr& scene, const std::string& zoneFolder)
{
    const xml::CNodePtr terrain = Add(scene, "Terrain",
                                      {{"Path", zoneFolder},
                                       {"TerrainTiles", "HomeField.tiles"},
                                       {"TerrainLod0Distance", "3000"},
                                       {"DeepestPoint", sds::ToString(static_cast<float>(CHomeField::kDeepestPoint))},
                                       {"Name", "HomeField"},
                                       {"DistanceToTileForCollisionMultiplier", "1.5"}});
    Add(terrain, "Object",
        {{"Name", "Trees"},
         {"SurfaceObjectSaturation", "1"},
         {"StaticDist", "150"},
         {"BatchDist", "400"},
         {"ImpostersDist", "2500"},
         {"GenerateCollisions", "true"},
         {"LogInfo", "false"},
         {"CollisionMeshesDist", "60"}});
    Add(terrain, "Object",
        {{"Name", "Woods"},
         {"SurfaceObjectSaturation", "1"},
         {"StaticDist", "120"},
         {"BatchDist", "350"},
         {"ImpostersDist", "2500"},
         {"GenerateCollisions", "true"},
         {"LogInfo", "false"},
         {"CollisionMeshesDist", "50"}});
    AddBuildings(terrain);
}

void AddNodes(const xml::CNodePtr& scene)
{
    const xml::CNodePtr nodes = Add(scene, "nodes");
    const xml::CNodePtr lamp = Add(nodes, "node", {{"name", "HangarLamp"}});
    Position(lamp, CHomeField::kHangar.x, 9.0, CHomeField::kHangar.z - 17.0);
    const xml::CNodePtr light = Add(lamp, "light", {{"name", "HangarLampLight"}, {"type", "point"}, {"castShadows", "false"}});
    Colour(light, "colourDiffuse", 1.0f, 0.9f, 0.7f);
    Add(light, "lightAttenuation", {{"range", "60"}, {"constant", "1"}, {"linear", "0.02"}, {"quadratic", "0.002"}});

    // Lights along the runway's threshold, one billboard each; the node stays put.
    const xml::CNodePtr lights = Add(nodes, "node", {{"name", "ThresholdLights"}});
    Position(lights, CHomeField::kRunway.x0, 0.0, 0.0);
    const xml::CNodePtr set =
        Add(lights, "billboardSet", {{"type", "bottom_center"}, {"name", "HomeField/Flare"}, {"width", "2"}, {"height", "2"}});
    for (double z = CHomeField::kRunway.z0; z <= CHomeField::kRunway.z1 + 0.1; z += 5.0) {
        const xml::CNodePtr billboard = Add(set, "billboard");
        Position(billboard, 0.0, CHomeField::Height(CHomeField::kRunway.x0, z) + 0.2, z);
        Colour(billboard, "colourDiffuse", 0.4f, 1.0f, 0.4f);
    }

    // A smoke flare at the edge of the landing area shows the wind.
    const xml::CNodePtr smoke = Add(nodes, "node", {{"name", "SmokeFlare"}});
    const CPoint flare{CHomeField::kTarget.x - 95.0, CHomeField::kTarget.z - 40.0};
    Position(smoke, flare.x, CHomeField::Height(flare.x, flare.z) + 0.3, flare.z);
    Add(smoke, "particlesystem", {{"name", "SmokeFlare"}, {"script", "HomeField/Smoke"}});
}

void AddLevelObjects(const xml::CNodePtr& scene)
{
    const CPoint target = CHomeField::kTarget;
    Add(scene, "Target",
        {{"File", "../data/physics/Target.phs"}, {"Position", OnGround(target)}, {"Orientation", "1, 0, 0, 0"},
         {"Material", "Target"}});
    Add(scene, "SimObj",
        {{"File", "../data/physics/TrafficCone.phs"}, {"Position", OnGround({target.x - 25.0, target.z - 12.0})},
         {"Orientation", "1, 0, 0, 0"}});
    Add(scene, "SimObj",
        {{"File", "../data/physics/Barrel.phs"}, {"Position", OnGround({target.x + 30.0, target.z + 20.0})},
         {"Orientation", "1, 0, 0, 0"}});
    Add(scene, "WindSock",
        {{"File", "../data/physics/WindSock.phs"}, {"Position", OnGround({target.x + 70.0, target.z - 45.0})},
         {"Orientation", "1, 0, 0, 0"}});
    Add(scene, "WindSock",
        {{"File", "../data/physics/WindSock.phs"}, {"Position", OnGround({-150.0, CHomeField::kRunway.z1 + 25.0})},
         {"Orientation", "1, 0, 0, 0"}});
    for (const CPoint& tree : {CPoint{-60.0, 160.0}, CPoint{-45.0, 185.0}, CPoint{380.0, 40.0}, CPoint{395.0, 70.0}})
        Add(scene, "Tree", {{"Pos", OnGround(tree, -0.2)}, {"Scale", "1.1, 1.1, 1.1"}});
    Add(scene, "Airplane");
    Add(scene, "Stream", {{"Name", "BgMusic"}, {"File", "../data/sounds/wind.ogg"}, {"Loop", "1"}});
}

} // namespace

xml::CNodePtr ZoneFile(const std::string& zoneFolder)
{
    xml::CNodePtr scene(new xml::CNode("scene", false));
    scene->AddAttribute("FullName", "Home Field");
    scene->AddAttribute("AmbientColor", "0.45, 0.45, 0.5");
    Add(scene, "GroundLevel", {{"Value", "30"}});
    Add(scene, "Camera",
        {{"Pos", Vector(CHomeField::kCameraPos[0], CHomeField::kCameraPos[1], CHomeField::kCameraPos[2])}});
    Add(scene, "FileSystem", {{"Path", zoneFolder.substr(0, zoneFolder.size() - 1)}});
    AddTerrain(scene, zoneFolder);
    Add(scene, "Fog", {{"Color", "0.74, 0.8, 0.88"}, {"LinearStart", "300"}, {"LinearEnd", "2500"}, {"Density", "0.0006"}});
    AddSky(scene);
    AddNodes(scene);
    AddLevelObjects(scene);
    return scene;
}

} // namespace dzgen
