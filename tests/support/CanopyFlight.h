#pragma once

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Timing.h"
#include "core/XmlFile.h"
#include "physics/IPhyJumper.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "physics/flight/ICanopyRideState.h"
#include "physics/flight/IDeploymentState.h"
#include "physics/flight/IExitState.h"
#include "physics/flight/PhyJumper.h"
#include "support/MessageCapture.h"

// One flight of the jumper's physical body over flat ground at height 0, made
// of the shipped physics and materials files (read from ../data and ../conf,
// so run it beside the run tree's folders), with a steady wind of the world's
// own kind blowing head-on: the canopy starts flying along +x, the wind blows
// towards -x. The log and resource services must exist. One step a frame.
class CCanopyFlight
{
public:
    struct CSetup
    {
        float m_CanopySize = 0.0f;    // m²; 0 keeps the shipped one
        float m_ExitWeight = 0.0f;    // kg; 0 keeps the shipped one
        std::string m_InputConversion; // empty keeps the shipped one
        float m_HeadWind = 0.0f;      // m/s
        float m_Height = 300.0f;      // of the body's centre at the start under canopy, m
    };

    // The six pulls, each 0 (up) to 1 (fully down).
    struct CPulls
    {
        float m_LeftToggle = 0.0f;
        float m_RightToggle = 0.0f;
        float m_LeftRearRiser = 0.0f;
        float m_RightRearRiser = 0.0f;
        float m_LeftFrontRiser = 0.0f;
        float m_RightFrontRiser = 0.0f;

        static CPulls Toggles(float left, float right)
        {
            CPulls pulls;
            pulls.m_LeftToggle = left;
            pulls.m_RightToggle = right;
            return pulls;
        }
        static CPulls RearRisers(float pull)
        {
            CPulls pulls;
            pulls.m_LeftRearRiser = pulls.m_RightRearRiser = pull;
            return pulls;
        }
        static CPulls FrontRisers(float pull)
        {
            CPulls pulls;
            pulls.m_LeftFrontRiser = pulls.m_RightFrontRiser = pull;
            return pulls;
        }
    };

    struct CSample
    {
        float m_Time;
        sds::CVector m_Position;
        sds::CVector m_Velocity; // of the ground
    };

    // Means over a run of samples.
    struct CMeans
    {
        float m_HSpeed = 0.0f; // of the ground, m/s
        float m_VSpeed = 0.0f; // down, m/s
        float m_Turn = 0.0f;   // degrees a second, + to the left (anticlockwise seen from above)
    };

    // A body under canopy at the setup's height, or, `fromTheDoor`, one that
    // leaves at 1,300 m, falls to 1,000 m and opens its canopy by the stages
    // of a deployment (the canopy ride begins 2.5 s after the pull).
    explicit CCanopyFlight(const CSetup& setup, bool fromTheDoor = false)
        : m_Physics(Load("../data/physics/physics.xml", "Physics")),
          m_World(physics::CPhyMgr::Create(m_Physics, Load("../conf/materials.conf", "Materials")))
    {
        m_World->SetLogCallbacks([](const std::string&) {}, [](const std::string&) {},
                                 [this](const std::string& text) { m_Errors.push_back(text); });
        m_World->SetJumperFactory(&physics::CPhyJumper::Create);
        m_World->CreateGroundPlane();
        const sds::CVector size = m_Physics->GetChild("PhyJumper")
                                      ->GetChildById("Shape", "Body", "Name,Id")
                                      ->GetAttribute("Dimensions")
                                      ->GetValue<sds::CVector>();
        m_HalfHeight = 0.5f * size.y;
        if (setup.m_HeadWind != 0.0f)
            Blow({-setup.m_HeadWind, 0.0f, 0.0f});
        if (!setup.m_InputConversion.empty())
            m_Physics->GetChild("PhyJumper")
                ->GetChildById("State", "CanopyRide", "Name,Id")
                ->GetAttribute("InputConversion")
                ->SetValue(setup.m_InputConversion);
        m_Body = m_World->CreateJumper("Jumper", false, 0, {0.0f, setup.m_Height, 0.0f}, sds::CQuaternion::IDENTITY,
                                       setup.m_ExitWeight, setup.m_CanopySize, "", "", true);
        m_Body->SetCollisionCallback([this](const physics::IPhyCollisionEvent&) { m_Touched = true; });
        if (fromTheDoor)
            Open();
        m_Opened = m_Time;
    }

