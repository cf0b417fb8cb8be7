#include "mods/TrajectoryViewerMod.h"

#include <algorithm>

#include "core/Helpers.h"
#include "core/services/IApplication.h"
#include "graphics/IGfxMgr.h"
#include "graphics/TrajectoryDisplay.h"

namespace sds {

namespace {

xml::CNodePtr TrajectorySettings()
{
    return IApplication::GetSingleton()->GetConfig()->GetChild("Trajectory");
}

std::string ColourText(const CFourFloats& colour)
{
    return ToString(colour.v[0]) + "," + ToString(colour.v[1]) + "," + ToString(colour.v[2]) + "," +
           ToString(colour.v[3]);
}

} // namespace

// The trajectories on show as the camera scripts see them.
class CTrajectoryViewerMod::CPositions : public ILevelPositions
{
public:
    explicit CPositions(const CTrajectoryViewerMod& viewer) : m_Viewer(viewer) {}
    std::optional<std::pair<CVector, CVector>> GetTrajectory() const override
    {
        if (m_Viewer.IsEmpty())
            return std::nullopt;
        return std::make_pair(m_Viewer.m_BoundingBox.m_Min, m_Viewer.m_BoundingBox.m_Max);
    }

private:
    const CTrajectoryViewerMod& m_Viewer;
};

CTrajectoryViewerMod::CTrajectoryViewerMod() : ILevelMod("TrajectoryViewerMod")
{
    const xml::CNodePtr settings = TrajectorySettings();
    settings->GetChild("Color");
    xml::ForEachChild(*settings, "Color", [this](const xml::CNodePtr& colour) {
        m_Colours.emplace_back();
        m_Colours.back().ParseQuaternion(colour->GetAttribute("Value")->GetValue());
    });
    m_Positions = std::make_shared<CPositions>(*this);
    IGfxMgr::GetSingleton()->AddLevelPositions(m_Positions);
}

CTrajectoryViewerMod::~CTrajectoryViewerMod()
{
    m_Positions.reset();
    m_Colours.clear();
    m_Shown.clear();
}

void CTrajectoryViewerMod::AddTrajectory(const std::vector<CVector>& points)
{
    const xml::CNodePtr settings = TrajectorySettings();
    auto display = std::make_shared<CTrajectoryDisplay>();
    display->m_NamePrefix = "Trajectory";
    display->m_MeshName = settings->GetAttribute("MeshName")->GetValue();
    display->m_MeshScale = settings->GetAttribute("MeshScale")->GetValue<float>();
    display->m_Colour = ColourText(m_Colours[m_Shown.size() % m_Colours.size()]);
    display->m_Points = points;
    display->BuildTrajectoryMesh();
    m_Shown.push_back(display);

    CBoundingBox box;
    for (const CVector& point : points) {
        if (box.m_Empty)
            box.Reset(point);
        else
            box.Merge(point);
    }
    if (box.m_Empty)
        return;
    if (m_Shown.size() == 1) {
        m_BoundingBox = box;
    } else {
        m_BoundingBox.Merge(box.m_Min);
        m_BoundingBox.Merge(box.m_Max);
    }
}

void CTrajectoryViewerMod::Clear()
{
    m_Shown.clear();
    m_BoundingBox.Reset(CVector::ZERO);
}

} // namespace sds
