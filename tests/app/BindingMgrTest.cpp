#include <gtest/gtest.h>

#include <algorithm>

#include "AppFixture.h"
#include "app/BindingMgr.h"
#include "app/KeyDescriptions.h"
#include "support/DiskResourceMgr.h"

using namespace sds;

namespace {

std::string Binding(const std::string& name, const std::string& seq, const std::string& extra = "")
{
    return "<Binding Name=\"" + name + "\" Seq=\"" + seq + "\" " + extra + "/>";
}

std::string Mode(const std::string& name, const std::string& discrete, const std::string& analog = "")
{
    return "<Mode Name=\"" + name + "\"><Discrete>" + discrete + "</Discrete><Analog>" + analog +
           "</Analog></Mode>";
}

typedef std::vector<std::pair<std::int32_t, int>> CFired;

} // namespace

class Bindings : public CAppFixture
{
protected:
    void Load(const std::string& modes)
    {
        m_Bindings.reset(new CBindingMgr(ParseElement("<InputBindings>" + modes + "</InputBindings>", "bindings.xml")));
        RecordNamedEvents();
    }

    void Key(const std::string& name, std::int32_t type)
    {
        CDiscreteEvent event;
        event.Type = type;
        event.Key = ParseKey(name).Key;
        ASSERT_NE(0, event.Key) << name;
        m_Events->FireDiscreteEvent(event);
    }
    void Press(const std::string& name) { Key(name, EVENT_KEY_PRESSED); }
    void Release(const std::string& name) { Key(name, EVENT_KEY_RELEASED); }

    void MoveX(float pos, float rel, std::int32_t source = 0)
    {
        CAnalogEvent event;
        event.Pos[0] = pos;
        event.Rel[0] = rel;
        event.Pos[1] = event.Pos[2] = 0.5f;
        event.Source = source;
        m_Events->FireAnalogEvent(event);
    }
    void MoveY(float pos, float rel)
    {
        CAnalogEvent event;
        event.Pos[0] = event.Pos[2] = 0.5f;
        event.Pos[1] = pos;
        event.Rel[1] = rel;
        m_Events->FireAnalogEvent(event);
    }

    // The discrete named events since the last call: (code, on).
    CFired Fired()
    {
        CFired fired;
        for (const CInternalEvent& e : m_Discrete)
            fired.emplace_back(e.Code, e.On);
        m_Discrete.clear();
        return fired;
    }
    std::vector<std::int32_t> FiredAnalog()
    {
        std::vector<std::int32_t> codes;
        for (const CInternalEvent& e : m_Analog)
            codes.push_back(e.Code);
        m_Analog.clear();
        return codes;
    }

    std::unique_ptr<CBindingMgr> m_Bindings;
};

TEST_F(Bindings, ChordFiresOnItsLastKeyAndEndsOnce)
{
    Load(Mode("Global", Binding("switch_fps", "Ctrl, Shift, F11")));
    std::vector<std::string> keys = {"Ctrl", "Shift", "F11"};
    std::sort(keys.begin(), keys.end());
    do {
        Press(keys[0]);
        Press(keys[1]);
        EXPECT_EQ(CFired(), Fired());
        Press(keys[2]);
        EXPECT_EQ((CFired{{115, 1}}), Fired()) << keys[2];
        // Any further press while the chord is down fires it again.
        Press("A");
        EXPECT_EQ((CFired{{115, 1}}), Fired());
        Release(keys[1]);
        EXPECT_EQ((CFired{{115, 0}}), Fired());
        Release(keys[0]);
        Release(keys[2]);
        Release("A");
        EXPECT_EQ(CFired(), Fired());
    } while (std::next_permutation(keys.begin(), keys.end()));
}

