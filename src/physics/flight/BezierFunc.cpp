#include "physics/flight/BezierFunc.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <locale>
#include <map>
#include <sstream>

#include "core/Exception.h"

namespace sds {

namespace {

const char* const kBadPoints = "Incorrect Points attribute for format";

void ReadPoint(std::istream& in, std::vector<CVector>& points)
{
    float x = 0.0f;
    float y = 0.0f;
    char separator = 0;
    in >> x >> separator >> y;
    if (in)
        points.push_back({x, 0.0f, y});
}

// One cubic segment; false after "z", at the end of the text or on a failure.
bool ReadSegment(std::istream& in, std::vector<CVector>& points)
{
    char command = 0;
    in >> command;
    if (command == 'z')
        return false;
    for (int i = 0; i < 3; ++i)
        ReadPoint(in, points);
    return in.good();
}

// The corner "Min" or "Max" of an axes path; three numbers or a failure naming the axes.
CVector ReadCorner(const xml::CNodePtr& axes, const std::string& name)
{
    CVector corner;
    if (!corner.ParseVector3(axes->GetAttribute(name)->GetValue()))
        throw CException("Axes '" + axes->GetAttribute<std::string>("id", "") + "': \"" + name +
                         "\" is not three numbers");
    return corner;
}

} // namespace

xml::CNodePtr FindSvgPath(const xml::CNodePtr& svg, const std::string& label, const std::string& id)
{
    return svg->GetChildById("g", label, "inkscape:label")->GetChildById("path", id, "id");
}

CBezierFunc::CBezierFunc(const xml::CNodePtr& config, const xml::CNodePtr& svg, CFilter filter)
{
    LoadCurve(config, svg, filter);
}

void CBezierFunc::ParsePoints(const std::string& data, std::vector<CVector>& points)
{
    std::istringstream in(data);
    in.imbue(std::locale::classic());
    char move = 0;
    in >> move;
    ReadPoint(in, points);
    while (in && ReadSegment(in, points))
    {
    }
    if (in.fail())
        throw CException(kBadPoints);
}

void CBezierFunc::LoadCurve(const xml::CNodePtr& config, const xml::CNodePtr& svg, const CFilter& filter)
{
    const std::string curve = config->GetAttribute("Curve")->GetValue();
    const std::string axes = config->GetAttribute("Axes")->GetValue();
    ReadAxes(FindSvgPath(svg, "Axes", axes));
    ParsePoints(FindSvgPath(svg, "Curves", curve)->GetAttribute("d")->GetValue(), m_Points);
    SampleCurve(filter);
}

void CBezierFunc::ReadAxes(const xml::CNodePtr& axes)
{
    m_Min = ReadCorner(axes, "Min");
    m_Max = ReadCorner(axes, "Max");
    ParsePoints(axes->GetAttribute("d")->GetValue(), m_Points);
    m_BoxMax = CVector(-FLT_MAX, -FLT_MAX, -FLT_MAX);
    m_BoxMin = CVector(FLT_MAX, FLT_MAX, FLT_MAX);
    for (const CVector& p : m_Points)
    {
        m_BoxMax = {std::max(m_BoxMax.x, p.x), std::max(m_BoxMax.y, p.y), std::max(m_BoxMax.z, p.z)};
        m_BoxMin = {std::min(m_BoxMin.x, p.x), std::min(m_BoxMin.y, p.y), std::min(m_BoxMin.z, p.z)};
    }
    m_Points.clear();
    // A flat box would scale every sample to an infinity or a NaN.
    if (!(m_BoxMax.x - m_BoxMin.x > 0.0f) || !(m_BoxMax.z - m_BoxMin.z > 0.0f))
        throw CException("Axes '" + axes->GetAttribute<std::string>("id", "") + "' have no width or height");
}

void CBezierFunc::SampleCurve(const CFilter& filter)
{
    std::map<float, float> samples;
    for (std::size_t i = 0; i + 3 < m_Points.size(); i += 3)
    {
        const CVector& p0 = m_Points[i];
        const CVector& p1 = m_Points[i + 1];
        const CVector& p2 = m_Points[i + 2];
        const CVector& p3 = m_Points[i + 3];
        for (int k = 0; k < 1000; ++k)
        {
            const float t = float(k) / 999.0f;
            const float s = 1.0f - t;
            const float w0 = t * t * t;
            const float w1 = 3.0f * t * t * s;
            const float w2 = 3.0f * t * s * s;
            const float w3 = s * s * s;
            const float x = p0.x * w0 + p1.x * w1 + p2.x * w2 + p3.x * w3;
            const float y = p0.z * w0 + p1.z * w1 + p2.z * w2 + p3.z * w3;
            if (std::isfinite(x) && std::isfinite(y)) // huge drawings overflow
                samples[x] = y;
        }
    }

    const float sx = (m_Max.x - m_Min.x) / (m_BoxMax.x - m_BoxMin.x);
    const float sy = (m_Max.z - m_Min.z) / (m_BoxMax.z - m_BoxMin.z);
    for (const auto& [x, y] : samples)
    {
        const float mappedX = (x - m_BoxMin.x) * sx + m_Min.x;
        const float mappedY = (m_Max.z - m_Min.z) - (y - m_BoxMin.z) * sy + m_Min.z;
        if (!std::isfinite(mappedX) || !std::isfinite(mappedY))
            continue;
        if (filter(mappedX))
            m_Table[mappedX] = mappedY;
    }
}

} // namespace sds
