#include "app/EventNames.h"

#include "core/ILogMgr.h"
#include "core/services/EventCodes.h"

namespace sds {

namespace {

CNameTable MakeEventNameTable()
{
    CNameTable table;
    for (const EventCodes::CNamedCode& event : EventCodes::kNamedCodes)
        NameTableInsert(table, event.Name, event.Code);
    return table;
}

// Input-library key codes (the scan codes); mouse buttons are 0xF00 + button.
CNameTable MakeKeyNameTable()
{
    static const std::pair<const char*, std::int32_t> keys[] = {
        {"Space", 57}, {"Escape", 1}, {"Minus", 12}, {"Equals", 13}, {"Back", 14}, {"Tab", 15},
        {"LeftBracket", 26}, {"[", 26}, {"RightBracket", 27}, {"]", 27}, {"Return", 28}, {"Enter", 28},
        {"LeftControl", 29}, {"Control", 29}, {"Ctrl", 29}, {"Semicolon", 39}, {"Apostrophe", 40},
        {"Grave", 41}, {"LeftShift", 42}, {"Shift", 42}, {"Backslash", 43}, {"Comma", 51}, {"Period", 52},
        {"Slash", 53}, {"RightShift", 54}, {"Multiply", 55}, {"LeftMenu", 56}, {"LeftAlt", 56}, {"Alt", 56},
        {"Space", 57}, {"Capital", 58}, {"F1", 59}, {"F2", 60}, {"F3", 61}, {"F4", 62}, {"F5", 63},
        {"F6", 64}, {"F7", 65}, {"F8", 66}, {"F9", 67}, {"F10", 68}, {"Numlock", 69}, {"Scroll", 70},
        {"Numpad7", 71}, {"Numpad8", 72}, {"Numpad9", 73}, {"Subtract", 74}, {"Numpad4", 75},
        {"Numpad5", 76}, {"Numpad6", 77}, {"Add", 78}, {"Numpad1", 79}, {"Numpad2", 80}, {"Numpad3", 81},
        {"Numpad0", 82}, {"Decimal", 83}, {"Oem_102", 86}, {"F11", 87}, {"F12", 88}, {"F13", 100},
        {"F14", 101}, {"F15", 102}, {"Kana", 112}, {"Abnt_c1", 115}, {"Convert", 121}, {"Noconvert", 123},
        {"Yen", 125}, {"Abnt_c2", 126}, {"Numpadequals", 141}, {"Prevtrack", 144}, {"At", 145},
        {"Colon", 146}, {"Underline", 147}, {"Kanji", 148}, {"Stop", 149}, {"Ax", 150}, {"Unlabeled", 151},
        {"Nexttrack", 153}, {"Numpadenter", 156}, {"Rcontrol", 157}, {"Mute", 160}, {"Calculator", 161},
        {"Playpause", 162}, {"Mediastop", 164}, {"Volumedown", 174}, {"Volumeup", 176}, {"Webhome", 178},
        {"Numpadcomma", 179}, {"Divide", 181}, {"Sysrq", 183}, {"Rmenu", 184}, {"Ralt", 184},
        {"Pause", 197}, {"Home", 199}, {"Up", 200}, {"Pgup", 201}, {"Left", 203}, {"Right", 205},
        {"End", 207}, {"Down", 208}, {"Pgdown", 209}, {"Insert", 210}, {"Delete", 211}, {"Lwin", 219},
        {"Rwin", 220}, {"Apps", 221}, {"Power", 222}, {"Sleep", 223}, {"Wake", 227}, {"Websearch", 229},
        {"Webfavorites", 230}, {"Webrefresh", 231}, {"Webstop", 232}, {"Webforward", 233},
        {"Webback", 234}, {"Mycomputer", 235}, {"Mail", 236}, {"Mediaselect", 237},
        {"LeftMouseBtn", MOUSE_BUTTON_KEY_BASE + 0}, {"RightMouseBtn", MOUSE_BUTTON_KEY_BASE + 1},
        {"MiddleMouseBtn", MOUSE_BUTTON_KEY_BASE + 2}, {"MouseBtn3", MOUSE_BUTTON_KEY_BASE + 3},
        {"MouseBtn4", MOUSE_BUTTON_KEY_BASE + 4}, {"MouseBtn5", MOUSE_BUTTON_KEY_BASE + 5},
        {"MouseBtn6", MOUSE_BUTTON_KEY_BASE + 6}, {"MouseBtn7", MOUSE_BUTTON_KEY_BASE + 7},
        {"1", 2}, {"2", 3}, {"3", 4}, {"4", 5}, {"5", 6}, {"6", 7}, {"7", 8}, {"8", 9}, {"9", 10}, {"0", 11},
        {"Q", 16}, {"W", 17}, {"E", 18}, {"R", 19}, {"T", 20}, {"Y", 21}, {"U", 22}, {"I", 23}, {"O", 24},
        {"P", 25}, {"A", 30}, {"S", 31}, {"D", 32}, {"F", 33}, {"G", 34}, {"H", 35}, {"J", 36}, {"K", 37},
        {"L", 38}, {"Z", 44}, {"X", 45}, {"C", 46}, {"V", 47}, {"B", 48}, {"N", 49}, {"M", 50},
    };
    CNameTable table;
    for (const auto& key : keys)
        NameTableInsert(table, key.first, key.second);
    return table;
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

void NameTableInsert(CNameTable& table, const std::string& name, std::int32_t code)
{
    table.insert(CNameTable::value_type(name, code));
}

const CNameTable& GetEventNameTable()
{
    static const CNameTable table = MakeEventNameTable();
    return table;
}

const CNameTable& GetKeyNameTable()
{
    static const CNameTable table = MakeKeyNameTable();
    return table;
}

std::int32_t GetEventCode(const std::string& eventName)
{
    const CNameTable& table = GetEventNameTable();
    const auto found = table.find(eventName);
    if (found != table.end())
        return found->second;
    ILogMgr::GetSingleton()->LogWarning("Unknown event type: " + eventName);
    return 0;
}

std::string TrimBlanks(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const std::string::size_type first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    const std::string::size_type last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

CBindingKey ParseKey(const std::string& token)
{
    static const std::pair<const char*, std::int32_t> prefixes[] = {
        {"Pressed ", KEY_PRESSED}, {"Released ", KEY_RELEASED}, {"Clicked ", KEY_CLICKED}};

    std::string name = TrimBlanks(token);
    std::int32_t type = KEY_ANY;
    for (const auto& prefix : prefixes) {
        const std::string::size_type at = name.find(prefix.first);
        if (at != std::string::npos) {
            type = prefix.second;
            name = TrimBlanks(name.erase(at, std::char_traits<char>::length(prefix.first)));
            break;
        }
    }

    CBindingKey key;
    const CNameTable& table = GetKeyNameTable();
    const auto found = table.find(name);
    if (found == table.end())
        return key;
    key.Type = type;
    key.Key = found->second;
    return key;
}

CAnalogEvent ParseAxis(const std::string& token)
{
    // Longer names first: "xcp" also contains "x".
    static const std::pair<const char*, std::int32_t> axes[] = {
        {"xcp", AXIS_XCP}, {"xcn", AXIS_XCN}, {"ycp", AXIS_YCP}, {"ycn", AXIS_YCN}, {"zcp", AXIS_ZCP},
        {"zcn", AXIS_ZCN}, {"xp", AXIS_XP},   {"xn", AXIS_XN},   {"yp", AXIS_YP},   {"yn", AXIS_YN},
        {"zp", AXIS_ZP},   {"zn", AXIS_ZN},   {"x", AXIS_X},     {"y", AXIS_Y},     {"z", AXIS_Z},
    };

    const std::string text = TrimBlanks(token);
    CAnalogEvent axis;
    axis.Type = AXIS_NONE;
    axis.Source = Contains(text, "m0") ? 0 : (Contains(text, "m1") ? 1 : 0);
    for (const auto& entry : axes) {
        if (Contains(text, entry.first)) {
            axis.Type = entry.second;
            break;
        }
    }
    return axis;
}

} // namespace sds
