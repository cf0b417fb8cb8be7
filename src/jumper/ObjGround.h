#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_set>

#include "core/Node.h"
#include "core/Timing.h"
#include "graphics/IGfxObj.h"

namespace physics {
class IPhyMgr;
class IPhyObj;
}

namespace sds {

class IGfxMgr;

// The ground's collision, baked from the terrain meshes the graphics queue up
// as tiles load. A frame bakes only as many as fit in the configured wall-clock
// budget, so loading collision never stalls a frame. A mesh whose key was
// baked before is dropped: the scene hands out the same placement again each
// time it pages it in. With the show flag every queued mesh is also drawn as
// green triangles half a metre above it.
class CObjGround : public IUpdate
{
public:
    typedef std::function<std::uint64_t()> CClock;
    typedef std::list<CGfxObjPtr> CRegistry;

    // `scene` is the configuration's "Scene" element; its "TimeLimitForBakingMeshes"
    // (seconds) is read on the first update that finds meshes queued. The clock
    // gives milliseconds: the wall clock unless a test gives its own.
    CObjGround(bool showMeshes, IGfxMgr& gfx, physics::IPhyMgr& world, const xml::CNodePtr& scene,
               const CClock& clock = CClock());
    ~CObjGround() override;

    // Drains the graphics' mesh queue front first within the budget.
    void Update(const CTiming& timing) override;

    const std::list<std::shared_ptr<physics::IPhyObj>>& GetMeshes() const { return m_Meshes; }
    // Whether the meshes of the key are in the world; an empty key never is.
    bool IsBaked(const std::string& key) const { return m_Baked.count(key) != 0; }

    // Graphic objects kept for the level: the inspection triangles and the
    // level's trees. The level's mods empty it when they reset or end.
    static CRegistry& GetRegistry();
    static void Register(const CGfxObjPtr& object);
    static void ClearRegistry();

private:
    void ShowQueuedMeshes();

    std::list<std::shared_ptr<physics::IPhyObj>> m_Meshes;
    // The keys of the meshes in m_Meshes, and of those the world refused.
    std::unordered_set<std::string> m_Baked;
    bool m_ShowMeshes;
    IGfxMgr& m_Gfx;
    physics::IPhyMgr& m_World;
    xml::CNodePtr m_Scene;
    CClock m_Clock;
    float m_BudgetSeconds = 0.0f;
    bool m_BudgetRead = false;
};

} // namespace sds
