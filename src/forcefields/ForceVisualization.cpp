#include "forcefields/ForceVisualization.h"

#include <algorithm>
#include <cmath>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "graphics/IGfxMgr.h"
#include "graphics/IRibbonTrail.h"
#include "graphics/IStaticGeometry.h"
#include "physics/IPhyMgr.h"
#include "physics/IPhyObj.h"

namespace sds {

namespace {

const char* const kBoundaryMaterial = "Boundary";
// Wall pieces are 1 m long and laid 1 m apart, at most this many along a side.
const float kPieceStep = 1.0f;
const long kMaxPiecesPerSide = 100000;
// A particle's trail fades out over its last second.
const float kFadeTime = 1.0f;

// The pieces at first, first + 1 m, ... while below `end`. Counted, not
// stepped, so that far from the origin, where a float no longer changes by
// adding 1, the loop still ends.
long PieceCount(float first, float end)
{
    if (!(end > first))
        return 0;
    const double count = std::ceil((double(end) - first) / kPieceStep);
    if (!(count <= kMaxPiecesPerSide))
        throw CException("The force-field area is too large for its boundary wall: a side would need " +
                         ToString(float(count)) + " pieces");
    return static_cast<long>(count);
}

} // namespace

CForceVisualization::CForceVisParticle::CForceVisParticle(physics::IPhyMgr& world, const xml::CNodePtr& trail,
                                                          float sizeFactor, const CVector& position,
                                                          const CGfxObjPtr& root, float life)
    : CSimObj(IGfxMgr::GetSingleton()->CreateObject(">novis", CGfxObjPtr()), world.CreateProbe(position, sizeFactor)),
      m_Life(life)
{
    m_Trail = IGfxMgr::GetSingleton()->CreateRibbonTrail(trail, root);
    m_Trail->AddObject(m_GfxObj);
}

CForceVisualization::CForceVisParticle::~CForceVisParticle()
{
    // The trail goes before the object it follows.
    m_Trail.reset();
}

void CForceVisualization::CForceVisParticle::Update(const CTiming& timing)
{
    CSimObj::Update(timing);
    m_Life -= timing.m_Elapsed;
    if (m_Life < kFadeTime)
        m_Trail->SetIntensity(m_Life);
}

int CForceVisualization::ParticleCount(float maxParticles, float setting)
{
    const float fraction = std::isnan(setting) ? 0.0f : std::min(1.0f, std::max(0.0f, setting));
    const float count = std::floor(std::max(0.0f, maxParticles) * fraction);
    return std::isfinite(count) ? static_cast<int>(count) : 0;
}

CForceVisualization::CForceVisualization(physics::IPhyMgr& world, int maxParticles, const xml::CNodePtr& trail,
                                         const CBoundingBox& area, const CVector& timeToLive,
                                         const xml::CNodePtr& boundary)
    : m_World(world),
      m_MaxParticles(maxParticles),
      m_Root(IGfxMgr::GetSingleton()->GetRootObject()),
      m_Trail(trail),
      // Corners given the wrong way round still span the same area.
      m_Min(std::min(area.m_Min.x, area.m_Max.x), std::min(area.m_Min.y, area.m_Max.y), 0.0f),
      m_Max(std::max(area.m_Min.x, area.m_Max.x), std::max(area.m_Min.y, area.m_Max.y), 0.0f),
      m_MinLife(timeToLive.x),
      m_MaxLife(timeToLive.y),
      m_LifeSpan(timeToLive.y - timeToLive.x),
      m_Walls(IGfxMgr::GetSingleton()->CreateStaticGeometry(MakeUniqueName("Boundary")))
{
    // The first particles live from 0 to the longest life, so they do not all go together.
    SpawnParticles(0.0f, m_MaxLife);
    const CVector scale = boundary->GetAttribute("Scale", CVector::UNIT_SCALE);
    BuildWalls(boundary, scale);
    CreateBoundaryBoxes(scale);
}

CForceVisualization::~CForceVisualization() = default;

void CForceVisualization::Update(const CTiming& timing)
{
    for (const std::shared_ptr<CForceVisParticle>& particle : m_Particles)
        particle->Update(timing);
    m_Particles.erase(std::remove_if(m_Particles.begin(), m_Particles.end(),
                                     [](const std::shared_ptr<CForceVisParticle>& particle) {
                                         return particle->GetLife() <= 0.0f;
                                     }),
                      m_Particles.end());
    SpawnParticles(m_MinLife, m_LifeSpan);
}

void CForceVisualization::SpawnParticles(float minLife, float lifeSpan)
{
    const CVector size = m_Max - m_Min;
    while (static_cast<int>(m_Particles.size()) < m_MaxParticles) {
        const float life = GetRandomUnit() * lifeSpan + minLife;
        const float z = GetRandomUnit();
        const float y = GetRandomUnit();
        const float x = GetRandomUnit();
        const CVector position = m_Min + CVector(x * size.x, y * size.y, z * 0.0f);
        m_Particles.push_back(std::make_shared<CForceVisParticle>(m_World, m_Trail, 1.0f, position, m_Root, life));
    }
}

void CForceVisualization::BuildWalls(const xml::CNodePtr& boundary, const CVector& scale)
{
    const CGfxObjPtr piece =
        IGfxMgr::GetSingleton()->CreateMeshObject(boundary->GetAttribute("Mesh")->GetValue());
    const CVector pieceScale(1.0f, scale.y, scale.z);
    const float half = std::sqrt(0.5f);
    // Side pieces turn a quarter about z, so that their length runs along the side.
    const CQuaternion upright(half, 0.0f, 0.0f, half);
    const long across = PieceCount(m_Min.x + scale.y, m_Max.x - scale.y);
    for (long i = 0; i < across; ++i) {
        const float x = m_Min.x + scale.y + i * kPieceStep;
        m_Walls->AddObject(piece, CVector(x, m_Max.y, 0.0f), CQuaternion::IDENTITY, pieceScale);
        m_Walls->AddObject(piece, CVector(x, m_Min.y, 0.0f), CQuaternion::IDENTITY, pieceScale);
    }
    const long up = PieceCount(m_Min.y + scale.y, m_Max.y - scale.y);
    for (long i = 0; i < up; ++i) {
        const float y = m_Min.y + scale.y + i * kPieceStep;
        m_Walls->AddObject(piece, CVector(m_Min.x, y, 0.0f), upright, pieceScale);
        m_Walls->AddObject(piece, CVector(m_Max.x, y, 0.0f), upright, pieceScale);
    }
    m_Walls->Build();
}

void CForceVisualization::CreateBoundaryBoxes(const CVector& scale)
{
    const CVector size = m_Max - m_Min;
    const CVector centre = (m_Min + m_Max) * 0.5f;
    m_BoundaryBoxes = {
        m_World.CreateBox(CVector(m_Min.x, centre.y, 0.0f), CVector(scale.x, size.y, scale.z), 0.0f, kBoundaryMaterial),
        m_World.CreateBox(CVector(m_Max.x, centre.y, 0.0f), CVector(scale.x, size.y, scale.z), 0.0f, kBoundaryMaterial),
        m_World.CreateBox(CVector(centre.x, m_Min.y, 0.0f), CVector(size.x, scale.y, scale.z), 0.0f, kBoundaryMaterial),
        m_World.CreateBox(CVector(centre.x, m_Max.y, 0.0f), CVector(size.x, scale.y, scale.z), 0.0f, kBoundaryMaterial),
    };
}

} // namespace sds
