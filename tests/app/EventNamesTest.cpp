#include <gtest/gtest.h>

#include "app/EventNames.h"
#include "support/CapturingLogMgr.h"

using namespace sds;

TEST(EventNames, EveryEventNameHasItsCode)
{
    const std::pair<const char*, int> events[] = {
        {"turn_left", 2}, {"turn_right", 3}, {"turn_left_toggle", 4}, {"turn_right_toggle", 5},
        {"turn_left_rear_riser", 6}, {"turn_right_rear_riser", 7}, {"turn_left_front_riser", 8},
        {"turn_right_front_riser", 9}, {"turn_left_harness", 10}, {"turn_right_harness", 11},
        {"control_left_rear_riser", 12}, {"control_right_rear_riser", 13}, {"control_left_front_riser", 14},
        {"control_right_front_riser", 15}, {"control_left_toggle", 16}, {"control_right_toggle", 17},
        {"feet_up", 18}, {"forward", 19}, {"back", 20}, {"open_canopy", 27}, {"next_canopy_control_type", 28},
        {"letgo_from_plane", 29}, {"cut_away", 30}, {"fold_canopy", 31}, {"camera_yaw", 44},
        {"camera_pitch", 45}, {"camera_forward", 46}, {"camera_slow_movement", 47},
        {"camera_accelerated_movement", 48}, {"camera_back", 49}, {"camera_right", 50}, {"camera_left", 51},
        {"camera_up", 52}, {"camera_down", 53}, {"camera_horizontal_forward", 54},
        {"camera_horizontal_back", 55}, {"camera_switch_details", 56}, {"camera_3dperspective", 57},
        {"camera_behind", 58}, {"camera_around", 59}, {"camera_sideways", 60}, {"camera_free", 61},
        {"camera_script1", 62}, {"camera_script2", 63}, {"camera_script3", 64}, {"camera_script4", 65},
        {"camera_fixed", 66}, {"camera_none", 67}, {"menu_mode", 92}, {"loading_start", 93},
        {"loading_done", 94}, {"menu_cancel", 95}, {"exit", 96}, {"end", 97}, {"continue", 98}, {"pause", 99},
        {"restart", 100}, {"gui_copy", 111}, {"gui_paste", 112}, {"screen_shot", 113}, {"switch_hud", 114},
        {"switch_fps", 115},
    };
    CCapturingLogMgr log;
    for (const auto& event : events)
        EXPECT_EQ(event.second, GetEventCode(event.first)) << event.first;
    EXPECT_EQ(62u, GetEventNameTable().size());
    EXPECT_TRUE(log.m_Lines.empty());
}

TEST(EventNames, MisspeltEventNameGivesZeroAndOneWarning)
{
    CCapturingLogMgr log;
    EXPECT_EQ(0, GetEventCode("letgo_from_plain"));
    EXPECT_EQ(0, GetEventCode("Open_canopy"));
    EXPECT_EQ((std::vector<std::string>{"Warning: Unknown event type: letgo_from_plain",
                                        "Warning: Unknown event type: Open_canopy"}),
              log.m_Lines);
}

