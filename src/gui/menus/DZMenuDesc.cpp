#include "gui/menus/DZMenuDesc.h"

namespace sds {
namespace GuiStates {

namespace {

std::string Text(const xml::CNodePtr& node, const std::string& attribute)
{
    return node->GetAttribute(attribute)->GetValue();
}

float Number(const xml::CNodePtr& node, const std::string& attribute)
{
    return node->GetAttribute(attribute)->GetValue<float>();
}

} // namespace

CDZMenuDesc ReadDZMenuDesc(const xml::CNode& config)
{
    CDZMenuDesc desc;
    desc.PresetsPath = Text(config.GetChild("Application")->GetChild("Presets"), "Path");

    const xml::CNodePtr configuration = config.GetChild("Configuration");
    xml::ForEachChild(*configuration, "WindDirection", [&](const xml::CNodePtr& row) {
        desc.WindDirections.push_back({Text(row, "Name"), Text(row, "Path"), Text(row, "Value")});
    });
    xml::ForEachChild(*configuration, "InputType",
                      [&](const xml::CNodePtr& row) { desc.InputTypes.push_back(Text(row, "Name")); });
    xml::ForEachChild(*configuration, "MinMax", [&](const xml::CNodePtr& row) {
        CDZMenuDesc::CSpinner spinner;
        spinner.Name = Text(row, "Name");
        spinner.Units = Text(row, "Units");
        spinner.UnitLabel = Text(row, "UnitLabel");
        spinner.Min = Number(row, "Min");
        spinner.Max = Number(row, "Max");
        spinner.Value = Number(row, "Value");
        spinner.Step = Number(row, "Step");
        desc.Spinners.push_back(spinner);
    });
    desc.ScenePreset = configuration->GetChild("Preset");

    const xml::CNodePtr jumper = config.GetChild("Jumper");
    xml::ForEachChild(*jumper, "PhyParam", [&](const xml::CNodePtr& row) {
        const std::string name = Text(row, "Name");
        if (name == "ExitWeight")
            desc.ExitWeights.push_back(Number(row, "Value"));
        else if (name == "CanopySize")
            desc.CanopySizes.push_back(Number(row, "Value"));
    });
    const xml::CNodePtr defaults = jumper->GetChild("Defaults");
    desc.DefaultExitWeight = Number(defaults, "ExitWeight");
    desc.DefaultCanopySize = Number(defaults, "CanopySize");
    return desc;
}

} // namespace GuiStates
} // namespace sds
