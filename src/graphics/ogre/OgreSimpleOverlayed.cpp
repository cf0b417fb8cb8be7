#include "graphics/ogre/OgreSimpleOverlayed.h"

#include <OGRE/Overlay/OgreOverlayManager.h>

#include "core/Exception.h"
#include "graphics/ogre/OgreOverlayElement.h"

namespace wrappers {

COgreSimpleOverlayed::COgreSimpleOverlayed(const std::string& name)
    : m_pOverlay(Ogre::OverlayManager::getSingleton().getByName(name))
{
    if (!m_pOverlay)
        throw sds::CException("Overlay '" + name + "' was not found");
    m_pOverlay->show();
}

COgreSimpleOverlayed::~COgreSimpleOverlayed()
{
    m_pOverlay->hide();
    m_Elements.clear();
}

sds::IOverlayElement* COgreSimpleOverlayed::GetElement(const std::string& name)
{
    auto found = m_Elements.find(name);
    if (found == m_Elements.end()) {
        Ogre::OverlayElement* element = Ogre::OverlayManager::getSingleton().getOverlayElement(name);
        found = m_Elements.emplace(name, std::shared_ptr<sds::IOverlayElement>(new COgreOverlayElement(element))).first;
    }
    return found->second.get();
}

void COgreSimpleOverlayed::SetVisible(bool visible)
{
    if (visible)
        m_pOverlay->show();
    else
        m_pOverlay->hide();
}

} // namespace wrappers
