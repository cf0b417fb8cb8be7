#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "core/Vector.h"

namespace sds {

// Turns SI values (metres, kilograms, seconds, m/s) into the user's display
// units: metric, imperial, or the unconverted "Internal" system. Built by the
// application from the configuration's "UnitConverter" element.
class CUnitConverter : public CSingletonTmpl<CUnitConverter>
{
public:
    // One category of one system: shown value = value x coefficient + offset.
    struct CUnit
    {
        float Coefficient = 1.0f;
        float Offset = 0.0f;
        std::string Label;
        // boost::format pattern: %1% the converted value, %2% the label.
        std::string Format = "%1%%2%";
        // The decimals when the pattern is just "%1$.<n>f%2%" (every shipped
        // one), read once with it; -1 for any other.
        int PlainDecimals = -1;
        std::string Category;

        void SetFormat(const std::string& format);
    };

    static const char* const kCategories[8];

    struct CSystem
    {
        std::string Name;
        CUnit Units[8]; // in the order of kCategories
    };

    // Reads the systems "Metric (kg, m)" and "Imperial (lb, ft)" (both required,
    // with all eight categories) and selects the one named by "Default"; any
    // other name selects "Internal". Missing elements throw the XML layer's
    // exceptions.
    explicit CUnitConverter(const xml::CNodePtr& config);
    ~CUnitConverter() override;

    // The value in the current system; a category outside the eight gives it unchanged.
    float ConvertToDisplay(float value, const std::string& category) const;
    // The current system's label; empty for a category outside the eight.
    std::string GetUnitLabel(const std::string& category) const;
    // How many decimals the current system's format shows a value of the
    // category with ("%1$.1f%2%": 1); -1 when its format does not fix them.
    int GetDecimals(const std::string& category) const;
    // The unit's format filled with the converted value and the label.
    std::string FormatValue(const CUnit& unit, float value) const;
    // The same for a vector: the format gets the three converted components,
    // each written with its number pattern, joined by commas ("1.2,0.0,-3.4").
    std::string FormatVector(const CUnit& unit, const CVector& value) const;
    std::string FormatMass(float value) const;
    std::string FormatArea(float value) const;

    // The current system's unit of a category; the internal unit (no conversion,
    // no label) for a category outside the eight.
    const CUnit& GetUnit(const std::string& category) const;
    const std::string& GetSystemName() const { return m_Current->Name; }
    // The systems a user can choose, metric first.
    std::vector<std::string> GetSystemNames() const;
    // Makes the named system current; false, and nothing changes, for a name
    // that no system of GetSystemNames has.
    bool SelectSystem(const std::string& name);

private:
    const CUnit* FindUnit(const std::string& category) const;
    const CSystem* FindSystem(const std::string& name) const;

    const CSystem* m_Current;
    std::unique_ptr<CSystem> m_Metric;
    std::unique_ptr<CSystem> m_Imperial;
    std::unique_ptr<CSystem> m_Internal;
};

} // namespace sds
