#include "gui/menus/JumpSettingsLists.h"

#include <algorithm>
#include <vector>

#include "core/UnitConverter.h"
#include "gui/IGUI.h"

namespace sds {
namespace GuiStates {

CJumpSettingsLists::CJumpSettingsLists(const std::string& weightBox, const std::string& sizeBox)
    : m_WeightBox(weightBox), m_SizeBox(sizeBox)
{
}

void CJumpSettingsLists::Fill(const CDZMenuDesc& desc)
{
    const CUnitConverter& units = *CUnitConverter::GetSingleton();
    IGUI& gui = *IGUI::GetSingleton();
    auto fill = [&](const std::string& comboBox, const std::vector<float>& values, float defaultValue, CTable& table,
                    std::string (CUnitConverter::*format)(float) const) {
        table.clear();
        std::vector<std::string> texts;
        for (float value : values) {
            const std::string text = (units.*format)(value);
            texts.push_back(text);
            table[text] = value;
        }
        std::sort(texts.begin(), texts.end());
        gui.SetItems(comboBox, texts, 0);
        const std::string defaultText = (units.*format)(defaultValue);
        table[defaultText] = defaultValue;
        gui.SelectItem(comboBox, defaultText);
    };
    fill(m_WeightBox, desc.ExitWeights, desc.DefaultExitWeight, m_Weights, &CUnitConverter::FormatMass);
    fill(m_SizeBox, desc.CanopySizes, desc.DefaultCanopySize, m_Sizes, &CUnitConverter::FormatArea);
    m_LastWeight = desc.DefaultExitWeight;
    m_LastSize = desc.DefaultCanopySize;
}

float CJumpSettingsLists::ReadWeight()
{
    return Read(m_WeightBox, m_Weights, m_LastWeight);
}

float CJumpSettingsLists::ReadSize()
{
    return Read(m_SizeBox, m_Sizes, m_LastSize);
}

float CJumpSettingsLists::Read(const std::string& comboBox, const CTable& table, float& lastValid) const
{
    const auto found = table.find(IGUI::GetSingleton()->GetText(comboBox));
    if (found != table.end())
        lastValid = found->second;
    return lastValid;
}

void ApplySpinnerRanges(const CDZMenuDesc& desc)
{
    const CUnitConverter& units = *CUnitConverter::GetSingleton();
    IGUI& gui = *IGUI::GetSingleton();
    for (const CDZMenuDesc::CSpinner& spinner : desc.Spinners) {
        gui.SetSpinnerRange(spinner.Name, 0.0f, units.ConvertToDisplay(spinner.Max, spinner.Units), spinner.Step);
        // Shown as the unit settings show the value, not cut to its whole part.
        const int decimals = units.GetDecimals(spinner.Units);
        if (decimals >= 0)
            gui.SetSpinnerDecimals(spinner.Name, decimals);
        gui.SetSpinnerValue(spinner.Name, units.ConvertToDisplay(spinner.Value, spinner.Units));
        gui.SetText(spinner.UnitLabel, units.GetUnitLabel(spinner.Units));
    }
}

} // namespace GuiStates
} // namespace sds
