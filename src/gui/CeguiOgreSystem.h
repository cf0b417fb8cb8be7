#pragma once

#include <memory>
#include <string>

namespace CEGUI {
class OgreRenderer;
}

namespace Ogre {
class RenderTarget;
}

namespace wrappers {

// The GUI library's system, drawn by its Ogre renderer on one render target
// (the application's window). CEGUI's Ogre renderer leaves the scissor test
// on with the last widget's clip rectangle, so that the next frame would be
// cleared and drawn only inside it: the test is switched off before every
// viewport of the target is drawn.
class CCeguiOgreSystem
{
public:
    // `resourceGroup`: the Ogre resource group of the GUI files; `logFile`:
    // where the GUI library writes its log.
    CCeguiOgreSystem(Ogre::RenderTarget& target, const std::string& resourceGroup,
                     const std::string& logFile = "CEGUI.log");
    ~CCeguiOgreSystem();
    CCeguiOgreSystem(const CCeguiOgreSystem&) = delete;
    CCeguiOgreSystem& operator=(const CCeguiOgreSystem&) = delete;

    CEGUI::OgreRenderer& GetRenderer() const { return *m_Renderer; }

private:
    class CScissorReset;

    Ogre::RenderTarget& m_Target;
    std::unique_ptr<CScissorReset> m_ScissorReset;
    CEGUI::OgreRenderer* m_Renderer;
};

} // namespace wrappers