TEST_F(Bindings, AlternativesEachFireTheEvent)
{
    Load(Mode("Global", Binding("pause", "Pause; Ctrl, P")));
    Press("Pause");
    Release("Pause");
    Press("Ctrl");
    EXPECT_EQ((CFired{{99, 1}, {99, 0}}), Fired());
    Press("P");
    Release("Ctrl");
    EXPECT_EQ((CFired{{99, 1}, {99, 0}}), Fired());
}

TEST_F(Bindings, ModeReplacesAGlobalChordAndSaysSo)
{
    Load(Mode("Global", Binding("pause", "Ctrl, P")) + Mode("Menu", Binding("restart", "Ctrl, P")));
    EXPECT_EQ(std::vector<std::string>{"Warning: Repeated binding: "
                                       "InputBindings->Mode[Name=Menu]->Discrete->"
                                       "Binding[Name=restart]; Original: "
                                       "InputBindings->Mode[Name=Global]->Discrete->"
                                       "Binding[Name=pause]"},
              Warnings());

    m_Bindings->PushMode("Menu");
    Press("Ctrl");
    Press("P");
    Release("P");
    Release("Ctrl");
    EXPECT_EQ((CFired{{100, 1}, {100, 0}}), Fired());

    m_Bindings->PopMode();
    Press("Ctrl");
    Press("P");
    EXPECT_EQ((CFired{{99, 1}}), Fired());
}

TEST_F(Bindings, PushingAModeEndsTheHeldChordsAndBothAreLogged)
{
    Load(Mode("Global", Binding("pause", "Ctrl, P")) + Mode("Menu", ""));
    Press("Ctrl");
    Press("P");
    EXPECT_EQ((CFired{{99, 1}}), Fired());

    m_Bindings->PushMode("Menu");
    EXPECT_EQ((CFired{{99, 0}}), Fired());
    EXPECT_EQ("New input mode: Menu", m_Log.m_Lines.back());
    // The new mode never saw the keys go down.
    Release("P");
    Release("Ctrl");
    EXPECT_EQ(CFired(), Fired());

    m_Bindings->PopMode();
    EXPECT_EQ("Restored input mode: Global", m_Log.m_Lines.back());
    EXPECT_TRUE(m_Log.Has("New input mode: Global"));
}

TEST_F(Bindings, ABindingHeldWhenItsModeIsPoppedGoesOffAtItsReleaseAndNeverFiresAgain)
{
    Load(Mode("Global", Binding("pause", "P")) + Mode("FreeFall", Binding("open_canopy", "Space")) +
         Mode("CanopyRide", Binding("control_left_toggle", "X")));
    m_Bindings->PushMode("FreeFall");
    Press("Space");
    m_Bindings->PopMode();
    EXPECT_EQ((CFired{{27, 1}}), Fired());
    // "Global" has nothing on Space, yet the release still ends the pull.
    Release("Space");
    EXPECT_EQ((CFired{{27, 0}}), Fired());
    Press("Space");
    Release("Space");
    EXPECT_EQ(CFired(), Fired());

    // A popped mode forgets its held keys: back on top, nothing sticks or re-fires.
    m_Bindings->PushMode("CanopyRide");
    Press("X");
    m_Bindings->PopMode();
    EXPECT_EQ((CFired{{16, 1}}), Fired());
    m_Bindings->PushMode("CanopyRide");
    EXPECT_FALSE(m_Bindings->IsEventHeld(16));
    Press("P");
    Release("P");
    EXPECT_EQ((CFired{{99, 1}, {99, 0}}), Fired());
    Release("X");
    Press("X");
    EXPECT_EQ((CFired{{16, 0}, {16, 1}}), Fired());
}

TEST_F(Bindings, ResetEndsHeldBindings)
{
    Load(Mode("Global", Binding("turn_left", "A; Left")));
    Press("Left");
    EXPECT_TRUE(m_Bindings->IsEventActive(2));
    EXPECT_TRUE(m_Bindings->IsEventHeld(2));
    EXPECT_FALSE(m_Bindings->IsEventActive(3));
    m_Bindings->ResetCurrentMode();
    EXPECT_EQ((CFired{{2, 1}, {2, 0}}), Fired());
    EXPECT_FALSE(m_Bindings->IsEventActive(2));
}

