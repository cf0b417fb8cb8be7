#pragma once

#include <optional>

#include "graphics/ITerrainRayTest.h"

// Level ground at a height, as the terrain's own ray test sees it.
class CFlatGround : public sds::ITerrainRayTest
{
public:
    explicit CFlatGround(float height) : m_Height(height) {}

    std::optional<CHit> RayTest(const sds::CVector& origin, const sds::CVector& direction) const override
    {
        sds::CVector unit = direction;
        unit.Normalize();
        if (unit.y == 0.0f)
            return std::nullopt;
        const float distance = (m_Height - origin.y) / unit.y;
        if (distance < 0.0f)
            return std::nullopt;
        return CHit{origin + unit * distance, distance};
    }

private:
    float m_Height;
};
