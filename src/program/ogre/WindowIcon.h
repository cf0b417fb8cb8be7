#pragma once

#include <string>

namespace Ogre {
class RenderWindow;
}

namespace wrappers {

// Gives the window the picture of a PNG file as its icon (the X11 window's
// _NET_WM_ICON). Returns an empty text, or why it could not.
std::string SetWindowIcon(Ogre::RenderWindow& window, const std::string& imageFile);

} // namespace wrappers
