#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/Node.h"
#include "physics/flight/Interpolator.h"

namespace sds {

// The "path" `id` in the group labelled `label` among the children of the SVG
// document element; throws xml::CNoNodeException when either is missing.
xml::CNodePtr FindSvgPath(const xml::CNodePtr& svg, const std::string& label, const std::string& id);

// A curve drawn as a cubic Bezier path of the canopy-curve document, read
// against an axes box of the same document, sampled once into the table.
class CBezierFunc : public CInterpolator
{
public:
    typedef std::function<bool(float)> CFilter;

    // 0 everywhere.
    CBezierFunc() = default;
    // `config` names the path by "Curve" and its axes by "Axes", both in `svg`;
    // the samples whose x `filter` accepts go into the table. Throws
    // xml::CNoNodeException for a missing name, group, path or attribute, and
    // CException for path data it cannot read and for axes that are not
    // three numbers a corner or have no width or height.
    CBezierFunc(const xml::CNodePtr& config, const xml::CNodePtr& svg, CFilter filter);

    // Appends the points of path data: an absolute move and cubic segments,
    // each with its own command letter, optionally closed by "z". A point is
    // appended as (x, 0, y). Throws CException "Incorrect Points attribute for
    // format" for anything else.
    static void ParsePoints(const std::string& data, std::vector<CVector>& points);

    const std::vector<CVector>& GetPoints() const { return m_Points; }

private:
    void LoadCurve(const xml::CNodePtr& config, const xml::CNodePtr& svg, const CFilter& filter);
    void ReadAxes(const xml::CNodePtr& axes);
    void SampleCurve(const CFilter& filter);

    std::vector<CVector> m_Points;
    CVector m_BoxMax;
    CVector m_BoxMin;
};

} // namespace sds