TEST_F(Bindings, AnEmptiedStackIgnoresInput)
{
    Load(Mode("Global", Binding("pause", "P")));
    m_Bindings->PopMode();
    EXPECT_EQ("Restored input mode: (none)", m_Log.m_Lines.back());
    Press("P");
    MoveX(0.7f, 0.1f);
    m_Bindings->ResetCurrentMode();
    m_Bindings->PopMode();
    EXPECT_FALSE(m_Bindings->IsEventActive(99));
    EXPECT_EQ(CFired(), Fired());
}

TEST_F(Bindings, MostModifierKeysWinTheAxis)
{
    Load(Mode("Global", "",
              Binding("camera_pitch", "m0y") + Binding("turn_left", "LeftMouseBtn, m0y") +
                  Binding("turn_right", "Shift, m0y")));
    MoveY(0.6f, 0.1f);
    EXPECT_EQ(std::vector<std::int32_t>{45}, FiredAnalog());

    Press("LeftMouseBtn");
    MoveY(0.6f, 0.1f);
    EXPECT_EQ(std::vector<std::int32_t>{2}, FiredAnalog());

    Press("Shift");
    MoveY(0.6f, 0.1f);
    EXPECT_EQ((std::vector<std::int32_t>{2, 3}), FiredAnalog());

    Release("LeftMouseBtn");
    Release("Shift");
    MoveY(0.6f, 0.1f);
    EXPECT_EQ(std::vector<std::int32_t>{45}, FiredAnalog());
    EXPECT_EQ(CFired(), Fired());
}

TEST_F(Bindings, AxisCodesAndTheirValues)
{
    // camera_forward 46: xcp, camera_back 49: xcn, camera_right 50: xp,
    // camera_left 51: xn, camera_yaw 44: x.
    Load(Mode("Global", "",
              Binding("camera_forward", "m0xcp") + Binding("camera_back", "m0xcn") +
                  Binding("camera_right", "m0xp") + Binding("camera_left", "m0xn") + Binding("camera_yaw", "m0x")));
    struct
    {
        float pos, rel;
        std::vector<std::int32_t> codes;
        std::vector<float> change, value;
    } cases[] = {
        // At the centre only the direction of movement fires.
        {0.5f, 0.1f, {46}, {0.2f}, {0.0f}},
        {0.75f, 0.1f, {46, 50, 44}, {0.2f, 0.2f, 0.1f}, {0.5f, 0.5f, 0.75f}},
        {0.25f, -0.1f, {49, 51, 44}, {-0.2f, -0.2f, -0.1f}, {-0.5f, 0.5f, 0.25f}},
        {0.75f, 0.0f, {}, {}, {}},
    };
    for (const auto& c : cases) {
        MoveX(c.pos, c.rel);
        ASSERT_EQ(c.codes.size(), m_Analog.size()) << c.pos;
        for (std::size_t i = 0; i < c.codes.size(); ++i) {
            EXPECT_EQ(c.codes[i], m_Analog[i].Code);
            EXPECT_FLOAT_EQ(c.change[i], m_Analog[i].Change) << c.pos << " " << i;
            EXPECT_FLOAT_EQ(c.value[i], m_Analog[i].Value) << c.pos << " " << i;
        }
        m_Analog.clear();
    }
}

TEST_F(Bindings, AxisBelongsToItsMouse)
{
    Load(Mode("Global", "", Binding("camera_back", "m1xcn")));
    MoveX(0.4f, -0.1f, 0);
    EXPECT_EQ(std::vector<std::int32_t>(), FiredAnalog());
    MoveX(0.4f, -0.1f, 1);
    EXPECT_EQ(std::vector<std::int32_t>{49}, FiredAnalog());
}

