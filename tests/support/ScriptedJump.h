#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <boost/signals2/connection.hpp>

#include "app/BindingMgr.h"
#include "app/EventNames.h"
#include "core/XmlFile.h"
#include "graphics/memory/MemGfxMgr.h"
#include "jumper/CanopyRideInputs.h"
#include "jumper/CanopyRideState.h"
#include "jumper/DoneState.h"
#include "jumper/LandingNormalState.h"
#include "jumper/EquipmentManager.h"
#include "jumper/ICollisionJudge.h"
#include "jumper/Jumper.h"
#include "jumper/JumperMgr.h"
#include "physics/IPhyJumper.h"
#include "support/RecordingJumpEnd.h"
#include "physics/PhyMgr.h"
#include "physics/flight/PhyJumper.h"
#include "support/CapturingLogMgr.h"
#include "support/DiskResourceMgr.h"
#include "support/FakeApplication.h"
#include "support/FakeEventMgr.h"
#include "support/MessageCapture.h"
#include "support/ModelMeshes.h"

// A whole jump from the aircraft's door to the landing, driven by keys through
// the shipped bindings as the user would fly it: the shipped configuration,
// equipment and physics, the in-memory graphics, 60 frames a simulated second.
// Run it from a folder beside the run tree's conf/ and data/.
class CScriptedJump
{
public:
    // Lands the jumper normally at its first contact with anything.
    class CTouchDownJudge : public sds::ICollisionJudge
    {
    public:
        explicit CTouchDownJudge(sds::IJudgedJumper& jumper) : m_Jumper(jumper)
        {
            jumper.GetPhyJumper()->SetCollisionCallback(
                [this](const physics::IPhyCollisionEvent&) { m_Touched = true; });
        }
        void Update(const sds::CTiming&) override
        {
            if (m_Touched && !m_Landed) {
                m_Landed = true;
                m_Jumper.Land(sds::IJudgedJumper::LANDING_NORMAL);
            }
        }
        void OnCollision(const physics::IPhyCollisionEvent&) override {}
        xml::CNodePtr GetCollisionInfo() override { return MakeUnfinishedInfo(); }

    private:
        sds::IJudgedJumper& m_Jumper;
        bool m_Touched = false;
        bool m_Landed = false;
    };

    CScriptedJump()
        : m_Equipment(Load("../conf/equipment.xml", "Equipment")),
          m_App(Load("../conf/conf.xml", "sds")),
          m_World(physics::CPhyMgr::Create(Load("../data/physics/physics.xml", "Physics"),
                                           Load("../conf/materials.conf", "Materials"))),
          m_Bindings(Load("../conf/bindings.xml", "InputBindings"))
    {
        DefineModelMeshes(m_Gfx, ProjectModels());
        m_World->SetLogCallbacks([](const std::string&) {}, [](const std::string&) {}, [](const std::string&) {});
        m_World->SetJumperFactory(&physics::CPhyJumper::Create);
        m_World->CreateGroundPlane();
        // The event-distribution mod's part: named events go to the jumpers.
        m_Connections.emplace_back(
            m_Events.ConnectInternalEvent([this](const sds::CInternalEvent& e) { m_Jumpers.ForwardEvent(e); }));
        m_Connections.emplace_back(m_Events.ConnectAnalogInternalEvent(
            [this](const sds::CInternalEvent& e) { m_Jumpers.ForwardAnalogEvent(e); }));
        m_Aircraft = m_Gfx.CreateObject(">novis", nullptr);
        m_Aircraft->SetPos({0, 250, 0});
        m_Aircraft->UpdateTransform();

        sds::CJumperLinks links;
        links.Aircraft = m_Aircraft;
        links.InputModes = &m_Bindings;
        links.JumpEnd = &m_JumpEnd;
        links.Clock = [this] { return m_ClockMs; };
        links.JudgeFactory = [](const std::string&, sds::IJudgedJumper& jumper, const xml::CNodePtr&) {
            return std::make_shared<CTouchDownJudge>(jumper);
        };
        m_Jumper = std::make_shared<sds::CJumper>("Jumper", false, 0,
                                                  xml::CNode::Clone(m_App.m_Config->GetChild("Jumper")), nullptr,
                                                  sds::CVector(0, 250, 0), sds::CQuaternion::IDENTITY, 80.0f, 20.0f,
                                                  "", "", true, true, links);
        m_Jumpers.AddToUpdateList(m_Jumper);
    }

