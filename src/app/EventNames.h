#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "core/services/Events.h"

namespace sds {

// Key-record types: a key bound to either transition, to its press, its
// release, or a GUI click; 0 marks a token that names no key.
enum EKeyAction : std::int32_t
{
    KEY_NONE = 0,
    KEY_ANY = 1,
    KEY_PRESSED = EVENT_KEY_PRESSED,
    KEY_RELEASED = EVENT_KEY_RELEASED,
    KEY_CLICKED = EVENT_GUI,
};

// Axis codes of analog bindings: the positive and negative halves while moving,
// the direction of movement, and the whole axis.
enum EAxisCode : std::int32_t
{
    AXIS_NONE = 0,
    AXIS_XP = 200, AXIS_YP, AXIS_ZP,
    AXIS_XN = 203, AXIS_YN, AXIS_ZN,
    AXIS_XCP = 206, AXIS_YCP, AXIS_ZCP,
    AXIS_XCN = 209, AXIS_YCN, AXIS_ZCN,
    AXIS_X = 212, AXIS_Y, AXIS_Z,
};

// One key of a binding: the key or mouse button with the transition it reacts
// to (Type, an EKeyAction) and whether it is held down now.
struct CBindingKey : CDiscreteEvent
{
    CBindingKey() { Type = KEY_NONE; }
    bool Held = false;
};

typedef std::map<std::string, std::int32_t> CNameTable;

// Inserts a name; a name already present keeps its first code.
void NameTableInsert(CNameTable& table, const std::string& name, std::int32_t code);

// The named events and their codes.
const CNameTable& GetEventNameTable();
// The names of keys and mouse buttons (case-sensitive) and their key codes.
const CNameTable& GetKeyNameTable();

// The code of a named event; an unknown name logs a warning and gives 0.
std::int32_t GetEventCode(const std::string& eventName);

// "Pressed Space", "Released Escape", "Ctrl": the key with its transition; a
// token naming no key gives Type KEY_NONE.
CBindingKey ParseKey(const std::string& token);

// "m0y", "m1xcn": the axis code in Type (AXIS_NONE for none) and the mouse in
// Source (0 for "m0" or no device, 1 for "m1").
CAnalogEvent ParseAxis(const std::string& token);

// Space, tab, carriage return and line feed removed from both ends.
std::string TrimBlanks(const std::string& text);

} // namespace sds
