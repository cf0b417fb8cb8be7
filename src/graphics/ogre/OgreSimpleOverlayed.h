#pragma once

#include <map>
#include <string>

#include <memory>
#include <OGRE/Overlay/OgreOverlay.h>

#include "graphics/IOverlayed.h"

namespace wrappers {

// A named overlay: shown while the object lives, hidden when it goes.
class COgreSimpleOverlayed : public sds::IOverlayed
{
public:
    // An unknown name throws "Overlay '<name>' was not found".
    explicit COgreSimpleOverlayed(const std::string& name);
    ~COgreSimpleOverlayed() override;

    sds::IOverlayElement* GetElement(const std::string& name) override;
    void SetVisible(bool visible) override;
    bool IsVisible() const override { return m_pOverlay->isVisible(); }

private:
    Ogre::Overlay* m_pOverlay;
    std::map<std::string, std::shared_ptr<sds::IOverlayElement>> m_Elements;
};

} // namespace wrappers
