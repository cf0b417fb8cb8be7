#pragma once

#include <string>

#include "core/SingletonTmpl.h"
#include "graphics/IOverlayed.h"
#include "mods/ILevelMod.h"

namespace sds {

// The line of text in the middle of the screen ("CenterMessage"): shown for a
// while, then hidden. The overlays, the landing states, the game mode and the
// jump log flash their messages with it.
class CHUDMessageMod : public ILevelMod, public CSingletonTmpl<CHUDMessageMod>
{
public:
    // Seconds a message stays when no time is given.
    static constexpr float DEFAULT_FADE_TIME = 3.0f;

    CHUDMessageMod();
    ~CHUDMessageMod() override;

    // Counts the message's time down; hides it once the time has run out.
    void Update(const CTiming& timing) override;
    // An empty message that goes within two frames.
    void Restart() override;
    void Pause() override;
    // Shows the message again if there is one.
    void Resume() override;

    // Shows the text for `fadeTime` seconds plus a frame; a negative time takes
    // the default.
    void ShowMessage(const std::string& text, float fadeTime);
    std::string GetMessage() const { return m_Element->GetCaption(); }
    bool IsVisible() const { return m_Overlay->IsVisible(); }
    void SetVisible(bool visible) { m_Overlay->SetVisible(visible); }

private:
    // The band behind the text: shown with a text, hidden without one.
    void SetCaption(const std::string& text);

    COverlayedPtr m_Overlay;
    IOverlayElement* m_Backdrop;
    IOverlayElement* m_Element;
    float m_FadeTimer = 0.0f;
};

} // namespace sds
