#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "FakeJumper.h"
#include "app/AppFixture.h"
#include "jumper/IJumper.h"
#include "jumper/JumperMgr.h"
#include "mods/EventCopyMod.h"

using namespace sds;

namespace {

class CTestMod : public ILevelMod
{
public:
    explicit CTestMod(const std::string& name) : ILevelMod(name) {}
};

CInternalEvent Named(std::int32_t code, bool on, std::int32_t jumper = 0)
{
    CInternalEvent event;
    event.Code = code;
    event.On = on ? 1 : 0;
    event.JumperIndex = jumper;
    event.Value = 0.25f;
    return event;
}

std::vector<std::int32_t> Codes(const std::vector<CInternalEvent>& events)
{
    std::vector<std::int32_t> codes;
    for (const CInternalEvent& e : events)
        codes.push_back(e.Code);
    return codes;
}

} // namespace

TEST(LevelMod, LogsItsUseOnce)
{
    CCapturingLogMgr log;
    {
        CTestMod mod("HUDMessage");
        EXPECT_EQ("HUDMessage", mod.GetName());
        mod.Update(CTiming());
        mod.Restart();
        mod.Pause();
        mod.Resume();
    }
    EXPECT_EQ((std::vector<std::string>{"Using Mod: HUDMessage", "Done using Mod: HUDMessage"}), log.m_Lines);
}

class JumperMgr : public CAppFixture
{
protected:
    JumperMgr()
    {
        m_Mgr.reset(new CJumperMgr);
        for (int i = 0; i < 2; ++i) {
            m_Jumpers.push_back(std::make_shared<CFakeJumper>());
            m_Mgr->AddToUpdateList(m_Jumpers.back());
        }
    }

    std::unique_ptr<CJumperMgr> m_Mgr;
    std::vector<std::shared_ptr<CFakeJumper>> m_Jumpers;
};

TEST_F(JumperMgr, EventsReachTheJumperOfTheirIndex)
{
    EXPECT_EQ(m_Mgr.get(), CJumperMgr::GetSingleton());
    m_Mgr->ForwardEvent(Named(27, true, 1));
    m_Mgr->ForwardAnalogEvent(Named(2, true, 0));
    EXPECT_TRUE(m_Jumpers[0]->m_Discrete.empty());
    EXPECT_EQ(std::vector<std::int32_t>{27}, Codes(m_Jumpers[1]->m_Discrete));
    EXPECT_EQ(std::vector<std::int32_t>{2}, Codes(m_Jumpers[0]->m_Analog));

    // An index naming no jumper is a fault of the sender: logged, dropped.
    m_Mgr->ForwardEvent(Named(27, true, 2));
    m_Mgr->ForwardAnalogEvent(Named(2, true, -1));
    EXPECT_EQ(1u, m_Jumpers[1]->m_Discrete.size());
    EXPECT_TRUE(m_Log.Has("Warning: Event 27 for jumper 2 is dropped: the level has 2 jumpers"));

    m_Mgr.reset();
    EXPECT_EQ(nullptr, CJumperMgr::GetSingleton());
    EXPECT_EQ(1, m_Jumpers[0].use_count());
}

