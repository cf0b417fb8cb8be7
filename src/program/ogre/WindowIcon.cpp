#include "program/ogre/WindowIcon.h"

#include <fstream>
#include <iterator>
#include <vector>

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreDataStream.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreImage.h>
#include <OGRE/OgreRenderWindow.h>

// After the rendering engine's headers: Xlib defines macros they use as names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace wrappers {

std::string SetWindowIcon(Ogre::RenderWindow& window, const std::string& imageFile)
{
    Display* display = nullptr;
    ::Window handle = 0;
    window.getCustomAttribute("XDISPLAY", &display);
    window.getCustomAttribute("WINDOW", &handle);
    if (!display || !handle)
        return "the window is not an X11 window";

    std::ifstream file(imageFile, std::ios::binary);
    if (!file)
        return "cannot open " + imageFile;
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Ogre::Image image;
    try {
        image.load(Ogre::DataStreamPtr(OGRE_NEW Ogre::MemoryDataStream(const_cast<char*>(bytes.data()), bytes.size(), false, true)),
                   "png");
    } catch (const Ogre::Exception& e) {
        return "cannot read " + imageFile + ": " + e.getDescription();
    }

    // The property holds the width, the height, then one ARGB pixel per
    // element, each element a C long whatever its size.
    const std::uint32_t width = image.getWidth();
    const std::uint32_t height = image.getHeight();
    std::vector<unsigned long> data;
    data.reserve(2 + width * height);
    data.push_back(width);
    data.push_back(height);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            data.push_back(image.getColourAt(x, y, 0).getAsARGB());

    const Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
    XChangeProperty(display, handle, icon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
    XFlush(display);
    return std::string();
}

} // namespace wrappers
