#include "dzgen/TutorialFiles.h"

#include <cmath>

#include "core/Helpers.h"
#include "core/Vector.h"
#include "dzgen/HomeField.h"
#include "dzgen/ZoneFile.h"

namespace dzgen {

namespace {

// What a trainee practises: where the jump starts and what the wind does.
struct CExercise
{
    const char* m_FileName;
    const char* m_FullName;
    const char* m_Configuration;
    // From the target, in metres, and the height above its ground.
    double m_Dx, m_Dz, m_Above;
    // Metres per second, blowing toward -x (into the wind for a jumper
    // flying toward +x).
    double m_WindSpeed;
    std::vector<const char*> m_Messages;
};

// Straight approaches into the wind, which every edition can fly: where one
// key drives both hands the canopy cannot be turned, only braked and flared.
const CExercise kExercises[] = {
    {"Tutorial1.Tutorial",
     "Tutorial 1: Straight in",
     "Straight approach into the wind",
     -105.0,
     0.0,
     60.0,
     3.57632,
     {"A straight approach into the wind.",
      "You start under the open canopy with the target straight ahead and the wind blowing toward you: keep your "
      "hands up and fly straight, and let the wind slow you down over the ground.",
      "At about 4 metres above the ground pull both toggles all the way down to flare, and land on the target."}},
    {"Tutorial2.Tutorial",
     "Tutorial 2: Stronger wind",
     "Straight approach into a stronger wind",
     -70.0,
     0.0,
     60.0,
     5.81152,
     {"A straight approach into a stronger wind.",
      "You start under the open canopy with the target straight ahead. The wind is stronger: over the ground you "
      "move slowly, so you start closer to the target. Keep your hands up and fly straight; braking would only "
      "let the wind carry you back.",
      "At about 4 metres above the ground pull both toggles all the way down to flare, and land on the target."}},
};

// The name and units of an "Info" row, as the presets write them.
void AddInfo(const xml::CNodePtr& preset, const char* name, const std::string& value, const char* units = nullptr)
{
    const xml::CNodePtr row = preset->AddChild("Info", value);
    row->AddAttribute("Name", name);
    if (units)
        row->AddAttribute("Units", units);
}

std::string Vector(double x, double y, double z)
{
    return sds::VectorToString(sds::CVector(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)));
}

xml::CNodePtr Preset(const CExercise& exercise)
{
    const CPoint target = CHomeField::kTarget;
    const double ground = CHomeField::Height(target.x, target.z);
    const double altitude = ground + exercise.m_Above;
    const double distance = std::hypot(exercise.m_Dx, exercise.m_Dz);

    xml::CNodePtr preset(new xml::CNode("Preset", false));
    // Under the open canopy in every edition, heading along the wind line (+x)
    // for the target: the briefing is about the approach.
    const xml::CNodePtr jumper = preset->AddChild("Jumper");
    jumper->AddAttribute("Position", Vector(target.x + exercise.m_Dx, altitude, target.z + exercise.m_Dz));
    jumper->AddAttribute("StartState", "CanopyRide");
    const xml::CNodePtr camera = preset->AddChild("Camera");
    camera->AddAttribute("Type", "camera_script1");
    camera->AddAttribute("Pos", Vector(CHomeField::kCameraPos[0], CHomeField::kCameraPos[1], CHomeField::kCameraPos[2]));
    const xml::CNodePtr wind = preset->AddChild("Wind");
    wind->AddAttribute("Enabled", "true");
    const xml::CNodePtr region = wind->AddChild("Region");
    region->AddAttribute("Name", "Layer1");
    region->AddAttribute("Direction", "-1, 0, 0");
    region->AddAttribute("Gustiness", "0.1, 0, 0");
    region->AddAttribute("Speed", sds::ToString(static_cast<float>(exercise.m_WindSpeed)));
    const xml::CNodePtr shape = region->AddChild("Shape");
    shape->AddAttribute("Position", "0, 250, 0");
    shape->AddAttribute("Orientation", "1.0, 0.0, 0.0, 0.0");
    shape->AddAttribute("Size", "5000, 1500, 5000");

    // The rows a jump started from the drop-zone menu records, in its order.
    AddInfo(preset, "Configuration", exercise.m_Configuration);
    AddInfo(preset, "Drop zone name", "Home Field");
    AddInfo(preset, "Wind direction", "Into the wind (Up wind)");
    AddInfo(preset, "Altitude", sds::ToString(static_cast<float>(altitude)), "Distance");
    AddInfo(preset, "Distance to target at altitude", sds::ToString(static_cast<float>(distance)), "Distance");
    AddInfo(preset, "Canopy size", "20.4387", "Area");
    AddInfo(preset, "Exit weight", "72.5748", "Mass");
    AddInfo(preset, "Input type", "Student");
    AddInfo(preset, "Drop zone elevation", sds::ToString(static_cast<float>(ground)), "Distance");
    AddInfo(preset, "Altimeter", "Neptune");
    AddInfo(preset, "Wind strength", sds::ToString(static_cast<float>(exercise.m_WindSpeed)), "Speed");
    return preset;
}

} // namespace

std::vector<CTutorialFile> TutorialFiles(const std::string& zoneFolder)
{
    std::vector<CTutorialFile> files;
    for (const CExercise& exercise : kExercises) {
        const xml::CNodePtr scene = ZoneFile(zoneFolder);
        scene->GetAttribute("FullName")->SetValue(exercise.m_FullName);
        scene->AddChild(Preset(exercise));
        for (const char* message : exercise.m_Messages)
            scene->AddChild("Message", message);
        files.push_back({exercise.m_FileName, scene});
    }
    return files;
}

} // namespace dzgen
