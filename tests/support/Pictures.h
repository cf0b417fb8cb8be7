#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <OGRE/OgreImage.h>
#include <OGRE/OgreRenderTarget.h>
#include <boost/filesystem.hpp>

#include "graphics/IGfxMgr.h"

// Captures the window through the graphics manager into folder/name.png.
inline void CaptureWindow(sds::IGfxMgr& mgr, const std::string& folder, const std::string& name)
{
    const std::string file = mgr.QueryRenderTarget(folder + "/" + name + "_", ".png");
    boost::filesystem::rename(file, folder + "/" + name + ".png");
}

// The number of differing pixels of two pictures, as ImageMagick's
// "compare -metric AE" prints it ("0" for identical ones).
inline std::string DifferentPixels(const std::string& a, const std::string& b)
{
    const std::string command = "compare -metric AE '" + a + "' '" + b + "' null: 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        pclose(pipe);
    }
    return output;
}

// Runs one test of this binary in a process of its own, on the same display,
// with `folderVariable` naming the folder where it keeps its pictures, its
// rendering engine's log ("Ogre.log") and its output ("run.log"). A picture
// test compares two such runs: a fresh engine each time.
inline int RunPictureTestInNewProcess(const std::string& test, const char* folderVariable, const std::string& folder)
{
    const std::string self = boost::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = std::string(folderVariable) + "='" + folder + "' SDS_OGRE_LOG='" + folder +
                                "/Ogre.log' '" + self + "' --gtest_filter=" + test + " --gtest_brief=1 > '" + folder +
                                "/run.log' 2>&1";
    return std::system(command.c_str());
}

// The colour of one pixel of what the target shows.
inline Ogre::ColourValue ReadPixel(Ogre::RenderTarget& target, unsigned x, unsigned y)
{
    Ogre::uint8 pixel[4] = {};
    target.copyContentsToMemory(Ogre::Box(x, y, x + 1, y + 1), Ogre::PixelBox(1, 1, 1, Ogre::PF_BYTE_RGBA, pixel));
    return Ogre::ColourValue(pixel[0] / 255.0f, pixel[1] / 255.0f, pixel[2] / 255.0f);
}

// What a render target shows, read once, pixel by pixel.
struct CWindowPicture
{
    unsigned Width;
    unsigned Height;
    std::vector<std::uint8_t> Pixels;

    static CWindowPicture Capture(Ogre::RenderTarget& target)
    {
        CWindowPicture picture{target.getWidth(), target.getHeight(), {}};
        picture.Pixels.resize(4u * picture.Width * picture.Height);
        target.copyContentsToMemory(
            Ogre::Box(0, 0, picture.Width, picture.Height),
            Ogre::PixelBox(picture.Width, picture.Height, 1, Ogre::PF_BYTE_RGBA, picture.Pixels.data()));
        return picture;
    }

    Ogre::ColourValue At(unsigned x, unsigned y) const
    {
        const std::uint8_t* p = &Pixels[4u * (y * Width + x)];
        return Ogre::ColourValue(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f);
    }

    void Keep(const std::string& file)
    {
        Ogre::Image image;
        image.loadDynamicImage(Pixels.data(), Width, Height, 1, Ogre::PF_BYTE_RGBA);
        image.save(file);
    }
};