TEST_F(JumperMgr, EmptyLevelDropsEventsQuietly)
{
    m_Mgr.reset(new CJumperMgr);
    m_Mgr->ForwardEvent(Named(27, true, 0));
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(JumperMgr, JumpersMayJoinTheListDuringTheUpdate)
{
    auto late = std::make_shared<CFakeJumper>();
    m_Jumpers[0]->m_OnUpdate = [&] { m_Mgr->AddToUpdateList(late); };
    m_Mgr->UpdateAll(CTiming());
    EXPECT_EQ(1, m_Jumpers[0]->m_Updates);
    EXPECT_EQ(1, m_Jumpers[1]->m_Updates);
    EXPECT_EQ(0, late->m_Updates);
    m_Jumpers[0]->m_OnUpdate = nullptr;
    m_Mgr->UpdateAll(CTiming());
    EXPECT_EQ(1, late->m_Updates);
}

class EventCopy : public JumperMgr
{
protected:
    EventCopy()
    {
        m_Mod.reset(new CEventCopyMod([this] { return m_NowMs; }));
        RecordNamedEvents();
        for (std::int32_t code = 12; code <= 17; ++code)
            m_Connections.emplace_back(
                m_Events->ConnectEvent(code, [this](const CInternalEvent& e) { m_ByCode.push_back(e.Code); }));
    }

    // Presses and releases next_canopy_control_type at `ms`.
    void Switch(std::uint64_t ms)
    {
        m_NowMs = ms;
        m_Events->FireInternalEvent(Named(28, true));
        m_Events->FireInternalEvent(Named(28, false));
    }

    std::uint64_t m_NowMs = 10000;
    std::unique_ptr<CEventCopyMod> m_Mod;
    std::vector<std::int32_t> m_ByCode;
};

TEST_F(EventCopy, HandControlsAreCopiedToTheOtherHand)
{
    EXPECT_TRUE(m_Log.Has("Using Mod: EventCopy"));
    EXPECT_EQ(m_Mod.get(), CEventCopyMod::GetSingleton());

    m_Events->FireInternalEvent(Named(4, true, 1));
    ASSERT_EQ(1u, m_Jumpers[1]->m_Discrete.size());
    const CInternalEvent& copy = m_Jumpers[1]->m_Discrete[0];
    EXPECT_EQ(5, copy.Code);
    EXPECT_EQ(1, copy.On);
    EXPECT_EQ(1, copy.JumperIndex);
    EXPECT_EQ(0.25f, copy.Value);
    EXPECT_TRUE(m_Jumpers[0]->m_Discrete.empty());

    // The copy also reaches the handlers of its own code, released as well.
    m_Events->FireInternalEvent(Named(17, false));
    EXPECT_EQ((std::vector<std::int32_t>{16, 17}), m_ByCode);
    EXPECT_EQ(std::vector<std::int32_t>{16}, Codes(m_Jumpers[0]->m_Discrete));

    m_Events->FireAnalogInternalEvent(Named(2, true));
    EXPECT_EQ(std::vector<std::int32_t>{3}, Codes(m_Jumpers[0]->m_Analog));
    m_Events->FireAnalogInternalEvent(Named(28, true));
    EXPECT_EQ(1u, m_Jumpers[0]->m_Analog.size());
}

TEST_F(EventCopy, ControlTypeCyclesNoFasterThanTheSwitchDelay)
{
    // Created at 10.0 s; the delay is 0.4 s and must be exceeded.
    Switch(10300);
    Switch(10400);
    EXPECT_EQ(16, m_Mod->GetControlCode());
    EXPECT_TRUE(m_ByCode.empty());

    Switch(10401);
    EXPECT_EQ(14, m_Mod->GetControlCode());
    // Both hands take the front risers: the left code is fired and copied.
    EXPECT_EQ((std::vector<std::int32_t>{15, 14, 14}), m_ByCode);
    EXPECT_EQ(std::vector<std::int32_t>{15}, Codes(m_Jumpers[0]->m_Discrete));

    Switch(10701);
    EXPECT_EQ(14, m_Mod->GetControlCode());
    Switch(10900);
    EXPECT_EQ(12, m_Mod->GetControlCode());
    Switch(11400);
    EXPECT_EQ(16, m_Mod->GetControlCode());

    // Restart goes back to the toggles and starts the delay again.
    Switch(13000);
    EXPECT_EQ(14, m_Mod->GetControlCode());
    m_Mod->Restart();
    EXPECT_EQ(16, m_Mod->GetControlCode());
    Switch(13300);
    EXPECT_EQ(16, m_Mod->GetControlCode());
}

TEST_F(EventCopy, ReleaseNeverSwitches)
{
    m_NowMs = 20000;
    m_Events->FireInternalEvent(Named(28, false));
    EXPECT_EQ(16, m_Mod->GetControlCode());
}

TEST_F(EventCopy, PausedModCopiesNothing)
{
    m_Mod->Pause();
    m_Events->FireInternalEvent(Named(4, true));
    Switch(20000);
    EXPECT_TRUE(m_Jumpers[0]->m_Discrete.empty());
    EXPECT_EQ(16, m_Mod->GetControlCode());
    m_Mod->Resume();
    m_Events->FireInternalEvent(Named(4, true));
    EXPECT_EQ(std::vector<std::int32_t>{5}, Codes(m_Jumpers[0]->m_Discrete));
}

TEST_F(EventCopy, MissingSwitchDelayThrowsOnTheFirstEvent)
{
    m_App.m_Config = ParseElement("<sds><Jumper/></sds>");
    m_Mod.reset();
    m_Mod.reset(new CEventCopyMod([this] { return m_NowMs; }));
    EXPECT_THROW(m_Events->FireInternalEvent(Named(4, true)), xml::CNoNodeException);
    m_Mod.reset();
    EXPECT_EQ("Done using Mod: EventCopy", m_Log.m_Lines.back());
    EXPECT_EQ(nullptr, CEventCopyMod::GetSingleton());
}

// The delay is wall-clock time: a pause that uses no processor time counts.
TEST_F(EventCopy, DelayRunsOnTheWallClock)
{
    m_Mod.reset();
    m_Mod.reset(new CEventCopyMod);
    m_Events->FireInternalEvent(Named(28, true));
    EXPECT_EQ(16, m_Mod->GetControlCode());
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    m_Events->FireInternalEvent(Named(28, true));
    EXPECT_EQ(14, m_Mod->GetControlCode());
}
