#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/ISdk.h"
#include "physics/sdk/IShape.h"
#include "physics/sdk/IUserContactReport.h"
#include "physics/sdk/IUserOutputStream.h"
#include "physics/sdk/IUserTriggerReport.h"
#include "physics/sdk/JointDesc.h"
#include "physics/sdk/SceneDesc.h"
#include "support/VectorNear.h"

namespace sdk = physics::sdk;

class CRecordingOutput : public sdk::IUserOutputStream
{
public:
    void ReportError(sdk::EErrorCode code, const std::string& message, const std::string&, int) override
    {
        m_Codes.push_back(code);
        m_Errors.push_back(message);
    }
    void Print(const std::string& message) override { m_Errors.push_back(message); }

    bool HasContaining(const std::string& part) const
    {
        for (const std::string& e : m_Errors)
            if (e.find(part) != std::string::npos)
                return true;
        return false;
    }

    std::vector<int> m_Codes;
    std::vector<std::string> m_Errors;
};

struct CContactRecord
{
    int m_Step;
    std::uint32_t m_Events;
    sdk::CContactPair m_Pair;
};

struct CTriggerRecord
{
    int m_Step;
    sdk::IShape* m_Trigger;
    sdk::IShape* m_Other;
    std::uint32_t m_Status;
};

// A scene with gravity -9.8 that records its reports and its errors.
class SdkTest : public ::testing::Test, public sdk::IUserContactReport, public sdk::IUserTriggerReport
{
public:
    SdkTest()
    {
        sdk::CSceneDesc desc;
        desc.m_Gravity = {0.0f, -9.8f, 0.0f};
        desc.m_ContactReport = this;
        desc.m_TriggerReport = this;
        m_Scene = m_Sdk->CreateScene(desc);
    }

    void OnContactNotify(const sdk::CContactPair& pair, std::uint32_t events) override
    {
        m_Contacts.push_back({m_Steps, events, pair});
    }
    void OnTrigger(sdk::IShape& trigger, sdk::IShape& other, std::uint32_t status) override
    {
        m_Triggers.push_back({m_Steps, &trigger, &other, status});
    }

    void Step(int count = 1, float elapsed = 1.0f / 60.0f)
    {
        for (int i = 0; i < count; ++i)
        {
            ++m_Steps;
            m_Scene->Simulate(elapsed);
            ASSERT_TRUE(m_Scene->FetchResults(true));
        }
    }

    // A box of half extents `half`; static without a mass.
    sdk::IActor* Box(const sds::CVector& position, const sds::CVector& half, float mass = 0.0f,
                     std::uint16_t material = 0)
    {
        sdk::CActorDesc desc;
        desc.m_Shapes.push_back(sdk::CShapeDesc::Box(half));
        desc.m_Shapes.back().m_Material = material;
        desc.m_GlobalPosition = position;
        if (mass > 0.0f)
        {
            desc.m_Body = sdk::CBodyDesc();
            desc.m_Body->m_Mass = mass;
            desc.m_Body->m_AngularDamping = 0.0f;
        }
        sdk::IActor* actor = m_Scene->CreateActor(desc);
        EXPECT_TRUE(actor);
        return actor;
    }

    sdk::IActor* Ground() { return Box({0.0f, -0.5f, 0.0f}, {50.0f, 0.5f, 50.0f}); }

    CRecordingOutput m_Output;
    std::unique_ptr<sdk::ISdk> m_Sdk = sdk::CreatePhysicsSdk(&m_Output);
    sdk::IScene* m_Scene = nullptr;
    int m_Steps = 0;
    std::vector<CContactRecord> m_Contacts;
    std::vector<CTriggerRecord> m_Triggers;
};

inline float Distance(const sds::CVector& a, const sds::CVector& b) { return (a - b).Length(); }