TEST_F(Bindings, ConfigurationFaultsAreWarnedAndSkipped)
{
    Load(Mode("Global",
              Binding("pause", "Ctlr, P; Ctlr") + Binding("pase", "F5") + "<Binding1 Name=\"restart\" Seq=\"K\"/>",
              Binding("camera_yaw", "Shift, m0q")) +
         Mode("FreeFall", Binding("turn_left", "A")) + Mode("FreeFall", Binding("turn_right", "D")));
    EXPECT_EQ((std::vector<std::string>{
                  "Warning: Unknown binding key: Ctlr",
                  "Warning: Unknown binding key: Ctlr",
                  "Warning: Unknown event type: pase",
                  "Warning: Unknown binding key: m0q",
                  "Warning: Analog binding without an axis skipped: "
                  "InputBindings->Mode[Name=Global]->Analog->Binding[Name=camera_yaw]",
                  "Warning: Repeated mode skipped: FreeFall",
              }),
              Warnings());

    // The unknown key is dropped from its chord; the unknown event fires code 0.
    Press("P");
    Press("F5");
    Press("K");
    EXPECT_EQ((CFired{{99, 1}, {99, 1}, {0, 1}, {99, 1}, {0, 1}}), Fired());
    Release("P");
    Release("F5");
    Release("K");
    Fired();

    m_Bindings->PushMode("FreeFall");
    Press("A");
    Press("D");
    EXPECT_EQ((CFired{{2, 1}, {2, 1}}), Fired());
}

TEST_F(Bindings, AllowRepeatKeepsBothBindings)
{
    Load(Mode("Global", Binding("pause", "K")) + Mode("Menu", Binding("restart", "K", "AllowRepeat=\"1\"")));
    EXPECT_TRUE(Warnings().empty());
    m_Bindings->PushMode("Menu");
    Press("K");
    EXPECT_EQ((CFired{{99, 1}, {100, 1}}), Fired());
}

TEST_F(Bindings, TransitionPrefixes)
{
    Load(Mode("Global", Binding("menu_mode", "Released Escape") + Binding("pause", "Pressed Space")));
    Press("Escape");
    EXPECT_EQ(CFired(), Fired());
    // A binding to a release fires on and off as the key comes up.
    Release("Escape");
    EXPECT_EQ((CFired{{92, 1}, {92, 0}}), Fired());
    Press("A");
    EXPECT_EQ(CFired(), Fired());

    Press("Space");
    Release("Space");
    EXPECT_EQ((CFired{{99, 1}, {99, 0}}), Fired());
}

TEST_F(Bindings, ModeMissingFromTheFileKeepsTheGlobalKeys)
{
    Load(Mode("Global", Binding("menu_mode", "Escape")));
    m_Bindings->PushMode("TrajectoryViewer");
    EXPECT_EQ(std::vector<std::string>{"Warning: Input mode TrajectoryViewer is not in the bindings; it has the "
                                       "Global bindings only"},
              Warnings());
    Press("Escape");
    EXPECT_EQ((CFired{{92, 1}}), Fired());
}

TEST_F(Bindings, HandlersMayChangeModesWhileInputIsHandled)
{
    Load(Mode("Global", "") + Mode("ExitPlane", Binding("letgo_from_plane", "Space")) +
         Mode("HangingOutOfPlane", Binding("letgo_from_plane", "Space")));
    m_Bindings->PushMode("ExitPlane");
    std::vector<std::string> phases;
    boost::signals2::scoped_connection jumper = m_Events->ConnectEvent(29, [&](const CInternalEvent& e) {
        if (e.On)
            return;
        phases.push_back(phases.empty() ? "hanging" : "free fall");
        m_Bindings->PopMode();
        m_Bindings->PushMode("HangingOutOfPlane");
    });

    Press("Space");
    Release("Space");
    EXPECT_EQ(std::vector<std::string>{"hanging"}, phases);
    // The release that moved the jumper out does not also let go.
    EXPECT_FALSE(m_Bindings->IsEventActive(29));
    Press("Space");
    Release("Space");
    EXPECT_EQ((std::vector<std::string>{"hanging", "free fall"}), phases);
}

