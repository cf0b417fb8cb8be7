#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include <OGRE/OgreRenderTarget.h>
#include <boost/filesystem.hpp>

// The number of differing pixels of two pictures, as ImageMagick counts them.
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

// Runs one test of this test binary in a process of its own, with the
// environment variable set to the folder, where the run's rendering-engine
// log ("Ogre.log") and output ("run.log") go; the process's exit status.
inline int RunTestInNewProcess(const std::string& test, const std::string& variable, const std::string& folder)
{
    const std::string self = boost::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = variable + "='" + folder + "' SDS_OGRE_LOG='" + folder + "/Ogre.log' '" + self +
                                "' --gtest_filter=" + test + " --gtest_brief=1 > '" + folder + "/run.log' 2>&1";
    return std::system(command.c_str());
}

// The colour of one pixel of what the target shows.
inline Ogre::ColourValue ReadPixel(Ogre::RenderTarget& target, unsigned x, unsigned y)
{
    Ogre::uint8 pixel[4] = {};
    target.copyContentsToMemory(Ogre::Box(x, y, x + 1, y + 1), Ogre::PixelBox(1, 1, 1, Ogre::PF_BYTE_RGBA, pixel));
    return Ogre::ColourValue(pixel[0] / 255.0f, pixel[1] / 255.0f, pixel[2] / 255.0f);
}
