#pragma once

#include <string>

#include <OGRE/Overlay/OgreOverlayElement.h>

#include "core/Utf8.h"

namespace wrappers {

// An overlay caption from the program's UTF-8 text. The engine's reader throws
// on bytes that are not UTF-8, and a caption that throws once throws on every
// redraw: such bytes are read as Latin-1, as the GUI reads them.
inline Ogre::DisplayString ToDisplayString(const std::string& text)
{
    Ogre::DisplayString caption;
    caption.assign(sds::ToValidUtf8(text));
    return caption;
}

} // namespace wrappers
