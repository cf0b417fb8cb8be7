#pragma once

#include <OGRE/Overlay/OgreOverlayElement.h>

#include "graphics/IOverlayElement.h"

namespace wrappers {

// An element of a screen overlay (owned by the overlay manager).
class COgreOverlayElement : public sds::IOverlayElement
{
public:
    explicit COgreOverlayElement(Ogre::OverlayElement* element) : m_pElement(element) {}

    void SetCaption(const std::string& caption) override;
    std::string GetCaption() const override;
    void SetMaterialName(const std::string& name) override { m_pElement->setMaterialName(name); }
    std::string GetMaterialName() const override { return m_pElement->getMaterialName(); }
    void SetVisible(bool visible) override;
    bool IsVisible() const override { return m_pElement->isVisible(); }
    void SetPosition(float left, float top) override { m_pElement->setPosition(left, top); }
    float GetLeft() const override { return m_pElement->getLeft(); }
    float GetTop() const override { return m_pElement->getTop(); }
    float GetHeight() const override { return m_pElement->getHeight(); }
    float GetWidth() const override { return m_pElement->getWidth(); }
    void SetColour(const sds::CFourFloats& colour) override;
    sds::CFourFloats GetColour() const override;

private:
    Ogre::OverlayElement* m_pElement;
};

} // namespace wrappers
