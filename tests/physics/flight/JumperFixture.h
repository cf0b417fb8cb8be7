#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/DataLog.h"
#include "core/Exception.h"
#include "core/XmlFile.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "physics/flight/FlightFixture.h"
#include "physics/flight/ICanopyRideState.h"
#include "physics/flight/IDeploymentState.h"
#include "physics/flight/IExitState.h"
#include "physics/flight/IFreeFallState.h"
#include "physics/flight/ILandingState.h"
#include "physics/flight/PhyJumper.h"
#include "physics/sdk/IActor.h"
#include "support/CapturingLogMgr.h"
#include "support/DiskResourceMgr.h"
#include "support/MessageCapture.h"

// The document element of a shipped file of the run tree.
inline xml::CNodePtr LoadShipped(const std::string& path, const std::string& root)
{
    CMessageCapture quiet;
    return xml::LoadXmlFile(path)->GetChild(root);
}

// A world of the shipped physics and materials files, over the ground, that
// builds jumpers' bodies; the shipped "PhyJumper" can be changed before a body
// is made from it.
class JumperTest : public ::testing::Test
{
protected:
    JumperTest()
        : m_Physics(LoadShipped("../data/physics/physics.xml", "Physics")),
          m_World(physics::CPhyMgr::Create(m_Physics, LoadShipped("../conf/materials.conf", "Materials")))
    {
        m_World->SetLogCallbacks([](const std::string&) {}, [](const std::string&) {},
                                 [this](const std::string& text) { m_Errors.push_back(text); });
        m_World->SetJumperFactory(&physics::CPhyJumper::Create);
        m_World->CreateGroundPlane();
    }
    ~JumperTest() override
    {
        m_Jumpers.clear();
        m_World.reset();
    }

    xml::CNodePtr PhyJumper() const { return m_Physics->GetChild("PhyJumper"); }
    xml::CNodePtr State(const std::string& name) const
    {
        return PhyJumper()->GetChildById("State", name, "Name,Id");
    }

    // Puts a copy of `element` in its place, without the attribute `attribute`.
    static void RemoveAttribute(const xml::CNodePtr& element, const std::string& attribute)
    {
        xml::CNode& parent = *element->GetParent();
        const xml::CNodePtr copy = parent.AddChild(element->GetName());
        for (const auto& kept : element->GetAttributes())
            if (kept.first != attribute)
                copy->AddAttribute(kept.first, kept.second->GetValue());
        for (const auto& child : element->GetChildren())
            xml::CNode::Clone(child.second, copy.get());
        parent.RemoveChild(element);
    }

    // A body of the world's "PhyJumper" that the fixture keeps.
    physics::CPhyJumper& Make(const physics::CPhyJumperDesc& desc = physics::CPhyJumperDesc())
    {
        m_Jumpers.push_back(m_World->CreateJumper(desc.m_Name, desc.m_LogData, desc.m_Index, desc.m_Position,
                                                  desc.m_Orientation, desc.m_ExitWeight, desc.m_CanopySize,
                                                  desc.m_CanopyModel, desc.m_InputConversion, desc.m_ShowPilotChute));
        return static_cast<physics::CPhyJumper&>(*m_Jumpers.back());
    }
    physics::CPhyJumper& MakeStartingIn(const std::string& phase)
    {
        PhyJumper()->GetAttribute("StartIn")->SetValue(phase);
        return Make();
    }

    // A wind region of the world's own kind over the whole sky, from the
    // ground up, blowing `wind` (m/s).
    void Blow(const sds::CVector& wind)
    {
        physics::IWindMgr& winds = m_World->GetWindMgr();
        winds.GetRegions().push_back(winds.CreateRegion(
            Xml("<Region Direction=\"" + std::to_string(wind.x) + ", " + std::to_string(wind.y) + ", " +
                std::to_string(wind.z) + "\" Speed=\"1\"><Shape Position=\"0, 1500, 0\" Size=\"40000, 3100, 40000\" /></Region>")));
    }

    // Frames of one fixed step each.
    void Steps(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            sds::CTiming timing;
            timing.m_Elapsed = m_World->GetMaxTimeStep() * 1.0001f;
            timing.m_Global = m_Time += m_World->GetMaxTimeStep();
            m_World->Update(timing);
        }
    }

    CMessageCapture m_Quiet;
    CCapturingLogMgr m_Log;
    CDiskResourceMgr m_Resources;
    xml::CNodePtr m_Physics;
    std::shared_ptr<physics::CPhyMgr> m_World;
    std::vector<std::shared_ptr<physics::IPhyJumper>> m_Jumpers;
    std::vector<std::string> m_Errors;
    float m_Time = 0.0f;
};
