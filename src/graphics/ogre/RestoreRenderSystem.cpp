#include "graphics/ogre/RestoreRenderSystem.h"

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
    const std::string complaint = renderSystem->validateConfigOptions();
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
