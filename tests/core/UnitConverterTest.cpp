#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include <boost/format.hpp>

#include "core/ResourceMgr.h"
#include "core/UnitConverter.h"
#include "support/MessageCapture.h"

using sds::CUnitConverter;

namespace {

// The "UnitConverter" element of the default configuration, with "Default" set.
xml::CNodePtr DefaultConfig(const std::string& system)
{
    CMessageCapture quiet;
    sds::CResourceMgr resources;
    const xml::CNodePtr config =
        resources.LoadDefaultXml("../conf/conf.xml")->GetChild("sds")->GetChild("UnitConverter");
    config->GetAttribute("Default")->SetValue(system);
    return config;
}

} // namespace

TEST(UnitConverter, ImperialFromTheDefaultConfiguration)
{
    CUnitConverter units(DefaultConfig("Imperial (lb, ft)"));
    EXPECT_EQ(&units, CUnitConverter::GetSingleton());
    EXPECT_FLOAT_EQ(22.3693629f, units.ConvertToDisplay(10.0f, "Speed"));
    EXPECT_EQ("22.4mph", units.FormatValue(units.GetUnit("Speed"), 10.0f));
    EXPECT_FLOAT_EQ(68.0f, units.ConvertToDisplay(20.0f, "Temperature"));
    EXPECT_FLOAT_EQ(328.08399f, units.ConvertToDisplay(100.0f, "Distance"));
    EXPECT_EQ("176lb", units.FormatMass(80.0f));
    EXPECT_EQ("220ft2", units.FormatArea(20.438669f));
    EXPECT_EQ("ft", units.GetUnitLabel("Distance"));
    EXPECT_EQ("", units.GetUnitLabel("WingLoading"));
    EXPECT_FLOAT_EQ(5.0f, units.ConvertToDisplay(5.0f, "Furlongs"));
    EXPECT_EQ("", units.GetUnitLabel("Furlongs"));
}

TEST(UnitConverter, Metric)
{
    CUnitConverter units(DefaultConfig("Metric (kg, m)"));
    EXPECT_EQ("Metric (kg, m)", units.GetSystemName());
    EXPECT_EQ("80kg", units.FormatMass(80.0f));
    EXPECT_EQ("36.0km/h", units.FormatValue(units.GetUnit("Speed"), 10.0f));
    EXPECT_EQ("100.0m", units.FormatValue(units.GetUnit("Distance"), 100.0f));
    // The decimals the formats show, which spinners show too.
    for (const auto& [category, decimals] :
         {std::pair<const char*, int>{"Distance", 1}, {"Speed", 1}, {"Mass", 0}, {"WingLoading", 2}, {"Furlongs", -1}})
        EXPECT_EQ(decimals, units.GetDecimals(category)) << category;
    EXPECT_EQ(-1, CUnitConverter(DefaultConfig("Internal")).GetDecimals("Distance")) << "\"%1%%2%\" fixes none";
}

TEST(UnitConverter, UnknownDefaultSelectsInternal)
{
    for (const char* name : {"Internal", "imperial (lb, ft)", ""}) {
        CUnitConverter units(DefaultConfig(name));
        EXPECT_EQ("Internal", units.GetSystemName()) << name;
        for (const char* category : CUnitConverter::kCategories) {
            EXPECT_FLOAT_EQ(20.0f, units.ConvertToDisplay(20.0f, category)) << category;
            EXPECT_EQ("", units.GetUnitLabel(category)) << category;
        }
        EXPECT_EQ("80", units.FormatMass(80.0f));
    }
}

TEST(UnitConverter, UserChoosesBetweenMetricAndImperialOnly)
{
    CUnitConverter units(DefaultConfig("Imperial (lb, ft)"));
    EXPECT_EQ(std::vector<std::string>({"Metric (kg, m)", "Imperial (lb, ft)"}), units.GetSystemNames());
    EXPECT_TRUE(units.SelectSystem("Metric (kg, m)"));
    EXPECT_EQ("80kg", units.FormatMass(80.0f));
    for (const char* name : {"Internal", "Furlongs", ""}) {
        EXPECT_FALSE(units.SelectSystem(name)) << name;
        EXPECT_EQ("Metric (kg, m)", units.GetSystemName()) << name;
    }
}

TEST(UnitConverter, MissingPartsThrow)
{
    xml::CNodePtr noImperial = DefaultConfig("Metric (kg, m)");
    noImperial->RemoveChild(noImperial->GetChildById("System", "Imperial (lb, ft)", "Name,Id"));
    EXPECT_THROW(CUnitConverter units(noImperial), xml::CNoNodeException);

    xml::CNodePtr noSpeed = DefaultConfig("Metric (kg, m)");
    const xml::CNodePtr metric = noSpeed->GetChildById("System", "Metric (kg, m)", "Name,Id");
    metric->RemoveChild(metric->GetChild("Speed"));
    EXPECT_THROW(CUnitConverter units(noSpeed), xml::CNoNodeException);
    EXPECT_EQ(nullptr, CUnitConverter::GetSingleton());
}

// Whatever the pattern, a value is written as boost::format writes the unit's
// pattern, the plain fixed-point patterns of the shipped units among them.
TEST(UnitConverter, ValuesAreWrittenAsTheirPatternSays)
{
    const CUnitConverter units(DefaultConfig("Metric (kg, m)"));
    const float values[] = {0.0f,    -0.0f,  0.05f,  0.25f,   2.5f,     -2.35f, 0.999f,
                            1e7f,    1e30f,  -3e38f, 123.456f, std::numeric_limits<float>::quiet_NaN(),
                            INFINITY, -INFINITY};
    const char* const patterns[] = {"%1$.0f%2%", "%1$.1f%2%", "%1$.2f%2%", "%1$.12f%2%", "%1%%2%",
                                    "%2% %1$.1f", "%1$5.1f%2%", "%1$.1e%2%", "%1$.f%2%", "%1$.1f %2%"};
    CUnitConverter::CUnit unit;
    unit.Coefficient = 3.6f;
    unit.Offset = 1.0f;
    unit.Label = "km/h";
    for (const char* pattern : patterns)
        for (const float value : values) {
            unit.SetFormat(pattern);
            const std::string expected = (boost::format(pattern) % (value * 3.6f + 1.0f) % "km/h").str();
            EXPECT_EQ(expected, units.FormatValue(unit, value)) << pattern << " of " << value;
        }
}
