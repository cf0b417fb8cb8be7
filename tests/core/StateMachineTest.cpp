#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SingletonTmpl.h"
#include "core/StateMachineTmpl.h"

namespace {

class CMachine;
std::vector<std::string> g_Calls;

class CRecordingState : public sds::IStateTmpl<CMachine>
{
public:
    CRecordingState(CMachine* owner, std::string name) : IStateTmpl(owner), m_Name(std::move(name)) {}
    void OnUpdate(const sds::CTiming&) override { g_Calls.push_back(m_Name + ".Update"); }
    void Enter() override { g_Calls.push_back(m_Name + ".Enter"); }
    void Exit() override { g_Calls.push_back(m_Name + ".Exit"); }
    void Pause() override { g_Calls.push_back(m_Name + ".Pause"); }
    void Resume() override { g_Calls.push_back(m_Name + ".Resume"); }

private:
    std::string m_Name;
};

class CMachine : public sds::CStateMachineTmpl<sds::IStateTmpl<CMachine>>
{
public:
    void OnStart() override { g_Calls.push_back("OnStart"); }
    void OnStop() override { g_Calls.push_back("OnStop"); }
    void OnPause() override { g_Calls.push_back("OnPause"); }
    void OnUpdate(const sds::CTiming&) override { g_Calls.push_back("OnUpdate"); }
};

class StateMachine : public ::testing::Test
{
protected:
    void SetUp() override { g_Calls.clear(); }
    std::vector<std::string> Take()
    {
        std::vector<std::string> calls;
        calls.swap(g_Calls);
        return calls;
    }

    CMachine m;
    CRecordingState a{&m, "a"};
    CRecordingState b{&m, "b"};
    CRecordingState c{&m, "c"};
};

typedef std::vector<std::string> Calls;

} // namespace

TEST_F(StateMachine, PushChangePopOrder)
{
    m.Start();
    m.PushState(&a);
    m.PushState(&b);
    EXPECT_EQ((Calls{"OnStart", "a.Enter", "a.Pause", "b.Enter"}), Take());

    m.ChangeState(&b);
    EXPECT_TRUE(Take().empty());
    m.ChangeState(&c);
    EXPECT_EQ((Calls{"b.Exit", "c.Enter"}), Take());

    m.Update(sds::CTiming{0.1f, 1.0f});
    EXPECT_EQ((Calls{"OnUpdate", "c.Update"}), Take());

    m.PopState();
    EXPECT_EQ((Calls{"c.Exit", "a.Resume"}), Take());
    m.PopState();
    EXPECT_EQ((Calls{"a.Exit"}), Take());
    m.PopState();
    EXPECT_TRUE(Take().empty());
}

TEST_F(StateMachine, ChangeToAStateBelowTheTopPushesItAgain)
{
    m.PushState(&a);
    m.PushState(&b);
    Take();
    m.ChangeState(&a);
    EXPECT_EQ((Calls{"b.Exit", "a.Enter"}), Take());
    EXPECT_TRUE(m.HasState(&a));
    EXPECT_FALSE(m.HasState(&b));
}

TEST_F(StateMachine, StopExitsTopDownWithoutResume)
{
    m.PushState(&a);
    m.PushState(&b);
    m.PushState(&c);
    Take();
    m.Stop();
    EXPECT_EQ((Calls{"c.Exit", "b.Exit", "a.Exit", "OnStop"}), Take());
    EXPECT_FALSE(m.HasStates());
}

TEST_F(StateMachine, EmptyMachine)
{
    m.Pause();
    EXPECT_EQ((Calls{"OnPause"}), Take());
    try {
        m.GetCurrentState();
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_STREQ("!m_States.empty() && \"No states are added\"", e.what());
    }
}

namespace {
class CManager : public CSingletonTmpl<CManager>
{
public:
    CManager() : m_SeenInConstructor(GetSingleton()) {}
    CManager* m_SeenInConstructor;
};
} // namespace

TEST(Singleton, PublishedFromConstructionToDestruction)
{
    EXPECT_EQ(nullptr, CManager::GetSingleton());
    {
        CManager first;
        EXPECT_EQ(&first, first.m_SeenInConstructor);
        {
            CManager second;
            EXPECT_EQ(&second, CManager::GetSingleton());
        }
        EXPECT_EQ(nullptr, CManager::GetSingleton());
    }
    EXPECT_EQ(nullptr, CManager::GetSingleton());
}
