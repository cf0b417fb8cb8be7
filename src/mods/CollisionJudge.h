#pragma once

#include <functional>

#include <memory>
#include <string>
#include <vector>

#include "core/Node.h"
#include "core/Vector.h"
#include "jumper/ICollisionJudge.h"

namespace sds {

// The landing judge of the normal editions. At the first touchdown it takes
// the speed of the frame before and the contact point's offset from the body:
// a body that leans too far crashes, else the first "Landing" row whose limits
// the speeds stay under wins, else the first "Crash" row above the speed (the
// last row when none is). The table is the root of collision.conf.
class CCollisionJudge : public ICollisionJudge
{
public:
    // A "Landing" row: horizontal (x) and vertical (y) speed limits in m/s.
    class CLandingType : public CEntry
    {
    public:
        CLandingType(const xml::CNodePtr& element, IJudgedJumper& jumper, const CSoundKeeper& keeper);
        CVector m_MaxVelocity;
    };

    // A "Crash" row: a limit on the total speed in m/s.
    class CCrash : public CEntry
    {
    public:
        CCrash(const xml::CNodePtr& element, IJudgedJumper& jumper, const CSoundKeeper& keeper);
        float m_MaxSpeed;
    };

    // Reads the table and takes the contacts of the jumper's body.
    CCollisionJudge(IJudgedJumper& jumper, const xml::CNodePtr& table, const CSoundKeeper& keeper);
    // The body's contacts reach no judge after this.
    ~CCollisionJudge() override;

    void Update(const CTiming& timing) override;
    void OnCollision(const physics::IPhyCollisionEvent& event) override;
    // Distance to the target, type, speed and comment of the verdict.
    xml::CNodePtr GetCollisionInfo() override;

private:
    void Judge(const std::shared_ptr<CEntry>& entry, float speed, const CVector& point, const CVector& bodyPos);

    IJudgedJumper& m_Jumper;
    CVector m_MaxLean;
    std::vector<std::shared_ptr<CCrash>> m_Crashes;
    std::vector<std::shared_ptr<CLandingType>> m_Landings;
    CVector m_LastVelocity;
};

// The judge factory of the game: the normal judge for every edition but the
// force-field one ("DovuvUvozeVozediza"), which gets its own judge over the
// physics world of the level's physics mod (none without that mod).
// `sceneName` tells it the scene flown, for its warnings.
CCollisionJudgeFactory MakeCollisionJudgeFactory(const ICollisionJudge::CSoundKeeper& keeper,
                                                 const std::function<std::string()>& sceneName = {});

} // namespace sds
