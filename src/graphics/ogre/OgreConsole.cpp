#include "graphics/ogre/OgreConsole.h"

#include <algorithm>

#include <OGRE/Overlay/OgreOverlayManager.h>

#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "graphics/ogre/OgreText.h"

namespace wrappers {

COgreConsole::COgreConsole(const std::string& overlayName, const std::string& elementName, unsigned maxLines,
                           unsigned fixedLines)
    : CConsole(maxLines, fixedLines)
{
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    m_pConsoleWnd = overlays.getByName(overlayName);
    SDS_ASSERT(m_pConsoleWnd && "Overlay names must exist");
    m_pConsole = overlays.hasOverlayElement(elementName) ? overlays.getOverlayElement(elementName) : nullptr;
    SDS_ASSERT(m_pConsole && "Overlay names must exist");
    m_pConsoleWnd->show();
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogMessage("Console is created");
}

COgreConsole::COgreConsole(const xml::CNodePtr& config)
    : COgreConsole(config->GetAttribute("Wnd")->GetValue(), config->GetAttribute("Element")->GetValue(),
                   static_cast<unsigned>(std::max(0, config->GetAttribute<int>("MaxLines", 20))),
                   static_cast<unsigned>(std::max(0, config->GetAttribute<int>("FixedLines", 5))))
{
}

COgreConsole::~COgreConsole()
{
    m_pConsoleWnd->hide();
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogMessage("Console is destroyed");
    ClearLines();
}

void COgreConsole::Draw(const std::string& text)
{
    m_pConsole->setCaption(ToDisplayString(text));
}

} // namespace wrappers
