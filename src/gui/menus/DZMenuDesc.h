#pragma once

#include <string>
#include <vector>

#include "core/Node.h"

namespace sds {
namespace GuiStates {

// What the drop-zone menu reads of the configuration. Numbers are in SI units
// (metres, metres per second, kilograms, square metres) unless said otherwise.
struct CDZMenuDesc
{
    // A spinner's range and first value ("Configuration"/"MinMax").
    struct CSpinner
    {
        std::string Name;
        std::string Units;     // unit category, "Speed" or "Distance"
        std::string UnitLabel; // the static text that shows the unit
        float Min = 0.0f;
        float Max = 0.0f;
        float Value = 0.0f;
        float Step = 1.0f; // in display units
    };
    // A wind direction on offer: the text shown, and the text written at
    // `Path` of the jump's scene preset.
    struct CWindDirection
    {
        std::string Name;
        std::string Path;
        std::string Value;
    };

    std::string PresetsPath;
    std::vector<CWindDirection> WindDirections;
    std::vector<std::string> InputTypes;
    std::vector<CSpinner> Spinners;
    std::vector<float> ExitWeights;
    std::vector<float> CanopySizes;
    float DefaultExitWeight = 0.0f;
    float DefaultCanopySize = 0.0f;
    // The template of the jump's scene preset ("Configuration"/"Preset").
    xml::CNodePtr ScenePreset;
};

// Reads it from the configuration root; a missing element or attribute, or a
// number that is not one, throws the XML layer's exception.
CDZMenuDesc ReadDZMenuDesc(const xml::CNode& config);

} // namespace GuiStates
} // namespace sds
