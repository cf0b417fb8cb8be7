#pragma once

#include <cstdint>
#include <vector>

#include "core/Vector.h"

namespace physics::sdk {

class IActor;
class IShape;

struct CContactPoint
{
    sds::CVector m_Position;      // world, midway between the two surfaces
    sds::CVector m_Normal;        // world, pointing from the first shape to the second
    float m_Separation = 0.0f;    // negative when the shapes overlap
    IShape* m_Shapes[2] = {nullptr, nullptr}; // of the pair's first and second actor
};

// Two touching actors and the contact points between them; an end-of-touch
// report has no points.
struct CContactPair
{
    IActor* m_Actors[2] = {nullptr, nullptr};
    std::vector<CContactPoint> m_Points;
};

// Told, after a step, about the pairs whose pair flags ask for it. `events`
// holds the NOTIFY_ON_* bits that happened.
class IUserContactReport
{
public:
    virtual ~IUserContactReport() = default;
    virtual void OnContactNotify(const CContactPair& pair, std::uint32_t events) = 0;
};

} // namespace physics::sdk
