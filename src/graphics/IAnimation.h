#pragma once

#include <string>

namespace sds {

// A named animation of a graphic object. Its users own it by shared pointer; the
// object keeps a weak reference and advances it every frame while it is
// enabled and its auto-update flag is set.
class IAnimation
{
public:
    void SetAutoUpdate(bool autoUpdate) { m_AutoUpdate = autoUpdate; }
    bool IsAutoUpdate() const { return m_AutoUpdate; }
    void SetSpeed(float speed) { m_Speed = speed; }
    float GetSpeed() const { return m_Speed; }

    virtual ~IAnimation() = default;
    virtual void SetLoop(bool loop) = 0;
    virtual bool GetLoop() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    // Moves the time position; it stops exactly at either end rather than
    // passing it (a looping animation that reaches its end starts again at 0).
    virtual void AddTime(float seconds) = 0;
    virtual float GetLength() const = 0;
    // Time position over length; 0 for a length of 0 or less.
    virtual float GetRelativePosition() const = 0;
    virtual void SetRelativePosition(float fraction) = 0;
    virtual void SetWeight(float weight) = 0;
    virtual float GetWeight() const = 0;
    virtual std::string GetAnimationName() const = 0;

protected:
    // The step that stops at the ends, for a time position and a length.
    static float ClampedStep(float position, float length, float seconds)
    {
        if (seconds > 0.0f && position + seconds > length)
            return length - position;
        if (seconds < 0.0f && position + seconds < 0.0f)
            return -position;
        return seconds;
    }

private:
    bool m_AutoUpdate = true;
    float m_Speed = 1.0f;
};

} // namespace sds