TEST_F(Bindings, MissingSectionsThrow)
{
    for (const std::string& modes : {std::string("<Mode Name=\"Global\"><Discrete/></Mode>"),
                                     Mode("Menu", ""), Mode("Global", "<Binding Name=\"pause\"/>")}) {
        EXPECT_THROW(CBindingMgr(ParseElement("<InputBindings>" + modes + "</InputBindings>")), xml::CNoNodeException)
            << modes;
    }
}

TEST_F(Bindings, ShippedBindingsLoadCleanly)
{
    CDiskResourceMgr resources;
    CMessageCapture quiet;
    const xml::CNodePtr config = xml::LoadXmlFile("../conf/conf.xml")->GetChild("sds");
    m_Bindings.reset(new CBindingMgr(config->GetChildById("InputBindings", "Standard", "Edition")));
    RecordNamedEvents();
    for (const char* mode : {"Menu", "ExitPlane", "HangingOutOfPlane", "FreeFall", "CanopyRide", "LandingNormal",
                             "TrajectoryViewer", "Editor", "Global"})
        m_Bindings->PushMode(mode);
    EXPECT_EQ(std::vector<std::string>(), Warnings());

    m_Bindings->PushMode("CanopyRide");
    Press("Space");
    EXPECT_EQ((CFired{{28, 1}}), Fired());
    Press("LeftMouseBtn");
    MoveY(0.7f, 0.05f);
    EXPECT_EQ(std::vector<std::int32_t>{2}, FiredAnalog());
}

TEST(KeyDescriptions, SeqsReadAsKeysAndMouse)
{
    const struct
    {
        const char* seq;
        const char* shown;
    } cases[] = {
        {"A; Left", "A or Left arrow"},
        {"Ctrl, R", "Ctrl+R"},
        {"Pause; Ctrl, P", "Pause or Ctrl+P"},
        {"Space; LeftMouseBtn", "Space or left mouse button"},
        {"RightMouseBtn, m0y", "right mouse button + mouse forward-back"},
        {"m0x", "mouse left-right"},
        {"m0z", "mouse wheel"},
        {"Sysrq; F12", "Print Screen or F12"},
        {"Released MiddleMouseBtn", "middle mouse button (on release)"},
        {"Numpad8", "Numpad 8"},
        {"MouseBtn4", "mouse button 4"},
        {"Escape", "Esc"},
        {" ; Q ,", "Q"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, DescribeSeq(c.seq)) << c.seq;
}

TEST(KeyDescriptions, AModeWithoutTheActionTakesTheGlobalKeys)
{
    CMessageCapture quiet;
    const xml::CNodePtr bindings = ParseElement(
        "<InputBindings>" + Mode("Global", Binding("pause", "Pause") + Binding("turn_left", "J")) +
        Mode("CanopyRide", Binding("turn_left", "A; Left"), Binding("turn_left", "LeftMouseBtn, m0y")) +
        Mode("FreeFall", "") + "</InputBindings>");
    EXPECT_EQ("A or Left arrow or left mouse button + mouse forward-back",
              DescribeKeys(bindings, "CanopyRide", "turn_left"));
    EXPECT_EQ("J", DescribeKeys(bindings, "FreeFall", "turn_left"));
    EXPECT_EQ("Pause", DescribeKeys(bindings, "CanopyRide", "pause"));
    EXPECT_EQ("", DescribeKeys(bindings, "CanopyRide", "cut_away"));
    EXPECT_EQ("", DescribeKeys(bindings, "NoSuchMode", "feet_up"));
}
