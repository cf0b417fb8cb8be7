#pragma once

#include <memory>
#include <vector>

#include "core/services/ILevelResourceLoader.h"
#include "jumper/JumperMgr.h"
#include "level/EngineLoader.h"
#include "mods/IDZLoaderMod.h"

namespace sds {

class CDropZoneLevel;
class ILoadingProgressBar;

// Loads the drop zone of a level in three stages behind the loading bar (its
// graphics, its physics, its own objects) and keeps the three loaders for the
// level's life: each frame they update before the jumpers, each jump restarts
// them in the same order, and they go in reverse order with the mod. The mod
// owns the level's jumper manager.
class CDZLoaderMod : public IDZLoaderMod
{
public:
    // `context` gives the level's objects their surroundings; its world and
    // jumper manager are the physics mod's and this mod's own. A stage that
    // fails throws CException "<full name> (<file>) cannot be loaded.", a line
    // end and why,
    // having released the stages made before.
    CDZLoaderMod(const CDropZoneLevel& dropZone, ILoadingProgressBar& progress, const CLevelContext& context);
    ~CDZLoaderMod() override;

    // The loaders in their order, then the jumpers.
    void Update(const CTiming& timing) override;
    void Restart() override;
    void StartCountDown() override;
    // Records a jump still in the air.
    void Reset() override;
    std::shared_ptr<DovuvUvozeVozediza::IEditorSimObj> GetNearestSimObj(const CVector& point) override;

    const std::vector<std::shared_ptr<ILevelResourceLoader>>& GetLoaders() const { return m_Loaders; }
    CJumperMgr& GetJumperMgr() { return m_JumperMgr; }
    CEngineLoader& GetEngineLoader() const;

    // The program's loader: each level over the game mode as its host, with the
    // running engine's count-down and input modes and the profile's name.
    static CDZLoaderFactory Factory();

private:
    void Load(const CDropZoneLevel& dropZone, ILoadingProgressBar& progress, CLevelContext context);
    // The level's end: the fade stops, the physics mod forgets the level's
    // objects, the loaders go last made first.
    void Unload();

    CJumperMgr m_JumperMgr;
    std::vector<std::shared_ptr<ILevelResourceLoader>> m_Loaders;
};

} // namespace sds
