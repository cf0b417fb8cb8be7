#include "app/ProgramSetup.h"

#include <iostream>
#include <stdexcept>
#include <vector>

#include <boost/filesystem/operations.hpp>

#include "core/ConfigPath.h"
#include "core/ILogMgr.h"
#include "core/IResourceMgr.h"
#include "core/XmlFile.h"

namespace sds {

namespace {

const char* const CONFIG_FILE = "../conf/conf.xml";

// The part of a plug-in entry after the last slash.
std::string PluginFileName(const std::string& plugin)
{
    const std::string::size_type slash = plugin.find_last_of("/\\");
    return slash == std::string::npos ? plugin : plugin.substr(slash + 1);
}

} // namespace

xml::CNodePtr LoadConfiguration()
{
    const xml::CNodePtr file = IResourceMgr::GetSingleton()->LoadXml(CONFIG_FILE, "");
    if (!file)
        return file;
    return file->GetChild("sds");
}

std::string GetSettingsPath(const xml::CNodePtr& config)
{
    return config->GetChild("Application")->GetChild("Settings")->GetAttribute("Path")->GetValue();
}

xml::CNodePtr LoadSettings(const std::string& path)
{
    RemoveUnfinishedWrite(path);
    boost::system::error_code error;
    if (!boost::filesystem::exists(path, error))
        return xml::CNodePtr(new xml::CNode("Settings", false));

    xml::CNodePtr file;
    try {
        file = IResourceMgr::GetSingleton()->LoadXml(path, "");
    } catch (const std::exception& e) {
        ILogMgr::GetSingleton()->LogError(e.what());
    }
    if (!file || !file->HasChild("Settings"))
        throw std::runtime_error(path + " exists but can not be loaded or has a wrong format, remove it, please");
    return file->GetChild("Settings");
}

bool SaveSettings(const std::string& path, const xml::CNodePtr& settings)
{
    xml::TrimNodeValues(*settings);
    // A program started from its built-in defaults alone has no conf/ yet.
    const boost::filesystem::path folder = boost::filesystem::path(path).parent_path();
    boost::system::error_code ignored;
    if (!folder.empty())
        boost::filesystem::create_directories(folder, ignored);
    if (xml::SaveXmlFile(path, settings))
        return true;
    const std::string message = "The settings could not be written to " + path;
    std::cerr << message << std::endl;
    ILogMgr::GetSingleton()->LogError(message);
    return false;
}

void ForceRenderer(const xml::CNodePtr& config, const std::string& renderer)
{
    std::string dropped;
    if (renderer == "OpenGL")
        dropped = "RenderSystem_Direct3D9";
    else if (renderer == "DirectX")
        dropped = "RenderSystem_GL";
    else
        return;

    const xml::CNodePtr gfx = config->GetChild("Application")->GetChild("GfxCfg");
    if (!gfx->HasChild("Plugin"))
        return;
    for (auto it = gfx->GetChildrenBegin("Plugin"); it != gfx->GetChildrenEnd("Plugin"); ++it) {
        const xml::CNodePtr plugin = it->second;
        const std::string name = plugin->GetAttribute("Name", plugin->GetAttribute("Id", "").c_str());
        if (name == dropped || PluginFileName(name) == dropped) {
            gfx->RemoveChild(plugin);
            return;
        }
    }
}

int GetEditionIcon(const std::string& edition)
{
    if (edition == "SkorvelPersonal" || edition == "SkorvelInstructor")
        return 109;
    if (edition == "MerrowickPersonal" || edition == "MerrowickInstructor")
        return 108;
    if (edition == "DovuvUvozeVozediza")
        return 107;
    return 102;
}

} // namespace sds
