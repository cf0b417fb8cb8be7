#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "graphics/IGfxObj.h"
#include "mods/ILevelMod.h"
#include "physics/IPhyMgr.h"

namespace sds {

class CObjGround;
class ISound;
class ISoundTemplate;

// Owns the level's physics world: makes it, steps it once a frame, sends its
// log lines to the program's log, plays a sound where two materials of the
// materials file's "Collision" rows touch, and, with "PhyVisualization"
// "Objects", draws the world's shapes and forces for debugging.
class CPhyEnabledMod : public ILevelMod, public CSingletonTmpl<CPhyEnabledMod>
{
public:
    // The sounds of one "Collision" row, shared by all its material pairs.
    struct CPlayingSounds
    {
        std::vector<std::shared_ptr<ISound>> m_Playing;
        std::shared_ptr<ISoundTemplate> m_Template;
        // A contact this close (metres) to a sound still playing plays none.
        float m_MinSoundDistance = 0.0f;
    };
    // Two material indices, the smaller first.
    typedef std::pair<std::uint16_t, std::uint16_t> CMaterialPair;

    // `physics` is the "Physics" root of the physics configuration, `materials`
    // the root of the materials file.
    CPhyEnabledMod(const xml::CNodePtr& physics, const xml::CNodePtr& materials);
    ~CPhyEnabledMod() override;

    // The world's steps of the frame, then the debug drawing.
    void Update(const CTiming& timing) override;
    // Forgets the debug objects; the world and the sound table stay.
    void Restart() override;
    // The level is going: forgets the debug objects, the collision sounds and
    // the graphic objects kept for the level; the world stays for the mod's life.
    void Reset();

    physics::IPhyMgr& GetPhyMgr() const { return *m_PhyMgr; }
    // The ground object that bakes the zone's collision meshes into the world.
    CObjGround& GetGround() const { return *m_Ground; }
    const std::map<CMaterialPair, std::shared_ptr<CPlayingSounds>>& GetCollisionSounds() const { return m_Sounds; }
    std::size_t GetDebugObjectCount() const { return m_DebugBoxes.size() + m_DebugArrows.size(); }
    // The arrow drawn for the force; null before it is drawn.
    CGfxObjPtr FindDebugArrow(const physics::IPhyForce& force) const
    {
        const auto found = m_DebugArrows.find(&force);
        return found == m_DebugArrows.end() ? CGfxObjPtr() : found->second;
    }

    // Plays the sound of the touching materials unless one of theirs still plays nearby.
    void OnCollision(const physics::IPhyCollisionEvent& event);

private:
    void ReadCollisionSounds(const xml::CNodePtr& materials);
    void DrawShape(const physics::sdk::IShape& shape, const CVector& position, const CVector& size,
                   const CQuaternion& orientation, const CFourFloats& colour, bool visible);
    void DrawForce(const physics::IPhyForce& force, const CVector& start, const CVector& end,
                   const CFourFloats& colour, bool visible);
    void ClearDebugObjects();

    std::shared_ptr<physics::IPhyMgr> m_PhyMgr;
    // Bakes the terrain's collision; goes before the world it bakes into.
    std::shared_ptr<CObjGround> m_Ground;
    bool m_DrawObjects;
    std::map<CMaterialPair, std::shared_ptr<CPlayingSounds>> m_Sounds;
    std::map<const void*, CGfxObjPtr> m_DebugBoxes;
    std::map<const void*, CGfxObjPtr> m_DebugArrows;
};

} // namespace sds