    ~CCanopyFlight()
    {
        m_Body.reset();
        m_World.reset();
    }

    // A wind region over the whole sky from below the ground up, blowing `wind`.
    void Blow(const sds::CVector& wind)
    {
        physics::IWindMgr& winds = m_World->GetWindMgr();
        CMessageCapture quiet;
        winds.GetRegions().push_back(winds.CreateRegion(
            xml::LoadXmlFromMemory("<Region Direction=\"" + std::to_string(wind.x) + ", " + std::to_string(wind.y) +
                                       ", " + std::to_string(wind.z) +
                                       "\" Speed=\"1\"><Shape Position=\"0, 1500, 0\" Size=\"40000, 3100, 40000\" "
                                       "/></Region>",
                                   "wind")
                ->GetChild("Region")));
    }

    void SetPulls(const CPulls& pulls)
    {
        physics::PhyJumperStates::ICanopyRideState& canopy = *m_Body->GetCanopyRideState();
        canopy.SetLeftToggle(pulls.m_LeftToggle);
        canopy.SetRightToggle(pulls.m_RightToggle);
        canopy.SetRightRearRiser(pulls.m_RightRearRiser);
        canopy.SetLeftRearRiser(pulls.m_LeftRearRiser);
        canopy.SetRightFrontRiser(pulls.m_RightFrontRiser);
        canopy.SetLeftFrontRiser(pulls.m_LeftFrontRiser);
    }

    // One fixed step as one frame, then `afterFrame` (a judge's update).
    void Step()
    {
        const std::uint64_t steps = physics::CPhyMgr::GetStepCount();
        sds::CTiming frame;
        frame.m_Elapsed = m_World->GetMaxTimeStep();
        while (physics::CPhyMgr::GetStepCount() == steps)
        {
            frame.m_Global = m_Time + frame.m_Elapsed;
            m_World->Update(frame);
        }
        m_Time += frame.m_Elapsed;
        m_Samples.push_back({m_Time, m_Body->GetPos(), m_Body->GetVelocity()});
        if (m_AfterFrame)
            m_AfterFrame(frame);
    }

    // Steps until `done` holds or `seconds` have passed; false when they passed or the body broke.
    bool FlyUntil(const std::function<bool()>& done, float seconds)
    {
        const float end = m_Time + seconds;
        while (!done())
        {
            if (m_Time >= end || !IsSound())
                return false;
            Step();
        }
        return true;
    }
    bool Fly(float seconds)
    {
        return !FlyUntil([] { return false; }, seconds) && IsSound();
    }

    // Position, velocity and orientation are numbers.
    bool IsSound() const
    {
        return m_Body->GetPos().IsFinite() && m_Body->GetVelocity().IsFinite() &&
               std::isfinite(m_Body->GetOrientation().Norm());
    }

    // Of the jumper's feet (the body's centre less half its height) over the ground.
    float FeetHeight() const { return m_Body->GetPos().y - m_HalfHeight; }
    bool Touched() const { return m_Touched; }
    float Time() const { return m_Time; }
    // When the canopy ride began.
    float Opened() const { return m_Opened; }
    const std::vector<CSample>& Samples() const { return m_Samples; }
    physics::IPhyJumper& Body() const { return *m_Body; }
    const std::shared_ptr<physics::IPhyJumper>& BodyPtr() const { return m_Body; }
    physics::CPhyMgr& World() const { return *m_World; }
    const std::vector<std::string>& Errors() const { return m_Errors; }
    void SetAfterFrame(const std::function<void(const sds::CTiming&)>& afterFrame) { m_AfterFrame = afterFrame; }

