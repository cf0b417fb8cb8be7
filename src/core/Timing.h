#pragma once

namespace sds {

// The time record handed to every per-frame update, in seconds.
struct CTiming
{
    float m_Elapsed = 0.0f; // since the previous frame
    float m_Global = 0.0f;  // since the engine started; keeps counting across restarts
};

// Advanced once a frame.
class IUpdate
{
public:
    virtual void Update(const CTiming& timing) = 0;
    virtual ~IUpdate() = default;
};

// The per-frame work of a state.
class IOnUpdate
{
public:
    virtual void OnUpdate(const CTiming& timing) = 0;
    virtual ~IOnUpdate() = default;
};

} // namespace sds
