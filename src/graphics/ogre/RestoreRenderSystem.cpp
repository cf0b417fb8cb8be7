#include "graphics/ogre/RestoreRenderSystem.h"

#include <algorithm>
#include <exception>
#include <map>

#include <boost/filesystem.hpp>
#include <OGRE/OgreConfigFile.h>
#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRoot.h>

#include "core/ILogMgr.h"

namespace wrappers {

namespace {

typedef std::map<std::string, std::map<std::string, std::string>> COptionValues;

const char* const VIDEO_MODE = "Video Mode";

std::string WithoutBlanks(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

// The render system takes any text for the video mode and opens (or fails to
// open) a window of that size; a mode the screen does not offer, such as one
// of a monitor no longer there, is refused here. Empty when it is offered.
std::string RefuseVideoMode(const Ogre::RenderSystem& renderSystem)
{
    const Ogre::ConfigOptionMap& options = renderSystem.getConfigOptions();
    const auto mode = options.find(VIDEO_MODE);
    if (mode == options.end() || mode->second.possibleValues.empty())
        return std::string();
    // The render system pads its numbers ("1024 x  768"): blanks do not count.
    const std::string wanted = WithoutBlanks(mode->second.currentValue);
    for (const std::string& offered : mode->second.possibleValues)
        if (WithoutBlanks(offered) == wanted)
            return std::string();
    return "the screen offers no video mode '" + mode->second.currentValue + "'";
}

COptionValues CurrentValues(Ogre::Root& root)
{
    COptionValues values;
    for (Ogre::RenderSystem* renderSystem : root.getAvailableRenderers())
        for (const auto& option : renderSystem->getConfigOptions())
            values[renderSystem->getName()][option.first] = option.second.currentValue;
    return values;
}

// The file's options on their render systems; the complaint, empty when the
// chosen render system takes them.
std::string Apply(Ogre::Root& root, const std::string& path)
{
    Ogre::ConfigFile file;
    // As the rendering engine reads its own file: values keep their blanks.
    file.load(path, "\t:=", false);
    for (const auto& section : file.getSettingsBySection()) {
        Ogre::RenderSystem* renderSystem = root.getRenderSystemByName(section.first);
        if (!renderSystem)
            continue;
        for (const auto& setting : section.second)
            renderSystem->setConfigOption(setting.first, setting.second);
    }
    const std::string chosen = file.getSetting("Render System");
    Ogre::RenderSystem* renderSystem = root.getRenderSystemByName(chosen);
    if (!renderSystem)
        return "render system '" + chosen + "' is not loaded";
    std::string complaint = RefuseVideoMode(*renderSystem);
    if (complaint.empty())
        complaint = renderSystem->validateConfigOptions();
    if (complaint.empty())
        root.setRenderSystem(renderSystem);
    return complaint;
}

} // namespace

bool RestoreRenderSystem(Ogre::Root& root, const std::string& path)
{
    boost::system::error_code error;
    if (path.empty() || !boost::filesystem::is_regular_file(path, error))
        return false;

    const COptionValues before = CurrentValues(root);
    std::string complaint;
    try {
        complaint = Apply(root, path);
        if (complaint.empty())
            return true;
    } catch (const std::exception& e) {
        // A render system may refuse an option outright.
        complaint = e.what();
    }

    for (const auto& system : before) {
        Ogre::RenderSystem* renderSystem = root.getRenderSystemByName(system.first);
        for (const auto& option : system.second) {
            try {
                renderSystem->setConfigOption(option.first, option.second);
            } catch (const std::exception& e) {
                sds::ILogMgr::GetSingleton()->LogWarning("Cannot restore renderer option " + option.first + ": " +
                                                         e.what());
            }
        }
    }
    const std::string aside = path + ".bad";
    boost::filesystem::rename(path, aside, error);
    const std::string kept = error ? "it cannot be set aside: " + error.message() : "it is kept as " + aside;
    sds::ILogMgr::GetSingleton()->LogWarning("The graphics settings file " + path + " is not used (" + complaint +
                                             "); " + kept);
    return false;
}

} // namespace wrappers