    // The means of the samples from `from` seconds on (all when negative: the last `-from` seconds).
    CMeans Means(float from) const
    {
        if (from < 0.0f)
            from = m_Time + from;
        CMeans means;
        std::size_t count = 0;
        double turn = 0.0;
        const CSample* first = nullptr;
        const CSample* previous = nullptr;
        for (const CSample& sample : m_Samples)
        {
            if (sample.m_Time < from)
                continue;
            means.m_HSpeed += std::hypot(sample.m_Velocity.x, sample.m_Velocity.z);
            means.m_VSpeed += -sample.m_Velocity.y;
            if (previous)
                turn += TurnBetween(Track(*previous), Track(sample));
            if (!first)
                first = &sample;
            previous = &sample;
            ++count;
        }
        if (count == 0)
            return means;
        means.m_HSpeed /= float(count);
        means.m_VSpeed /= float(count);
        const float duration = previous->m_Time - first->m_Time;
        means.m_Turn = duration > 0.0f ? float(turn / duration * 180.0 / M_PI) : 0.0f;
        return means;
    }

    // Seconds from the opening until the sink stays within `share` of its mean over the last `window` seconds.
    float SettleTime(float share, float window) const
    {
        const float final = Means(-window).m_VSpeed;
        float settled = m_Opened;
        for (const CSample& sample : m_Samples)
            if (sample.m_Time >= m_Opened && std::fabs(-sample.m_Velocity.y - final) > share * std::fabs(final))
                settled = sample.m_Time;
        return settled - m_Opened;
    }

private:
    static xml::CNodePtr Load(const std::string& path, const std::string& root)
    {
        CMessageCapture quiet;
        return xml::LoadXmlFile(path)->GetChild(root);
    }

    static float Track(const CSample& sample) { return std::atan2(-sample.m_Velocity.z, sample.m_Velocity.x); }
    static float TurnBetween(float from, float to)
    {
        float turn = to - from;
        while (turn > float(M_PI))
            turn -= 2.0f * float(M_PI);
        while (turn <= -float(M_PI))
            turn += 2.0f * float(M_PI);
        return turn;
    }

    // Out of the door at 1,300 m at 30 m/s, the pull at 1,000 m, the stages
    // 1.23, 1.57 and 1.63 s after it and the canopy flying 2.53 s after it, as
    // the shipped rig's deployment takes them in the game.
    void Open()
    {
        physics::PhyJumperStates::IExitState& exit = *m_Body->GetExitState();
        m_Body->SwitchToExitState();
        exit.SetPos({0.0f, 1300.0f, 0.0f});
        exit.SetOrientation(sds::CQuaternion::IDENTITY);
        exit.SetVelocity({30.0f, 0.0f, 0.0f});
        Step();
        m_Body->SwitchToFreeFallState();
        FlyUntil([this] { return m_Body->GetPos().y <= 1000.0f; }, 60.0f);
        m_Body->SwitchToDeploymentState();
        const float pull = m_Time;
        for (float stage : {1.23f, 1.57f, 1.63f})
        {
            FlyUntil([&] { return m_Time >= pull + stage; }, 10.0f);
            m_Body->GetDeploymentState()->NextStage();
        }
        FlyUntil([&] { return m_Time >= pull + 2.53f; }, 10.0f);
        m_Body->SwitchToCanopyRideState();
    }

    xml::CNodePtr m_Physics;
    std::shared_ptr<physics::CPhyMgr> m_World;
    std::shared_ptr<physics::IPhyJumper> m_Body;
    float m_HalfHeight = 0.0f;
    float m_Time = 0.0f;
    float m_Opened = 0.0f;
    bool m_Touched = false;
    std::vector<CSample> m_Samples;
    std::vector<std::string> m_Errors;
    std::function<void(const sds::CTiming&)> m_AfterFrame;
};
