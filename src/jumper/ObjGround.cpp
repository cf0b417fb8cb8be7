#include "jumper/ObjGround.h"

#include <algorithm>
#include <exception>
#include <string>

#include "core/ILogMgr.h"
#include "core/WallClock.h"
#include "core/services/TriangleMesh.h"
#include "graphics/IGfxMgr.h"
#include "physics/IPhyMgr.h"

namespace sds {

namespace {

// Drawn above the ground they show so the terrain does not hide them.
const float SHOW_HEIGHT = 0.5f;

} // namespace

CObjGround::CObjGround(bool showMeshes, IGfxMgr& gfx, physics::IPhyMgr& world, const xml::CNodePtr& scene,
                       const CClock& clock)
    : m_ShowMeshes(showMeshes), m_Gfx(gfx), m_World(world), m_Scene(scene),
      m_Clock(clock ? clock : CClock(&GetWallClockMs))
{
}

CObjGround::~CObjGround() = default;

void CObjGround::Update(const CTiming&)
{
    IGfxMgr::CObjectQueue& queue = m_Gfx.GetObjectQueue();
    if (queue.empty())
        return;
    if (m_ShowMeshes)
        ShowQueuedMeshes();
    if (!m_BudgetRead) {
        m_BudgetSeconds = m_Scene->GetAttribute("TimeLimitForBakingMeshes")->GetValue<float>();
        m_BudgetRead = true;
    }
    // The budget is checked before each mesh, so a positive one bakes at least one.
    const std::uint64_t start = m_Clock();
    while (!queue.empty() && static_cast<float>(m_Clock() - start) / 1000.0f < m_BudgetSeconds) {
        // Taken off first: a mesh the world refuses must not block every later one.
        const std::shared_ptr<CTriangleMesh> mesh = queue.front();
        queue.pop_front();
        // Nor is it tried again when its placement comes back.
        if (!mesh->m_Key.empty() && !m_Baked.insert(mesh->m_Key).second)
            continue;
        try {
            m_Meshes.push_back(m_World.CreateTriMesh(*mesh));
        } catch (const std::exception& e) {
            ILogMgr::GetSingleton()->LogError(std::string("Ground mesh not baked: ") + e.what());
        }
    }
}

void CObjGround::ShowQueuedMeshes()
{
    CFourFloats green;
    green.v[1] = 1.0f;
    const CVector up(0, SHOW_HEIGHT, 0);
    for (const std::shared_ptr<CTriangleMesh>& mesh : m_Gfx.GetObjectQueue()) {
        const std::vector<CVector>& points = mesh->m_Vertices;
        const std::vector<std::uint32_t>& indices = mesh->m_Indices;
        for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
            if (std::max({indices[i], indices[i + 1], indices[i + 2]}) >= points.size())
                continue;
            Register(m_Gfx.CreateTriangle(points[indices[i]] + up, points[indices[i + 1]] + up,
                                          points[indices[i + 2]] + up, green));
        }
    }
}

CObjGround::CRegistry& CObjGround::GetRegistry()
{
    static CRegistry registry;
    return registry;
}

void CObjGround::Register(const CGfxObjPtr& object)
{
    GetRegistry().push_back(object);
}

void CObjGround::ClearRegistry()
{
    GetRegistry().clear();
}

} // namespace sds