TEST(EventNames, EveryKeyNameHasItsCode)
{
    const std::pair<const char*, int> keys[] = {
        {"Space", 57}, {"Escape", 1}, {"Minus", 12}, {"Equals", 13}, {"Back", 14}, {"Tab", 15},
        {"LeftBracket", 26}, {"[", 26}, {"RightBracket", 27}, {"]", 27}, {"Return", 28}, {"Enter", 28},
        {"LeftControl", 29}, {"Control", 29}, {"Ctrl", 29}, {"Semicolon", 39}, {"Apostrophe", 40},
        {"Grave", 41}, {"LeftShift", 42}, {"Shift", 42}, {"Backslash", 43}, {"Comma", 51}, {"Period", 52},
        {"Slash", 53}, {"RightShift", 54}, {"Multiply", 55}, {"LeftMenu", 56}, {"LeftAlt", 56}, {"Alt", 56},
        {"Capital", 58}, {"F1", 59}, {"F2", 60}, {"F3", 61}, {"F4", 62}, {"F5", 63}, {"F6", 64}, {"F7", 65},
        {"F8", 66}, {"F9", 67}, {"F10", 68}, {"Numlock", 69}, {"Scroll", 70}, {"Numpad7", 71},
        {"Numpad8", 72}, {"Numpad9", 73}, {"Subtract", 74}, {"Numpad4", 75}, {"Numpad5", 76},
        {"Numpad6", 77}, {"Add", 78}, {"Numpad1", 79}, {"Numpad2", 80}, {"Numpad3", 81}, {"Numpad0", 82},
        {"Decimal", 83}, {"Oem_102", 86}, {"F11", 87}, {"F12", 88}, {"F13", 100}, {"F14", 101}, {"F15", 102},
        {"Kana", 112}, {"Abnt_c1", 115}, {"Convert", 121}, {"Noconvert", 123}, {"Yen", 125},
        {"Abnt_c2", 126}, {"Numpadequals", 141}, {"Prevtrack", 144}, {"At", 145}, {"Colon", 146},
        {"Underline", 147}, {"Kanji", 148}, {"Stop", 149}, {"Ax", 150}, {"Unlabeled", 151},
        {"Nexttrack", 153}, {"Numpadenter", 156}, {"Rcontrol", 157}, {"Mute", 160}, {"Calculator", 161},
        {"Playpause", 162}, {"Mediastop", 164}, {"Volumedown", 174}, {"Volumeup", 176}, {"Webhome", 178},
        {"Numpadcomma", 179}, {"Divide", 181}, {"Sysrq", 183}, {"Rmenu", 184}, {"Ralt", 184},
        {"Pause", 197}, {"Home", 199}, {"Up", 200}, {"Pgup", 201}, {"Left", 203}, {"Right", 205},
        {"End", 207}, {"Down", 208}, {"Pgdown", 209}, {"Insert", 210}, {"Delete", 211}, {"Lwin", 219},
        {"Rwin", 220}, {"Apps", 221}, {"Power", 222}, {"Sleep", 223}, {"Wake", 227}, {"Websearch", 229},
        {"Webfavorites", 230}, {"Webrefresh", 231}, {"Webstop", 232}, {"Webforward", 233},
        {"Webback", 234}, {"Mycomputer", 235}, {"Mail", 236}, {"Mediaselect", 237}, {"LeftMouseBtn", 3840},
        {"RightMouseBtn", 3841}, {"MiddleMouseBtn", 3842}, {"MouseBtn3", 3843}, {"MouseBtn4", 3844},
        {"MouseBtn5", 3845}, {"MouseBtn6", 3846}, {"MouseBtn7", 3847}, {"1", 2}, {"2", 3}, {"3", 4},
        {"4", 5}, {"5", 6}, {"6", 7}, {"7", 8}, {"8", 9}, {"9", 10}, {"0", 11}, {"Q", 16}, {"W", 17},
        {"E", 18}, {"R", 19}, {"T", 20}, {"Y", 21}, {"U", 22}, {"I", 23}, {"O", 24}, {"P", 25}, {"A", 30},
        {"S", 31}, {"D", 32}, {"F", 33}, {"G", 34}, {"H", 35}, {"J", 36}, {"K", 37}, {"L", 38}, {"Z", 44},
        {"X", 45}, {"C", 46}, {"V", 47}, {"B", 48}, {"N", 49}, {"M", 50},
    };
    ASSERT_EQ(161u, sizeof(keys) / sizeof(keys[0]));
    for (const auto& key : keys) {
        const CBindingKey parsed = ParseKey(key.first);
        EXPECT_EQ(KEY_ANY, parsed.Type) << key.first;
        EXPECT_EQ(key.second, parsed.Key) << key.first;
        EXPECT_EQ(0, parsed.Source) << key.first;
        EXPECT_FALSE(parsed.Held) << key.first;
    }
    EXPECT_EQ(161u, GetKeyNameTable().size());
}

TEST(EventNames, KeyTokens)
{
    struct
    {
        const char* token;
        std::int32_t type;
        std::int32_t key;
    } cases[] = {
        {"Pressed Space", KEY_PRESSED, 57},
        {"Space", KEY_ANY, 57},
        {" \tReleased Escape ", KEY_RELEASED, 1},
        {"Clicked LeftMouseBtn", KEY_CLICKED, 3840},
        {"Pressed  Return", KEY_PRESSED, 28},
        {"ctrl", KEY_NONE, 0}, // names are case-sensitive
        {"Pressed", KEY_NONE, 0},
        {"", KEY_NONE, 0},
    };
    for (const auto& c : cases) {
        const CBindingKey key = ParseKey(c.token);
        EXPECT_EQ(c.type, key.Type) << c.token;
        if (c.type != KEY_NONE) {
            EXPECT_EQ(c.key, key.Key) << c.token;
        }
    }
    // The left-hand names never stand for the right-hand keys.
    EXPECT_NE(ParseKey("Ctrl").Key, ParseKey("Rcontrol").Key);
    EXPECT_EQ(ParseKey("Enter").Key, ParseKey("Return").Key);
}

TEST(EventNames, AxisTokens)
{
    struct
    {
        const char* token;
        std::int32_t type;
        std::int32_t source;
    } cases[] = {
        {"m0y", 213, 0},  {"m1xcn", 209, 1}, {"m0", 0, 0},    {"xp", 200, 0},  {" m1zp ", 202, 1},
        {"m0ycp", 207, 0}, {"m0yn", 204, 0},  {"m1z", 214, 1}, {"m0xcp", 206, 0}, {"w", 0, 0},
    };
    for (const auto& c : cases) {
        const CAnalogEvent axis = ParseAxis(c.token);
        EXPECT_EQ(c.type, axis.Type) << c.token;
        EXPECT_EQ(c.source, axis.Source) << c.token;
        EXPECT_EQ(0.0f, axis.Pos[0]);
        EXPECT_EQ(0.0f, axis.Rel[1]);
    }
}

TEST(EventNames, NameTableKeepsTheFirstCode)
{
    CNameTable table;
    NameTableInsert(table, "Space", 57);
    NameTableInsert(table, "Space", 58);
    EXPECT_EQ(57, table.at("Space"));
}
