#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/XmlFile.h"
#include "jumper/IJudgedJumper.h"
#include "mods/CollisionJudge.h"
#include "physics/flight/ILandingState.h"
#include "support/CanopyFlight.h"
#include "support/MessageCapture.h"

// The landing judge of the normal editions, with the shipped table
// (../conf/collision.conf), judging a canopy flight's touch-down as it judges
// a jumper's: it takes the body's velocity after every frame and its first
// contact. Its verdict lands the body as the jumper does: a normal landing on
// the feet, every other in a heap. The log and sound services must exist.
class CJudgedLanding : public sds::IJudgedJumper
{
public:
    explicit CJudgedLanding(CCanopyFlight& flight)
        : m_Flight(flight), m_Judge(*this, LoadTable(), [](const std::shared_ptr<sds::ISound>&) {})
    {
        m_Flight.SetAfterFrame([this](const sds::CTiming& frame) {
            // The jumper lands in its own update, after the world's.
            if (m_Landing)
            {
                m_Flight.Body().GetLandingState()->SetLandingMode(*m_Landing == LANDING_NORMAL ? 1 : 0);
                m_Flight.Body().SwitchToLandingState();
                m_Landing.reset();
            }
            m_Judge.Update(frame);
            m_LastVelocity = m_Flight.Body().GetVelocity();
        });
    }
    ~CJudgedLanding() override { m_Flight.SetAfterFrame(nullptr); }

    std::string GetName() const override { return "Jumper"; }
    std::shared_ptr<physics::IPhyJumper> GetPhyJumper() const override { return m_Flight.BodyPtr(); }
    void Land(ELanding landing) override
    {
        m_TouchDown = m_LastVelocity;
        m_Landing = landing;
    }

    // The verdict's type text ("StandUp Landing", "Medium Damage Crash", ...), empty before the touch-down.
    std::string GetVerdict() const { return m_Judge.GetLandingType(); }
    // The velocity the judge classified.
    const sds::CVector& GetTouchDownVelocity() const { return m_TouchDown; }

private:
    static xml::CNodePtr LoadTable()
    {
        CMessageCapture quiet;
        return xml::LoadXmlFile("../conf/collision.conf")->GetChild("Collision");
    }

    CCanopyFlight& m_Flight;
    sds::CCollisionJudge m_Judge;
    sds::CVector m_LastVelocity;
    sds::CVector m_TouchDown;
    std::optional<ELanding> m_Landing;
};
