#include "jumper/Trajectory.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <fstream>

#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "core/XmlFile.h"

namespace sds {

CTrajectory::CTrajectory(const std::string& name, float maxPathError, float sampleTime, float meshScale,
                         const std::string& meshColor, const std::string& meshName, const std::string& fileName)
    : m_MaxPathError(maxPathError),
      m_SampleTime(sampleTime),
      m_MeshName(meshName),
      m_MeshScale(meshScale),
      m_MeshColor(meshColor),
      m_Name(name)
{
    if (!fileName.empty())
        Load(fileName);
}

void CTrajectory::AddSample(const CTiming& timing, const CVector& pos, const CVector& velocity)
{
    m_TimeToSample -= timing.m_Elapsed;
    if (m_TimeToSample >= 0.0f && !m_SampleNow)
        return;
    m_TimeToSample = m_SampleTime;
    const bool now = m_SampleNow;
    m_SampleNow = false;
    if (!now && !m_Points.empty() && (pos - m_Points.back().Pos).Length() <= m_MaxPathError)
        return;
    m_Points.push_back(CSample{pos, velocity, timing.m_Global});
}

void CTrajectory::StartCanopyRide()
{
    if (m_CanopyRideStart)
        return;
    m_CanopyRideStart = m_Points.size();
    m_SampleNow = true;
}

std::vector<CTrajectory::CSample>::size_type CTrajectory::RideStart() const
{
    return m_CanopyRideStart ? std::min(*m_CanopyRideStart, m_Points.size()) : m_Points.size();
}

void CTrajectory::Save(const std::string& fileName) const
{
    xml::CNodePtr root(new xml::CNode("Trajectory", false));
    root->AddAttribute("Color", m_MeshColor);
    for (const CSample& sample : m_Points) {
        const xml::CNodePtr point = root->AddChild("Point");
        point->AddAttribute("Time", ToString(sample.Time));
        point->AddAttribute("Velocity", VectorToString(sample.Velocity));
        point->AddAttribute("Pos", VectorToString(sample.Pos));
    }
    if (!xml::SaveXmlFile(fileName, root))
        ILogMgr::GetSingleton()->LogError("Could not save trajectory into " + fileName);
}

void CTrajectory::Load(const std::string& fileName)
{
    if (!std::ifstream(fileName)) {
        ILogMgr::GetSingleton()->LogError("Could not load trajectory into " + fileName);
        return;
    }
    // A file that is not a trajectory (unreadable XML, another root, a point
    // without a value) must not end the caller: the viewer loads the files
    // of old jumps, which may be damaged.
    try {
        const xml::CNodePtr file = xml::LoadXmlFile(fileName, "");
        if (!file || !file->HasChild("Trajectory")) {
            ILogMgr::GetSingleton()->LogError("Incorrect format of trajectory in " + fileName);
            return;
        }
        const xml::CNodePtr trajectory = file->GetChild("Trajectory");
        m_MeshColor = trajectory->GetAttribute("Color")->GetValue();
        xml::ForEachChild(*trajectory, "Point", [this](const xml::CNodePtr& point) {
            CSample sample;
            sample.Pos = xml::ParseVector(point->GetAttribute("Pos")->GetValue());
            sample.Velocity = xml::ParseVector(point->GetAttribute("Velocity")->GetValue());
            sample.Time = point->GetAttribute("Time")->GetValue<float>();
            m_Points.push_back(sample);
        });
    } catch (const std::exception& e) {
        ILogMgr::GetSingleton()->LogError("Incorrect format of trajectory in " + fileName);
        ILogMgr::GetSingleton()->LogError(e.what());
    }
}

float CTrajectory::GetDuration() const
{
    const std::size_t first = RideStart();
    return first == m_Points.size() ? 0.0f : m_Points.back().Time - m_Points[first].Time;
}

float CTrajectory::GetPathLength() const
{
    float length = 0.0f;
    for (std::size_t i = RideStart() + 1; i < m_Points.size(); ++i)
        length += (m_Points[i].Pos - m_Points[i - 1].Pos).Length();
    return length;
}

CVector CTrajectory::GetAverageVelocity() const
{
    const std::size_t first = RideStart();
    if (first == m_Points.size())
        return CVector::ZERO;
    CVector sum;
    for (std::size_t i = first; i < m_Points.size(); ++i)
        sum += m_Points[i].Velocity;
    return sum / static_cast<float>(m_Points.size() - first);
}

xml::CNodePtr CTrajectory::GetInfo() const
{
    const CVector mean = GetAverageVelocity();
    const struct
    {
        float m_Value;
        const char* m_Name;
        const char* m_Units;
    } entries[] = {
        {GetDuration(), "Canopy ride time", "Time"},
        {GetPathLength(), "Canopy ride distance traveled", "Distance"},
        {std::fabs(mean.y), "Canopy ride average vertical speed", "Speed"},
        {std::sqrt(mean.x * mean.x + mean.z * mean.z), "Canopy ride average horizontal speed", "Speed"},
    };
    xml::CNodePtr info(new xml::CNode("TrajectoryInfo", false));
    for (const auto& entry : entries) {
        const xml::CNodePtr child = info->AddChild("Info", ToString(entry.m_Value));
        child->AddAttribute("Name", entry.m_Name);
        child->AddAttribute("Units", entry.m_Units);
    }
    return info;
}

} // namespace sds
