#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/BoundingBox.h"
#include "core/Node.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "jumper/ITrajectory.h"

namespace sds {

// The path a jumper flew: samples taken every "SampleTime" seconds when the
// body has moved more than "MaxPathError" metres since the last one, the
// trajectory file ("Trajectory" with "Color", one "Point" per sample) and the
// canopy-ride statistics. The path runs from the aircraft to the landing; the
// statistics count from the canopy's opening, so that no aircraft or free-fall
// speed passes for the canopy's. The mesh settings are for whoever draws it.
class CTrajectory : public ITrajectory
{
public:
    struct CSample
    {
        CVector Pos;
        CVector Velocity;
        float Time = 0.0f; // the global time of the frame it was taken in
    };

    // A file name that is not empty is loaded at once.
    CTrajectory(const std::string& name, float maxPathError, float sampleTime, float meshScale,
                const std::string& meshColor, const std::string& meshName, const std::string& fileName);

    // Once a frame: an attempt is due when the time to the next has run below
    // 0; it is spent even when the body has not moved far enough.
    void AddSample(const CTiming& timing, const CVector& pos, const CVector& velocity);
    // The canopy has opened: the statistics count from the next sample on,
    // which is taken at the next AddSample. A second opening changes nothing.
    void StartCanopyRide();
    // Failures are logged, never thrown.
    void Save(const std::string& fileName) const override;
    // Appends the file's samples; a file that cannot be read or is not a
    // trajectory is logged, never thrown, and the samples read before the
    // fault stay.
    void Load(const std::string& fileName);

    // "TrajectoryInfo" with four "Info" entries: canopy ride time, distance
    // travelled, average vertical and horizontal speed; all 0 when the canopy
    // never opened.
    xml::CNodePtr GetInfo() const override;
    CVector GetStartPos() const override { return m_Points.empty() ? CVector::ZERO : m_Points.front().Pos; }
    CVector GetFinishPos() const override { return m_Points.empty() ? CVector::ZERO : m_Points.back().Pos; }
    // Of the samples under canopy.
    float GetDuration() const;
    float GetPathLength() const;
    CVector GetAverageVelocity() const;

    const std::vector<CSample>& GetPoints() const { return m_Points; }
    const std::string& GetName() const { return m_Name; }
    const std::string& GetMeshName() const { return m_MeshName; }
    const std::string& GetMeshColor() const { return m_MeshColor; }
    float GetMeshScale() const { return m_MeshScale; }
    const CBoundingBox& GetBoundingBox() const { return m_BoundingBox; }

private:
    // The samples under canopy: the first one's index; past the end until the canopy opens.
    std::vector<CSample>::size_type RideStart() const;

    float m_TimeToSample = 0.0f;
    bool m_SampleNow = false;
    std::optional<std::vector<CSample>::size_type> m_CanopyRideStart;
    float m_MaxPathError;
    float m_SampleTime;
    std::string m_MeshName;
    float m_MeshScale;
    std::string m_MeshColor;
    std::vector<CSample> m_Points;
    std::string m_Name;
    CBoundingBox m_BoundingBox;
};

} // namespace sds
