#include "gui/CeguiOgreSystem.h"

#include <CEGUI/RendererModules/Ogre/ImageCodec.h>
#include <CEGUI/RendererModules/Ogre/Renderer.h>
#include <CEGUI/RendererModules/Ogre/ResourceProvider.h>
#include <CEGUI/ResourceProvider.h>
#include <CEGUI/System.h>
#include <OgreRenderSystem.h>
#include <OgreRenderTarget.h>
#include <OgreRenderTargetListener.h>
#include <OgreRoot.h>

#include "gui/CeguiText.h"

namespace wrappers {

class CCeguiOgreSystem::CScissorReset : public Ogre::RenderTargetListener
{
public:
    void preViewportUpdate(const Ogre::RenderTargetViewportEvent&) override
    {
        Ogre::Root::getSingleton().getRenderSystem()->setScissorTest(false);
    }
};

CCeguiOgreSystem::CCeguiOgreSystem(Ogre::RenderTarget& target, const std::string& resourceGroup,
                                   const std::string& logFile)
    : m_Target(target), m_ScissorReset(std::make_unique<CScissorReset>()),
      m_Renderer(&CEGUI::OgreRenderer::create(target))
{
    // What the library's bootstrap does, with the log file of our choice;
    // destroySystem takes all of it down again.
    CEGUI::System::create(*m_Renderer, &CEGUI::OgreRenderer::createOgreResourceProvider(), nullptr,
                          &CEGUI::OgreRenderer::createOgreImageCodec(), nullptr, "", ToCegui(logFile));
    CEGUI::System::getSingleton().getResourceProvider()->setDefaultResourceGroup(ToCegui(resourceGroup));
    m_Target.addListener(m_ScissorReset.get());
}

CCeguiOgreSystem::~CCeguiOgreSystem()
{
    m_Target.removeListener(m_ScissorReset.get());
    CEGUI::OgreRenderer::destroySystem();
}

} // namespace wrappers
