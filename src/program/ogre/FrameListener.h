#pragma once

#include <Bites/OgreWindowEventUtilities.h>
#include <OGRE/OgreFrameListener.h>
#include <ois/OISKeyboard.h>
#include <ois/OISMouse.h>

#include "app/EventMgr.h"
#include "app/PointerPosition.h"

namespace Ogre {
class Overlay;
class RenderWindow;
} // namespace Ogre

namespace OIS {
class InputManager;
class JoyStick;
} // namespace OIS

namespace wrappers {

class COgreLogMgr;

// Drives each frame and owns the input devices: the keyboard and the mouse on
// the render window. Each frame it ends the loop when asked or when the window
// is closed, polls the devices (whose callbacks fire raw events at once),
// raises the log's frame count and fires the frame event. It is also the event
// manager, supplying the device queries, and keeps the pointer position,
// normalised to the window, that relative mouse motion moves.
class CFrameListener : public Ogre::FrameListener,
                       public OgreBites::WindowEventListener,
                       public OIS::KeyListener,
                       public OIS::MouseListener,
                       public sds::CEventMgr
{
public:
    // With inputs disabled the devices exist and are polled, but fire nothing.
    CFrameListener(Ogre::RenderWindow* window, bool inputsEnabled);
    ~CFrameListener() override;

    bool frameStarted(const Ogre::FrameEvent& event) override;
    bool frameEnded(const Ogre::FrameEvent& event) override;

    void windowResized(Ogre::RenderWindow* window) override;
    void windowClosed(Ogre::RenderWindow* window) override;
    void windowFocusChange(Ogre::RenderWindow*) override {}

    bool keyPressed(const OIS::KeyEvent& event) override;
    bool keyReleased(const OIS::KeyEvent& event) override;
    // Fires the motion of this poll that no callback has reported yet; a
    // button reports the motion before it, so nothing is reported twice.
    bool mouseMoved(const OIS::MouseEvent& event) override;
    bool mousePressed(const OIS::MouseEvent& event, OIS::MouseButtonID button) override;
    bool mouseReleased(const OIS::MouseEvent& event, OIS::MouseButtonID button) override;

    // False without a keyboard.
    bool IsKeyDown(std::int32_t key) const override;
    // x and y in [0, 1] across the window, and the wheel.
    sds::CVector GetMousePosition() const override;

    // Ends the frame loop at the end of this frame.
    void Stop() { m_Stop = true; }
    // Grabs or releases the pointer from the next frame on.
    void SetMouseGrab(bool grab);
    bool IsMouseGrabbed() const { return m_MouseGrabbed; }

private:
    void FireKey(const OIS::KeyEvent& event, std::int32_t type);
    void FireButton(const OIS::MouseEvent& event, OIS::MouseButtonID button, std::int32_t type);
    void UpdateStatistics();
    void SetMouseArea(unsigned width, unsigned height);
    void CreateMouse();
    void DestroyMouse();

    Ogre::Overlay* m_FpsOverlay;
    COgreLogMgr* m_LogMgr;
    sds::CPointerPosition m_MousePosition;
    OIS::Keyboard* m_Keyboard;
    OIS::JoyStick* m_JoyStick;
    OIS::Mouse* m_Mouse;
    Ogre::RenderWindow* m_Window;
    bool m_Stop;
    // The keyboard's input system, and the mouse's, made again to change the grab.
    OIS::InputManager* m_InputManager;
    OIS::InputManager* m_MouseInput;
    bool m_InputsEnabled;
    bool m_MouseGrabbed;
    bool m_WantMouseGrab;
};

} // namespace wrappers
