#include "forcefields/ForceFieldScene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/ConfigPath.h"
#include "core/Helpers.h"
#include "core/Quaternion.h"
#include "core/XmlFile.h"

namespace sds {
namespace DovuvUvozeVozediza {

const char* const LAST_EDIT_NAME = "LastEdit";
const char* const LAST_EDIT_FULL_NAME = "Last Edit";
const char* const ID_NAMES = "Name,Id";

namespace {

// How near to a side the start or the target may lie before the side moves out,
// and by how many times the boundary mesh's scale it moves.
const float kSideTolerance = 0.1f;
const float kMarginScales = 4.0f;

CVector Min(const CVector& a, const CVector& b)
{
    return CVector(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z));
}

CVector Max(const CVector& a, const CVector& b)
{
    return CVector(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z));
}

bool OnSide(const CVector& inner, const CVector& outer)
{
    return std::fabs(inner.x - outer.x) < kSideTolerance || std::fabs(inner.y - outer.y) < kSideTolerance;
}

// The attributes that hold numbers the flight and the editor compute with.
const char* const kNumberAttributes[] = {"Position", "Pos", "Orientation", "Size", "MinCorner", "MaxCorner", "Scale"};

// The first number of the text that is not finite; empty when there is none.
std::string NonFinite(const std::string& text)
{
    for (const std::string& part : SplitAtAnyOf(text, ", \t")) {
        if (part.empty())
            continue;
        char* end = nullptr;
        const double value = std::strtod(part.c_str(), &end);
        if (end != part.c_str() && !std::isfinite(value))
            return part;
    }
    return std::string();
}

// The first attribute below `node` whose numbers are not all finite, as
// "<element path> "<attribute>" is '<value>'".
std::string FindNonFinite(const xml::CNode& node, const std::string& path)
{
    for (const char* name : kNumberAttributes)
        if (node.HasAttribute(name) && !NonFinite(node.GetAttribute(name)->GetValue()).empty())
            return path + " \"" + name + "\" is '" + node.GetAttribute(name)->GetValue() + "'";
    for (const auto& child : node.GetChildren()) {
        const std::string found = FindNonFinite(*child.second, path + "/" + child.first);
        if (!found.empty())
            return found;
    }
    return std::string();
}

} // namespace

std::string RefuseScene(const xml::CNode& scene, bool toFly)
{
    if (toFly && (!scene.HasChild("Target") || !scene.GetChild("Target")->HasAttribute("Position")))
        return "it has no \"Target\" with a \"Position\" to aim at";
    const std::string nonFinite = FindNonFinite(scene, "scene");
    if (!nonFinite.empty())
        return nonFinite + ", which is no number to fly with";
    return std::string();
}

xml::CNodePtr AddRegionNode(const xml::CNodePtr& wind, const CVector& position)
{
    const xml::CNodePtr region = wind->AddChild("Region");
    const xml::CNodePtr shape = region->AddChild("Shape");
    shape->AddAttribute("Position", position);
    shape->AddAttribute("Orientation", QuaternionToString(CQuaternion::IDENTITY));
    shape->AddAttribute("Size", CVector(100.0f, 100.0f, 100.0f));
    region->AddChild("JustCreated");
    return region;
}

xml::CNodePtr GetBoundaries(const xml::CNodePtr& scene)
{
    return scene->GetChildById("BoundingBox", "Boundaries", ID_NAMES);
}

void FitBoundingBox(const xml::CNodePtr& scene)
{
    const xml::CNodePtr box = GetBoundaries(scene);
    const CVector target = scene->GetChild("Target")->GetAttribute("Position")->GetValue<CVector>();
    const CVector start =
        scene->GetChild("Preset")->GetChild("Jumper")->GetAttribute("Position")->GetValue<CVector>();
    const xml::CNodePtr minCorner = box->GetAttribute("MinCorner");
    const xml::CNodePtr maxCorner = box->GetAttribute("MaxCorner");
    const CVector a = minCorner->GetValue<CVector>();
    const CVector b = maxCorner->GetValue<CVector>();
    const CVector scale = box->GetChild("Mesh")->GetAttribute("Scale", CVector::UNIT_SCALE);

    CVector fittedMin = Min(Min(a, b), Min(target, start));
    CVector fittedMax = Max(Max(a, b), Max(target, start));
    if (OnSide(Max(target, start), fittedMax))
        fittedMax += scale * kMarginScales;
    if (OnSide(Min(target, start), fittedMin))
        fittedMin -= scale * kMarginScales;
    minCorner->SetValue(fittedMin);
    maxCorner->SetValue(fittedMax);
}

bool SaveScene(const xml::CNodePtr& scene, const std::string& fileName, const std::string& fullName)
{
    const xml::CNodePtr copy = xml::CNode::Clone(scene);
    const xml::CNodePtr preset = copy->GetChild("Preset");
    while (preset->HasChild("Info"))
        preset->RemoveChild(preset->GetChild("Info"));
    xml::TrimNodeValues(*copy);
    copy->GetAttribute("FullName")->SetValue(fullName);
    return xml::SaveXmlFile(fileName, copy);
}

bool IsChildOf(const xml::CNode& parent, const xml::CNodePtr& child)
{
    if (!child || child->GetParent() != &parent)
        return false;
    const auto& children = parent.GetChildren();
    return std::any_of(children.begin(), children.end(),
                       [&child](const xml::CNode::CNodeMap::value_type& entry) { return entry.second == child; });
}

} // namespace DovuvUvozeVozediza
} // namespace sds
