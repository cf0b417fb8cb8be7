#include "program/ogre/FrameListener.h"

#include <string>

#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreStringConverter.h>
#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayElement.h>
#include <OGRE/Overlay/OgreOverlayManager.h>
#include <ois/OISException.h>
#include <ois/OISInputManager.h>
#include <ois/OISJoyStick.h>

#include "core/ILogMgr.h"
#include "core/ogre/OgreLogMgr.h"
#include "core/services/IApplication.h"

namespace wrappers {

namespace {

sds::ILogMgr& Log()
{
    return *sds::ILogMgr::GetSingleton();
}

// The device of that kind, or null when there is none; why is logged.
template <class Device>
Device* CreateDevice(OIS::InputManager& input, OIS::Type type)
{
    try {
        return static_cast<Device*>(input.createInputObject(type, true));
    } catch (const OIS::Exception& e) {
        Log().LogWarning(std::string("Input device could not be opened: ") + e.eText);
    }
    return nullptr;
}

void SetCaption(const char* element, const std::string& text)
{
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    if (overlays.hasOverlayElement(element))
        overlays.getOverlayElement(element)->setCaption(text);
}

// The input system on the window: the keyboard is left to the desktop's
// shortcuts; the pointer is hidden behind the program's own cursor, and
// grabbed (kept in the window) or not.
OIS::InputManager* CreateInputSystem(Ogre::RenderWindow& window, bool grabMouse)
{
    std::size_t handle = 0;
    window.getCustomAttribute("WINDOW", &handle);
    OIS::ParamList parameters;
    parameters.insert(std::make_pair("WINDOW", std::to_string(handle)));
    parameters.insert(std::make_pair("x11_mouse_grab", grabMouse ? "true" : "false"));
    parameters.insert(std::make_pair("x11_mouse_hide", "true"));
    parameters.insert(std::make_pair("x11_keyboard_grab", "false"));
    return OIS::InputManager::createInputSystem(parameters);
}

} // namespace

CFrameListener::CFrameListener(Ogre::RenderWindow* window, bool inputsEnabled)
    : m_FpsOverlay(nullptr), m_LogMgr(dynamic_cast<COgreLogMgr*>(sds::ILogMgr::GetSingleton())),
      m_Keyboard(nullptr), m_JoyStick(nullptr), m_Mouse(nullptr),
      m_Window(window), m_Stop(false), m_InputManager(nullptr), m_MouseInput(nullptr),
      m_InputsEnabled(inputsEnabled), m_MouseGrabbed(false), m_WantMouseGrab(false)
{
    m_InputManager = CreateInputSystem(*m_Window, false);
    m_Keyboard = CreateDevice<OIS::Keyboard>(*m_InputManager, OIS::OISKeyboard);
    if (!m_Keyboard)
        Log().LogMessage("No keyboard detected");
    else if (m_InputsEnabled)
        m_Keyboard->setEventCallback(this);

    CreateMouse();

    m_FpsOverlay = Ogre::OverlayManager::getSingleton().getByName("FPSOverlay");
    if (m_FpsOverlay)
        m_FpsOverlay->hide();

    OgreBites::WindowEventUtilities::addWindowEventListener(m_Window, this);
}

CFrameListener::~CFrameListener()
{
    OgreBites::WindowEventUtilities::removeWindowEventListener(m_Window, this);
    windowClosed(m_Window);
}

bool CFrameListener::frameStarted(const Ogre::FrameEvent& event)
{
    if (m_Stop || m_Window->isClosed())
        return false;
    // Never from inside a poll: the grab changes between frames.
    if (m_WantMouseGrab != m_MouseGrabbed && m_InputManager)
        CreateMouse();

    if (m_Keyboard)
        m_Keyboard->capture();
    if (m_JoyStick)
        m_JoyStick->capture();
    if (m_Mouse) {
        m_MousePosition.BeginPoll();
        m_Mouse->capture();
    }

    sds::CFrameEvent frame;
    frame.TimeSinceLastEvent = event.timeSinceLastEvent;
    frame.TimeSinceLastFrame = event.timeSinceLastFrame;
    if (m_LogMgr)
        m_LogMgr->IncrementFrameCount();
    FireFrameEvent(frame);
    return true;
}

bool CFrameListener::frameEnded(const Ogre::FrameEvent&)
{
    if (m_Stop)
        return false;
    UpdateStatistics();
    return true;
}

void CFrameListener::windowResized(Ogre::RenderWindow* window)
{
    SetMouseArea(window->getWidth(), window->getHeight());
}

void CFrameListener::windowClosed(Ogre::RenderWindow* window)
{
    if (window != m_Window || !m_InputManager)
        return;
    if (m_Keyboard)
        m_InputManager->destroyInputObject(m_Keyboard);
    if (m_JoyStick)
        m_InputManager->destroyInputObject(m_JoyStick);
    m_Keyboard = nullptr;
    m_JoyStick = nullptr;
    DestroyMouse();
    OIS::InputManager::destroyInputSystem(m_InputManager);
    m_InputManager = nullptr;
}

void CFrameListener::SetMouseGrab(bool grab)
{
    m_WantMouseGrab = grab;
}

void CFrameListener::CreateMouse()
{
    // The input library takes the grab only when a mouse is made: a new mouse,
    // on an input system of its own, for each change. The keyboard stays.
    DestroyMouse();
    m_MouseInput = CreateInputSystem(*m_Window, m_WantMouseGrab);
    m_MouseGrabbed = m_WantMouseGrab;
    m_Mouse = CreateDevice<OIS::Mouse>(*m_MouseInput, OIS::OISMouse);
    if (!m_Mouse)
        return;
    if (m_InputsEnabled)
        m_Mouse->setEventCallback(this);
    SetMouseArea(m_Window->getWidth(), m_Window->getHeight());
}

void CFrameListener::DestroyMouse()
{
    if (!m_MouseInput)
        return;
    if (m_Mouse)
        m_MouseInput->destroyInputObject(m_Mouse);
    m_Mouse = nullptr;
    OIS::InputManager::destroyInputSystem(m_MouseInput);
    m_MouseInput = nullptr;
}

bool CFrameListener::keyPressed(const OIS::KeyEvent& event)
{
    FireKey(event, sds::EVENT_KEY_PRESSED);
    return true;
}

bool CFrameListener::keyReleased(const OIS::KeyEvent& event)
{
    FireKey(event, sds::EVENT_KEY_RELEASED);
    return true;
}

bool CFrameListener::mouseMoved(const OIS::MouseEvent& event)
{
    const OIS::MouseState& state = event.state;
    const sds::IApplication* application = sds::IApplication::GetSingleton();
    sds::CAnalogEvent moved;
    if (m_MousePosition.MoveBySum(state.X.rel, state.Y.rel, state.Z.rel, application->GetWindowWidth(),
                                  application->GetWindowHeight(), moved))
        FireAnalogEvent(moved);
    return true;
}

bool CFrameListener::mousePressed(const OIS::MouseEvent& event, OIS::MouseButtonID button)
{
    FireButton(event, button, sds::EVENT_KEY_PRESSED);
    return true;
}

bool CFrameListener::mouseReleased(const OIS::MouseEvent& event, OIS::MouseButtonID button)
{
    FireButton(event, button, sds::EVENT_KEY_RELEASED);
    return true;
}

bool CFrameListener::IsKeyDown(std::int32_t key) const
{
    return m_Keyboard && m_Keyboard->isKeyDown(static_cast<OIS::KeyCode>(key));
}

sds::CVector CFrameListener::GetMousePosition() const
{
    return m_MousePosition.Get();
}

void CFrameListener::FireKey(const OIS::KeyEvent& event, std::int32_t type)
{
    sds::CDiscreteEvent key;
    key.Type = type;
    key.Key = event.key;
    key.Char = static_cast<char>(event.text & 0xFF);
    key.Source = m_Keyboard ? m_Keyboard->getID() : 0;
    FireDiscreteEvent(key);
}

void CFrameListener::FireButton(const OIS::MouseEvent& event, OIS::MouseButtonID button, std::int32_t type)
{
    mouseMoved(event);
    sds::CDiscreteEvent key;
    key.Type = type;
    key.Key = sds::MOUSE_BUTTON_KEY_BASE + (button >= 0 && button <= 7 ? button : 0);
    key.Char = ' ';
    key.Source = 0;
    FireDiscreteEvent(key);
}

void CFrameListener::UpdateStatistics()
{
    // A hidden overlay keeps its old numbers until it is shown again.
    if (!m_FpsOverlay || !m_FpsOverlay->isVisible())
        return;
    using Ogre::StringConverter;
    const Ogre::RenderTarget::FrameStats& stats = m_Window->getStatistics();
    SetCaption("FPSOverlay/AverageFps", "Average FPS: " + StringConverter::toString(stats.avgFPS));
    SetCaption("FPSOverlay/CurrFps", "Current FPS: " + StringConverter::toString(stats.lastFPS));
    SetCaption("FPSOverlay/BestFps", "Best FPS: " + StringConverter::toString(stats.bestFPS) + " " +
                                         StringConverter::toString(stats.bestFrameTime) + " ms");
    SetCaption("FPSOverlay/WorstFps", "Worst FPS: " + StringConverter::toString(stats.worstFPS) + " " +
                                          StringConverter::toString(stats.worstFrameTime) + " ms");
    SetCaption("FPSOverlay/NumTris", "Triangle Count: " + StringConverter::toString(stats.triangleCount));
}

void CFrameListener::SetMouseArea(unsigned width, unsigned height)
{
    if (!m_Mouse)
        return;
    const OIS::MouseState& state = m_Mouse->getMouseState();
    state.width = static_cast<int>(width);
    state.height = static_cast<int>(height);
}

} // namespace wrappers
