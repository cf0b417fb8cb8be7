#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
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

TEST_F(StateMachine, AStateWhoseEnterFailsIsNotLeftOnTheStack)
{
    class CFailingState : public CRecordingState
    {
    public:
        using CRecordingState::CRecordingState;
        void Enter() override
        {
            CRecordingState::Enter();
            throw std::runtime_error("cannot enter");
        }
    } f{&m, "f"};

    m.PushState(&a);
    Take();
    EXPECT_THROW(m.PushState(&f), std::runtime_error);
    EXPECT_EQ((Calls{"a.Pause", "f.Enter", "a.Resume"}), Take());
    EXPECT_EQ(&a, m.GetCurrentState());

    EXPECT_THROW(m.ChangeState(&f), std::runtime_error);
    EXPECT_EQ((Calls{"a.Exit", "f.Enter"}), Take());
    EXPECT_FALSE(m.HasStates());
    // Nothing exits a state that was never entered.
    m.Stop();
    EXPECT_EQ((Calls{"OnStop"}), Take());
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
    explicit CManager(bool fail = false) : m_SeenInConstructor(GetSingleton())
    {
        if (fail)
            throw std::runtime_error("the manager could not start");
    }
    CManager* m_SeenInConstructor;
};
} // namespace

TEST(Singleton, PublishedFromConstructionToDestruction)
{
    EXPECT_EQ(nullptr, CManager::GetSingleton());
    {
        CManager only;
        EXPECT_EQ(&only, only.m_SeenInConstructor);
        EXPECT_EQ(&only, CManager::GetSingleton());
    }
    EXPECT_EQ(nullptr, CManager::GetSingleton());
}

TEST(Singleton, ReplacedInOneAssignment)
{
    auto manager = std::make_unique<CManager>();
    manager = std::make_unique<CManager>();
    EXPECT_EQ(manager.get(), CManager::GetSingleton());
    EXPECT_EQ(manager.get(), manager->m_SeenInConstructor) << "the new one is published while it is built";

    manager.reset(new CManager);
    EXPECT_EQ(manager.get(), CManager::GetSingleton());
    // A replacement that fails to start leaves the live one published.
    EXPECT_THROW(manager = std::make_unique<CManager>(true), std::runtime_error);
    EXPECT_EQ(manager.get(), CManager::GetSingleton());

    manager.reset();
    EXPECT_EQ(nullptr, CManager::GetSingleton());
}

// Two instances live together only while one replaces the other: a third is a
// duplicate of one of them.
TEST(Singleton, AnInstanceBuiltBeforeTheReplacedOneWentIsRefused)
{
    auto replaced = std::make_unique<CManager>();
    auto replacing = std::make_unique<CManager>();
    [[maybe_unused]] bool refused = false;
    EXPECT_DEBUG_DEATH(
        {
            try {
                CManager duplicate;
            } catch (const std::logic_error& e) {
                refused = std::string(e.what()).find("A second live instance of") != std::string::npos;
            }
        },
        "second live instance");
#ifdef NDEBUG
    EXPECT_TRUE(refused);
#endif
    EXPECT_EQ(replacing.get(), CManager::GetSingleton());

    replaced.reset();
    EXPECT_EQ(replacing.get(), CManager::GetSingleton());
    EXPECT_NO_THROW(replacing = std::make_unique<CManager>()) << "the hand-over is over";
    replacing.reset();
    EXPECT_EQ(nullptr, CManager::GetSingleton());
}
