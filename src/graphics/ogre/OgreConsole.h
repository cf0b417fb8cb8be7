#pragma once

#include <string>

#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayElement.h>

#include "core/Node.h"
#include "graphics/Console.h"

namespace wrappers {

// The console drawn into a text element of an overlay.
class COgreConsole : public sds::CConsole
{
public:
    COgreConsole(const std::string& overlayName, const std::string& elementName, unsigned maxLines,
                 unsigned fixedLines);
    // From a "Console" element: "Wnd" and "Element" are required, "MaxLines"
    // defaults to 20 and "FixedLines" to 5.
    explicit COgreConsole(const xml::CNodePtr& config);
    ~COgreConsole() override;

protected:
    void Draw(const std::string& text) override;

private:
    Ogre::Overlay* m_pConsoleWnd = nullptr;
    Ogre::OverlayElement* m_pConsole = nullptr;
};

} // namespace wrappers
