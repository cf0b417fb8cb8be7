#pragma once

#include <map>
#include <string>

#include "gui/menus/DZMenuDesc.h"

namespace sds {
namespace GuiStates {

// The exit-weight and canopy-size boxes of a screen that sets up a jump: the
// description's values in display units, sorted, the defaults selected. A
// text typed that neither list holds keeps the last valid value.
class CJumpSettingsLists
{
public:
    CJumpSettingsLists(const std::string& weightBox, const std::string& sizeBox);

    void Fill(const CDZMenuDesc& desc);
    // Kilograms.
    float ReadWeight();
    // Square metres.
    float ReadSize();

private:
    // Display text -> kilograms or square metres.
    typedef std::map<std::string, float> CTable;

    float Read(const std::string& comboBox, const CTable& table, float& lastValid) const;

    std::string m_WeightBox;
    std::string m_SizeBox;
    CTable m_Weights;
    CTable m_Sizes;
    float m_LastWeight = 0.0f;
    float m_LastSize = 0.0f;
};

// Each spinner of the description gets its range, value and unit label in
// display units. The configured minimum is enforced when presets are applied,
// so that a preset below it shows as raised rather than refused.
void ApplySpinnerRanges(const CDZMenuDesc& desc);

} // namespace GuiStates
} // namespace sds