    // Out of the door, a short free fall, the pull, a few toggle and riser
    // inputs under canopy, both toggles down to the landing. Returns what went
    // wrong, empty when the jumper has landed and is done.
    std::string Fly()
    {
        Frames(5);
        Tap("Space"); // out of the door
        Tap("Space"); // let go
        Frames(90);
        Tap("Space"); // pull
        if (!RunUntil(m_Jumper->GetCanopyRideState(), 30.0f))
            return "no canopy flight; last logged: " + m_Log.m_Lines.back();
        Frames(30);
        Tap("X");
        Tap("V");
        Frames(60);
        Key("A", true);
        Key("D", true);
        if (!RunUntil(m_Jumper->GetDoneState(), 120.0f))
            return "no landing; height " + std::to_string(m_Jumper->GetPos().y);
        Frames(10);
        Key("A", false);
        Key("D", false);
        return std::string();
    }

    void Key(const std::string& name, bool pressed)
    {
        sds::CDiscreteEvent event;
        event.Type = pressed ? sds::EVENT_KEY_PRESSED : sds::EVENT_KEY_RELEASED;
        event.Key = sds::ParseKey(name).Key;
        m_Events.FireDiscreteEvent(event);
    }
    void Tap(const std::string& name)
    {
        Key(name, true);
        Frames(3);
        Key(name, false);
        Frames(3);
    }
    void Frame()
    {
        const sds::CTiming frame{1.0f / 60.0f, m_Time};
        m_Time += frame.m_Elapsed;
        m_ClockMs += 17;
        ++m_Frames;
        m_World->Update(frame);
        m_Jumpers.UpdateAll(frame);
        if (m_Jumper->GetCurrentState() == m_Jumper->GetCanopyRideState()) {
            const auto& inputs = m_Jumper->GetCanopyRideState()->GetInputs();
            m_LeftToggle = std::max(m_LeftToggle, inputs->GetLeftToggle());
            m_RightToggle = std::max(m_RightToggle, inputs->GetRightToggle());
        }
        if (m_Jumper->GetCurrentState() == m_Jumper->GetLandingNormalState())
            m_StandingSpeeds.push_back(m_Jumper->GetVelocity().Length());
        if (m_AfterFrame)
            m_AfterFrame();
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }
    // Frames until the state is current, within a bound of simulated seconds.
    bool RunUntil(const sds::JumperStates::CJumperState* state, float seconds)
    {
        for (int i = 0; i < static_cast<int>(seconds * 60.0f); ++i) {
            if (m_Jumper->GetCurrentState() == state)
                return true;
            Frame();
        }
        return m_Jumper->GetCurrentState() == state;
    }

    CMessageCapture m_Quiet;
    CCapturingLogMgr m_Log;
    sds::CMemGfxMgr m_Gfx;
    sds::CEquipmentManager m_Equipment;
    CDiskResourceMgr m_Resources;
    CFakeApplication m_App;
    std::shared_ptr<physics::CPhyMgr> m_World;
    CFakeEventMgr m_Events;
    sds::CBindingMgr m_Bindings;
    sds::CJumperMgr m_Jumpers;
    std::vector<boost::signals2::scoped_connection> m_Connections;
    CRecordingJumpEnd m_JumpEnd;
    sds::CGfxObjPtr m_Aircraft;
    std::shared_ptr<sds::CJumper> m_Jumper;
    float m_Time = 0.0f;
    std::uint64_t m_ClockMs = 1000;
    int m_Frames = 0;
    // The furthest each toggle went down under canopy.
    float m_LeftToggle = 0.0f;
    float m_RightToggle = 0.0f;
    // The speed the body reports in each frame of a normal landing, from its first.
    std::vector<float> m_StandingSpeeds;
    // Called at the end of every frame, when set.
    std::function<void()> m_AfterFrame;

private:
    static xml::CNodePtr Load(const std::string& path, const std::string& root)
    {
        CMessageCapture quiet;
        return xml::LoadXmlFile(path)->GetChild(root);
    }
};
