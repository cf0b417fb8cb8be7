#include "fuzz/physics/SvgPathFuzz.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/Node.h"
#include "fuzz/FuzzTarget.h"
#include "physics/flight/BezierFunc.h"

namespace sds {
namespace fuzz {

namespace {

// A document of one axes box and one curve with the path data `curve`.
xml::CNodePtr Document(const std::string& curve)
{
    const xml::CNodePtr svg(new xml::CNode("svg", false));
    const xml::CNodePtr axes = svg->AddChild("g");
    axes->AddAttribute("inkscape:label", "Axes");
    const xml::CNodePtr box = axes->AddChild("path");
    box->AddAttribute("id", "Box");
    box->AddAttribute("Min", "-1,0,0");
    box->AddAttribute("Max", "1,0,4");
    box->AddAttribute("d", "M 0,0 C 0,0 100,0 100,0 C 100,0 100,50 100,50 z");
    const xml::CNodePtr curves = svg->AddChild("g");
    curves->AddAttribute("inkscape:label", "Curves");
    const xml::CNodePtr path = curves->AddChild("path");
    path->AddAttribute("id", "Curve");
    path->AddAttribute("d", curve);
    return svg;
}

} // namespace

int FuzzSvgPath(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<CVector> points;
    try
    {
        CBezierFunc::ParsePoints(text, points);
    }
    catch (const CException&)
    {
        return 0;
    }
    Check(points.size() % 3 == 1);
    if (points.size() > 1 + 3 * 16) // sampling is 1000 points a segment
        return 0;

    const xml::CNodePtr config(new xml::CNode("Input", false));
    config->AddAttribute("Curve", "Curve");
    config->AddAttribute("Axes", "Box");
    CBezierFunc curve(config, Document(text), [](float) { return true; });
    Check(curve.GetPoints().size() == points.size());
    for (const auto& [x, y] : curve.GetTable())
        Check(std::isfinite(x) && std::isfinite(y));
    for (float x : {-1e30f, -1.0f, 0.0f, 0.25f, 1.0f, 1e30f})
        Check(std::isfinite(curve.GetValue(x)));
    return 0;
}

} // namespace fuzz
} // namespace sds

SDS_FUZZ_EXPORT(sds::fuzz::FuzzSvgPath)
