#pragma once

#include <optional>
#include <utility>

#include "graphics/ILevelPositions.h"

// What a part of the level tells the camera scripts: a jumper, a target, a
// trajectory on show; each may be missing.
class CFakeLevelPositions : public sds::ILevelPositions
{
public:
    std::optional<sds::CVector> GetJumperPos() const override { return m_Jumper; }
    std::optional<std::pair<sds::CVector, sds::CVector>> GetTrajectory() const override { return m_Trajectory; }
    std::optional<sds::CVector> GetTargetPos() const override { return m_Target; }

    std::optional<sds::CVector> m_Jumper;
    std::optional<std::pair<sds::CVector, sds::CVector>> m_Trajectory;
    std::optional<sds::CVector> m_Target;
};
