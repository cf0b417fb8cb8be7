#pragma once

#include <memory>
#include <vector>

#include "core/BoundingBox.h"
#include "core/Node.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "graphics/IGfxObj.h"
#include "jumper/SimObj.h"

namespace physics {
class IPhyMgr;
class IPhyObj;
} // namespace physics

namespace sds {

class IRibbonTrail;
class IStaticGeometry;

// Makes the force fields of a level visible: light probes that the fields push
// around, each drawing a ribbon trail, released at random places of the
// force-field area (a rectangle in the plane z = 0) and renewed as they expire.
// It also builds the area's edge: a wall of mesh pieces along its four sides
// and four fixed physical boxes of the material "Boundary".
class CForceVisualization : public IUpdate
{
public:
    // One probe and its trail; the graphic object follows the probe.
    class CForceVisParticle : public CSimObj
    {
    public:
        CForceVisParticle(physics::IPhyMgr& world, const xml::CNodePtr& trail, float sizeFactor,
                          const CVector& position, const CGfxObjPtr& root, float life);
        ~CForceVisParticle() override;

        // Follows the probe, then fades the trail over the last second of life.
        void Update(const CTiming& timing) override;

        float GetLife() const { return m_Life; }
        const std::shared_ptr<IRibbonTrail>& GetTrail() const { return m_Trail; }

    private:
        std::shared_ptr<IRibbonTrail> m_Trail;
        float m_Life;
    };

    typedef std::vector<std::shared_ptr<CForceVisParticle>> CParticles;

    // How many particles a level shows: `maxParticles` times the user's
    // setting, taken as 0 to 1, rounded down.
    static int ParticleCount(float maxParticles, float setting);

    // `trail` describes the particles' ribbon trail; `area` gives the x and y of
    // the force-field area; `timeToLive` x and y are the shortest and the
    // longest life of a particle (s); `boundary` names the wall's "Mesh" and its
    // "Scale" (default 1, 1, 1). Throws xml::CNoNodeException without "Mesh".
    CForceVisualization(physics::IPhyMgr& world, int maxParticles, const xml::CNodePtr& trail,
                        const CBoundingBox& area, const CVector& timeToLive, const xml::CNodePtr& boundary);
    ~CForceVisualization() override;

    // Moves the particles, drops those whose life is over and releases new
    // ones, so that the count stays at the maximum.
    void Update(const CTiming& timing) override;
    // Fills the list up to the maximum with particles living from `minLife` to
    // `minLife` + `lifeSpan`.
    void SpawnParticles(float minLife, float lifeSpan);

    const CParticles& GetParticles() const { return m_Particles; }
    const std::shared_ptr<IStaticGeometry>& GetWalls() const { return m_Walls; }
    // Left, right, bottom, top.
    const std::vector<std::shared_ptr<physics::IPhyObj>>& GetBoundaryBoxes() const { return m_BoundaryBoxes; }

private:
    void BuildWalls(const xml::CNodePtr& boundary, const CVector& scale);
    void CreateBoundaryBoxes(const CVector& scale);

    physics::IPhyMgr& m_World;
    int m_MaxParticles;
    CGfxObjPtr m_Root;
    xml::CNodePtr m_Trail;
    CParticles m_Particles;
    CVector m_Min;
    CVector m_Max;
    float m_MinLife;
    float m_MaxLife;
    float m_LifeSpan;
    std::shared_ptr<IStaticGeometry> m_Walls;
    std::vector<std::shared_ptr<physics::IPhyObj>> m_BoundaryBoxes;
};

} // namespace sds
