#include "scene/SceneLook.h"

#include <initializer_list>

namespace sds {

namespace {

// The elements that make each part of the look, and those whose presence
// says that a scene has that part.
const std::initializer_list<const char*> kSky = {"Caelum", "SkyDome", "SkyBox", "SunLight", "Fog"};
const std::initializer_list<const char*> kHasSky = {"Caelum", "SkyDome", "SkyBox"};
const std::initializer_list<const char*> kGround = {"Plane"};
const std::initializer_list<const char*> kHasGround = {"Terrain", "Plane"};

bool HasAny(const xml::CNode& scene, const std::initializer_list<const char*>& names)
{
    for (const char* name : names)
        if (scene.HasChild(name))
            return true;
    return false;
}

// Whether `look` has the part that `scene` lacks.
bool Lends(const xml::CNode& scene, const xml::CNode& look, const std::initializer_list<const char*>& has)
{
    return !HasAny(scene, has) && HasAny(look, has);
}

void CopyChildren(const xml::CNode& look, const std::initializer_list<const char*>& names, xml::CNode& into)
{
    for (const char* name : names)
        if (look.HasChild(name))
            xml::ForEachChild(look, name, [&into](const xml::CNodePtr& child) { xml::CNode::Clone(child, &into); });
}

} // namespace

bool HasOwnLook(const xml::CNode& scene)
{
    return HasAny(scene, kHasSky) && HasAny(scene, kHasGround);
}

xml::CNodePtr WithDefaultLook(const xml::CNodePtr& scene, const xml::CNodePtr& look)
{
    if (!look)
        return scene;
    const bool sky = Lends(*scene, *look, kHasSky);
    const bool ground = Lends(*scene, *look, kHasGround);
    if (!sky && !ground)
        return scene;
    const xml::CNodePtr drawn = xml::CNode::Clone(scene);
    if (sky)
        CopyChildren(*look, kSky, *drawn);
    if (ground)
        CopyChildren(*look, kGround, *drawn);
    return drawn;
}

} // namespace sds
