#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Node.h"
#include "core/XmlFile.h"
#include "physics/PhyMgr.h"
#include "physics/PhyMovingBody.h"
#include "support/CapturingLogMgr.h"
#include "support/MessageCapture.h"
#include "support/VectorNear.h"

// The document element of an XML text.
inline xml::CNodePtr Xml(const std::string& text)
{
    CMessageCapture quiet;
    return xml::LoadXmlFromMemory(text, "test")->GetChildren().begin()->second;
}

inline xml::CNodePtr LoadFixture(const std::string& name)
{
    CMessageCapture quiet;
    return xml::LoadXmlFile(std::string(SDS_SOURCE_DIR) + "/tests/physics/fixtures/" + name)
        ->GetChildren()
        .begin()
        ->second;
}

// A gravity force and a drag force for test bodies.
inline xml::CNodePtr ForceNodes(const std::string& gravity = "0, 0, 0", const std::string& drag = "Cd=\"1\" Area=\"1\"")
{
    return Xml("<Forces><ForceGravity Force=\"" + gravity +
               "\" Position=\"0, 0, 0\" Color=\"0, 1, 0, 1\" />"
               "<ForceDrag Force=\"0, 0, 0\" Position=\"0, 0, 0\" Color=\"1, 0, 0, 1\" " +
               drag + " /></Forces>");
}

// A moving body that remembers the timing of every update.
class CRecordingBody : public physics::CPhyMovingBody
{
public:
    explicit CRecordingBody(const xml::CNodePtr& forces = ForceNodes())
        : CPhyMovingBody(forces->GetChild("ForceGravity"), forces->GetChild("ForceDrag"))
    {
    }
    void Update(const sds::CTiming& timing) override
    {
        m_Timings.push_back(timing);
        CPhyMovingBody::Update(timing);
    }
    std::vector<sds::CTiming> m_Timings;
};

// A world made from the fixture files, with its log lines kept.
class WorldTest : public ::testing::Test
{
protected:
    WorldTest()
        : m_Physics(LoadFixture("physics.xml")),
          m_Materials(LoadFixture("materials.conf")),
          m_World(physics::CPhyMgr::Create(m_Physics, m_Materials))
    {
        m_World->SetLogCallbacks([this](const std::string& t) { m_Messages.push_back(t); },
                                 [this](const std::string& t) { m_Warnings.push_back(t); },
                                 [this](const std::string& t) { m_Errors.push_back(t); });
    }

    void Frames(int count, float elapsed = 1.0f / 60.0f, float global = 0.0f)
    {
        for (int i = 0; i < count; ++i)
        {
            sds::CTiming timing;
            timing.m_Elapsed = elapsed;
            timing.m_Global = global;
            m_World->Update(timing);
        }
    }

    bool HasError(const std::string& part) const
    {
        for (const std::string& e : m_Errors)
            if (e.find(part) != std::string::npos)
                return true;
        return false;
    }

    CCapturingLogMgr m_Log;
    xml::CNodePtr m_Physics;
    xml::CNodePtr m_Materials;
    std::shared_ptr<physics::CPhyMgr> m_World;
    std::vector<std::string> m_Messages;
    std::vector<std::string> m_Warnings;
    std::vector<std::string> m_Errors;
};
