#pragma once

#include <memory>
#include <vector>

#include "core/BoundingBox.h"
#include "core/Quaternion.h"
#include "core/SingletonTmpl.h"
#include "core/Vector.h"
#include "graphics/ILevelPositions.h"
#include "mods/ILevelMod.h"

namespace sds {

class CTrajectoryDisplay;

// Shows recorded flight paths in the scene after a jump, each in the next
// colour of "Trajectory"'s "Color" rows, and keeps one box around them all,
// which the script cameras look at.
class CTrajectoryViewerMod : public ILevelMod, public CSingletonTmpl<CTrajectoryViewerMod>
{
public:
    // Reads the colours; "Trajectory" and one "Color" at least must exist.
    CTrajectoryViewerMod();
    ~CTrajectoryViewerMod() override;

    // Draws a path (sample positions in time order) with the "Trajectory"
    // mesh settings as they are now.
    void AddTrajectory(const std::vector<CVector>& points);
    // Removes every path; the box shrinks to the origin.
    void Clear();

    bool IsEmpty() const { return m_Shown.empty(); }
    const std::vector<std::shared_ptr<CTrajectoryDisplay>>& GetShown() const { return m_Shown; }
    const CBoundingBox& GetBoundingBox() const { return m_BoundingBox; }

private:
    class CPositions;

    std::vector<std::shared_ptr<CTrajectoryDisplay>> m_Shown;
    CBoundingBox m_BoundingBox;
    std::vector<CFourFloats> m_Colours;
    std::shared_ptr<CPositions> m_Positions;
};

} // namespace sds
