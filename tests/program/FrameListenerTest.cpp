// The frame listener on a real window under Xvfb: the pointer grab follows
// what the program asks, from the next frame on.

#include <gtest/gtest.h>
#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

#include "program/ogre/FrameListener.h"
#include "support/CapturingLogMgr.h"
#include "support/DefaultConfig.h"
#include "support/FakeApplication.h"

// Last: its macros (None, Status) clash with the names of the headers above.
#include <X11/Xlib.h>

namespace {

// Another client of the display: it can take the pointer only while nobody holds it.
class COtherClient
{
public:
    COtherClient() : m_Display(XOpenDisplay(nullptr)) {}
    ~COtherClient() { XCloseDisplay(m_Display); }

    bool CanGrabPointer()
    {
        const int status = XGrabPointer(m_Display, DefaultRootWindow(m_Display), False, 0, GrabModeAsync,
                                        GrabModeAsync, None, None, CurrentTime);
        if (status == GrabSuccess)
            XUngrabPointer(m_Display, CurrentTime);
        XSync(m_Display, False);
        return status == GrabSuccess;
    }

private:
    Display* m_Display;
};

} // namespace

TEST(FrameListener, GrabsThePointerOnlyWhileAskedTo)
{
    CCapturingLogMgr log;
    CFakeApplication application(LoadDefaultConfig());
    Ogre::Root root("", "", "frame-listener-test.log");
    root.loadPlugin(SDS_OGRE_PLUGIN_DIR "/RenderSystem_GL");
    root.setRenderSystem(root.getRenderSystemByName("OpenGL Rendering Subsystem"));
    root.initialise(false);
    Ogre::OverlaySystem overlays;
    Ogre::RenderWindow* window = root.createRenderWindow("Frame listener test", 320, 240, false);
    COtherClient other;
    {
        wrappers::CFrameListener listener(window, true);
        const Ogre::FrameEvent frame = {0.02f, 0.02f};
        ASSERT_TRUE(listener.frameStarted(frame));
        EXPECT_FALSE(listener.IsMouseGrabbed());
        EXPECT_TRUE(other.CanGrabPointer()) << "free at start, for the menus";

        listener.SetMouseGrab(true);
        EXPECT_TRUE(other.CanGrabPointer()) << "not before the next frame";
        ASSERT_TRUE(listener.frameStarted(frame));
        EXPECT_TRUE(listener.IsMouseGrabbed());
        EXPECT_FALSE(other.CanGrabPointer()) << "held in flight";

        listener.SetMouseGrab(false);
        ASSERT_TRUE(listener.frameStarted(frame));
        EXPECT_FALSE(listener.IsMouseGrabbed());
        EXPECT_TRUE(other.CanGrabPointer()) << "let go for a menu";

        listener.SetMouseGrab(true);
        listener.Stop();
        EXPECT_FALSE(listener.frameStarted(frame));
    }
    EXPECT_TRUE(other.CanGrabPointer()) << "a closing program lets go";
    root.destroyRenderTarget(window);
}
