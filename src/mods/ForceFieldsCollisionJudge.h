#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "core/Node.h"
#include "core/Vector.h"
#include "core/script/ScriptMgr.h"
#include "jumper/ICollisionJudge.h"

namespace physics {
class IPhyMgr;
}

namespace sds {
namespace DovuvUvozeVozediza {

// The landing judge of the force-field edition. It does not grade a landing:
// the first contact of a material pair that its table (ffcontacts.conf) names
// ends the jump. The row's Lua "Function" scores it from "Velocity",
// "CollisionPosition", "JumperPosition" and "TargetPosition" and leaves
// "CollisionResult" and "Score"; the functions are the user's texts and run
// sandboxed in one Lua state of this judge.
class CForceFieldsCollisionJudge : public ICollisionJudge
{
public:
    // A row of the table; applying it ends the jump.
    class CEndType : public CEntry
    {
    public:
        CEndType(const xml::CNodePtr& element, IJudgedJumper& jumper, const CSoundKeeper& keeper);
    };

    // Reads the "Landing" rows, naming materials of `world`, and takes the
    // contacts of the jumper's body. `scene` names the scene flown in warnings.
    CForceFieldsCollisionJudge(IJudgedJumper& jumper, const xml::CNodePtr& table, const physics::IPhyMgr& world,
                               const CSoundKeeper& keeper, const std::string& scene = std::string());
    // The body's contacts reach no judge after this.
    ~CForceFieldsCollisionJudge() override;

    void Update(const CTiming& timing) override;
    void OnCollision(const physics::IPhyCollisionEvent& event) override;
    // Distance to the target, speed, comment, score and result of the verdict.
    xml::CNodePtr GetCollisionInfo() override;

private:
    typedef std::pair<std::uint16_t, std::uint16_t> CMaterialPair;

    void ReadEndType(const xml::CNodePtr& element, const physics::IPhyMgr& world, const CSoundKeeper& keeper);
    // Runs the row's function; its failure is logged and the judgement goes
    // on. A score that is no finite number counts 0, with a warning.
    void Score(const CEndType& endType, const xml::CNodePtr& function, float speed, const CVector& contact,
               const CVector& bodyPos);

    std::map<CMaterialPair, std::shared_ptr<CEndType>> m_EndTypes;
    CScriptMgr m_Script;
    std::string m_CollisionResult;
    float m_Score = 0.0f;
    IJudgedJumper& m_Jumper;
    CVector m_LastVelocity;
    std::string m_TableName;
    std::string m_Scene;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
