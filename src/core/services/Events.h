#pragma once

#include <cstdint>
#include <string>

namespace sds {

// Event kinds carried in the records' Type field.
enum EEventType : std::int32_t
{
    EVENT_FRAME = 2,
    EVENT_KEY_PRESSED = 100,
    EVENT_KEY_RELEASED = 101,
    EVENT_GUI = 102,
    EVENT_MOUSE_MOVED = 200,
};

// Mouse buttons are reported as discrete events with this key base.
const std::int32_t MOUSE_BUTTON_KEY_BASE = 0xF00;

// Once per frame, with the rendering engine's frame times in seconds.
struct CFrameEvent
{
    std::int32_t Type = EVENT_FRAME;
    float Time = 0.0f;
    std::int32_t Reserved = 0;
    float TimeSinceLastEvent = 0.0f;
    float TimeSinceLastFrame = 0.0f;
};

// A key or mouse button pressed (100) or released (101).
struct CDiscreteEvent
{
    std::int32_t Type = EVENT_KEY_PRESSED;
    float Time = 0.0f;
    std::int32_t Key = 0;  // keyboard key code, or MOUSE_BUTTON_KEY_BASE + button index
    char Char = ' ';       // " " for mouse buttons
    std::int32_t Source = 0;
};

// A pointer movement (200): absolute position and relative motion.
struct CAnalogEvent
{
    std::int32_t Type = EVENT_MOUSE_MOVED;
    float Time = 0.0f;
    float Pos[3] = {0.0f, 0.0f, 0.0f};
    float Rel[3] = {0.0f, 0.0f, 0.0f};
    float Extra[2] = {0.0f, 0.0f};
    std::int32_t Source = 0;
};

// A widget event (102), keyed by the widget's window name.
struct CGUIEvent
{
    CGUIEvent() = default;
    explicit CGUIEvent(const std::string& window, std::int32_t type = EVENT_GUI, float time = 0.0f)
        : Type(type), Time(time), Window(window)
    {
    }

    std::int32_t Type = EVENT_GUI;
    float Time = 0.0f;
    std::string Window;
    std::string Extra;
};

// A named event fired by the input bindings.
struct CInternalEvent
{
    std::int32_t Code = 0;
    std::int32_t Reserved1 = 0;
    std::uint8_t On = 0;      // nonzero while the binding is held
    float Change = 0.0f;      // analog change (axis events)
    float Value = 0.0f;       // analog position (axis events)
    std::int32_t Reserved2 = 0;
    std::int32_t JumperIndex = 0;
};

} // namespace sds
