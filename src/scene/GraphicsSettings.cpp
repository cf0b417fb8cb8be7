#include "scene/GraphicsSettings.h"

namespace sds {

namespace {

bool HasGraphicsAttribute(const xml::CNodePtr& tree, const std::string& name)
{
    return tree && tree->HasChild("Graphics") && tree->GetChild("Graphics")->HasAttribute(name);
}

} // namespace

bool UseShaders(const xml::CNodePtr& config, const xml::CNodePtr& settings)
{
    if (HasGraphicsAttribute(settings, "UseShaders"))
        return settings->GetChild("Graphics")->GetAttribute("UseShaders")->GetValue<bool>();
    if (HasGraphicsAttribute(config, "UseShaders"))
        return config->GetChild("Graphics")->GetAttribute("UseShaders")->GetValue<bool>();
    return true;
}

float SurfaceObjectsMultiplier(const xml::CNodePtr& config, const xml::CNodePtr& settings)
{
    if (HasGraphicsAttribute(settings, "SurfaceObjects"))
        return settings->GetChild("Graphics")->GetAttribute("SurfaceObjects")->GetValue<float>();
    return config->GetChild("Scene")->GetAttribute("SurfaceObjects")->GetValue<float>();
}

} // namespace sds
