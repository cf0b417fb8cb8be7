#include "graphics/ogre/OgreOverlayElement.h"

#include "graphics/ogre/OgreConvert.h"
#include "graphics/ogre/OgreText.h"

namespace wrappers {

void COgreOverlayElement::SetCaption(const std::string& caption)
{
    m_pElement->setCaption(ToDisplayString(caption));
}

std::string COgreOverlayElement::GetCaption() const
{
    return m_pElement->getCaption().asUTF8();
}

void COgreOverlayElement::SetVisible(bool visible)
{
    if (visible)
        m_pElement->show();
    else
        m_pElement->hide();
}

void COgreOverlayElement::SetColour(const sds::CFourFloats& colour)
{
    m_pElement->setColour(ToOgreColour(colour));
}

sds::CFourFloats COgreOverlayElement::GetColour() const
{
    return FromOgre(m_pElement->getColour());
}

} // namespace wrappers
