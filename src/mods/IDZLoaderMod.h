#pragma once

#include <functional>
#include <memory>

#include "core/Vector.h"
#include "mods/ILevelMod.h"

namespace sds {

namespace DovuvUvozeVozediza {
class IEditorSimObj;
}

class ILevelHost;
class ILoadingProgressBar;

// The level mod that loads the drop zone (scene, physics, level objects and
// jumpers) as the game mode drives it.
class IDZLoaderMod : public ILevelMod
{
public:
    explicit IDZLoaderMod(const std::string& name) : ILevelMod(name) {}
    // Pushes the level's count-down state on the engine.
    virtual void StartCountDown() = 0;
    // Called as the game mode leaves the level, before any mod goes: a jump
    // still in the air is recorded here.
    virtual void Reset() = 0;
    // The level's simulated object nearest to the point, for the editor to
    // drag; none in a level without such objects.
    virtual std::shared_ptr<DovuvUvozeVozediza::IEditorSimObj> GetNearestSimObj(const CVector& /*point*/)
    {
        return nullptr;
    }
};

// Loads the host's drop zone, reporting on the bar; the level lives as long as the mod.
typedef std::function<std::shared_ptr<IDZLoaderMod>(ILevelHost& host, ILoadingProgressBar& progress)>
    CDZLoaderFactory;

} // namespace sds
