#include "core/UnitConverter.h"

#include <cctype>
#include <cstdio>
#include <ostream>
#include <string>

#include <boost/format.hpp>

namespace sds {

namespace {

const char* const kMetricName = "Metric (kg, m)";
const char* const kImperialName = "Imperial (lb, ft)";
const char* const kInternalName = "Internal";

std::unique_ptr<CUnitConverter::CSystem> ReadSystem(const xml::CNode& config, const std::string& name)
{
    const xml::CNodePtr node = config.GetChildById("System", name, "Name,Id");
    std::unique_ptr<CUnitConverter::CSystem> system(new CUnitConverter::CSystem);
    system->Name = node->GetAttribute("Name")->GetValue();
    for (int i = 0; i < 8; ++i) {
        const xml::CNodePtr unitNode = node->GetChild(CUnitConverter::kCategories[i]);
        CUnitConverter::CUnit& unit = system->Units[i];
        unit.Coefficient = unitNode->GetAttribute<float>("Coef", 1.0f);
        unit.Offset = unitNode->GetAttribute<float>("Offset", 0.0f);
        unit.Label = unitNode->GetAttribute("Units")->GetValue();
        unit.SetFormat(unitNode->GetAttribute<std::string>("Format", "%1%%2%"));
        unit.Category = unitNode->GetName();
    }
    return system;
}

// The decimals of a "%1$.<n>f%2%" pattern; -1 for any other.
int PlainFixedDecimals(const std::string& format)
{
    const std::size_t size = format.size();
    if (size < 9 || size > 10 || format.compare(0, 4, "%1$.") != 0 || format.compare(size - 4, 4, "f%2%") != 0)
        return -1;
    int decimals = 0;
    for (std::size_t i = 4; i < size - 4; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(format[i])))
            return -1;
        decimals = decimals * 10 + (format[i] - '0');
    }
    return decimals;
}

std::unique_ptr<CUnitConverter::CSystem> MakeInternalSystem()
{
    std::unique_ptr<CUnitConverter::CSystem> system(new CUnitConverter::CSystem);
    system->Name = kInternalName;
    for (int i = 0; i < 8; ++i)
        system->Units[i].Category = CUnitConverter::kCategories[i];
    return system;
}

} // namespace

const char* const CUnitConverter::kCategories[8] = {"Distance", "Temperature", "Area", "Volume",
                                                     "Mass", "Speed", "Time", "WingLoading"};

CUnitConverter::CUnitConverter(const xml::CNodePtr& config)
    : m_Current(nullptr)
{
    m_Metric = ReadSystem(*config, kMetricName);
    m_Imperial = ReadSystem(*config, kImperialName);
    m_Internal = MakeInternalSystem();

    const CSystem* chosen = FindSystem(config->GetAttribute("Default")->GetValue());
    m_Current = chosen ? chosen : m_Internal.get();
}

CUnitConverter::~CUnitConverter() = default;

const CUnitConverter::CSystem* CUnitConverter::FindSystem(const std::string& name) const
{
    if (name == m_Metric->Name)
        return m_Metric.get();
    if (name == m_Imperial->Name)
        return m_Imperial.get();
    return nullptr;
}

std::vector<std::string> CUnitConverter::GetSystemNames() const
{
    return {m_Metric->Name, m_Imperial->Name};
}

bool CUnitConverter::SelectSystem(const std::string& name)
{
    const CSystem* system = FindSystem(name);
    if (system)
        m_Current = system;
    return system != nullptr;
}

const CUnitConverter::CUnit* CUnitConverter::FindUnit(const std::string& category) const
{
    for (int i = 0; i < 8; ++i)
        if (category == kCategories[i])
            return &m_Current->Units[i];
    return nullptr;
}

const CUnitConverter::CUnit& CUnitConverter::GetUnit(const std::string& category) const
{
    const CUnit* unit = FindUnit(category);
    if (unit)
        return *unit;
    static const CUnit kNoConversion;
    return kNoConversion;
}

float CUnitConverter::ConvertToDisplay(float value, const std::string& category) const
{
    const CUnit* unit = FindUnit(category);
    return unit ? value * unit->Coefficient + unit->Offset : value;
}

std::string CUnitConverter::GetUnitLabel(const std::string& category) const
{
    const CUnit* unit = FindUnit(category);
    return unit ? unit->Label : std::string();
}

int CUnitConverter::GetDecimals(const std::string& category) const
{
    const std::string& format = GetUnit(category).Format;
    std::size_t i = format.find("%1$");
    if (i == std::string::npos)
        return -1;
    i += 3;
    while (i < format.size() && std::string("-+ #0123456789").find(format[i]) != std::string::npos)
        ++i;
    if (i >= format.size() || format[i] != '.')
        return -1;
    int decimals = 0;
    while (++i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
        decimals = decimals * 10 + (format[i] - '0');
    return i < format.size() && (format[i] == 'f' || format[i] == 'F') ? decimals : -1;
}

void CUnitConverter::CUnit::SetFormat(const std::string& format)
{
    Format = format;
    PlainDecimals = PlainFixedDecimals(format);
}

std::string CUnitConverter::FormatValue(const CUnit& unit, float value) const
{
    const float shown = value * unit.Coefficient + unit.Offset;
    // The head-up display writes its speeds every frame: the plain formats are
    // written as the format would write them, without reading the pattern each time.
    if (unit.PlainDecimals >= 0) {
        char number[64];
        const int length =
            std::snprintf(number, sizeof number, "%.*f", unit.PlainDecimals, static_cast<double>(shown));
        if (length > 0 && length < static_cast<int>(sizeof number))
            return number + unit.Label;
    }
    return (boost::format(unit.Format) % shown % unit.Label).str();
}

namespace {

// Three numbers joined by commas, each written with the stream's number
// settings, so that a format's "%1$.1f" applies to every component.
struct CComponents
{
    float Values[3];
};

std::ostream& operator<<(std::ostream& out, const CComponents& components)
{
    return out << components.Values[0] << "," << components.Values[1] << "," << components.Values[2];
}

} // namespace

std::string CUnitConverter::FormatVector(const CUnit& unit, const CVector& value) const
{
    const auto convert = [&unit](float v) { return v * unit.Coefficient + unit.Offset; };
    const CComponents components{{convert(value.x), convert(value.y), convert(value.z)}};
    return (boost::format(unit.Format) % components % unit.Label).str();
}

std::string CUnitConverter::FormatMass(float value) const
{
    return FormatValue(GetUnit("Mass"), value);
}

std::string CUnitConverter::FormatArea(float value) const
{
    return FormatValue(GetUnit("Area"), value);
}

} // namespace sds
