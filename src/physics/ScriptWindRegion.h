#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/script/ScriptBudget.h"
#include "core/script/ScriptMgr.h"
#include "physics/WindRegion.h"

namespace physics {

// A wind region whose air velocity a Lua script computes: the "Function"
// child's text defines "CalculateForce", which reads the globals "Pos",
// "Velocity" and "Acceleration" and returns a CVector, and may define
// "Update", called with "Time" and "DeltaTime" set. "FieldCenter",
// "Radius1Pos" to "Radius3Pos" and "Radius1" to "Radius3" come from the
// region's "Shape" and "Radius" children. A script marked
// "-- CONSTANT_FUNCTION --" is asked once per update, at the box's centre.
// No answer is stronger than the largest wind strength.
//
// The script is the user's: it runs in the sandbox of user scripts, with a
// budget of time for its loading, for each Update and for each step of the
// physics world, in which every body in the box asks for its wind. A script
// that fails or overruns is reported once, naming the region; the region then
// blows no wind, and the flight goes on.
class CScriptWindRegion : public CWindRegion
{
public:
    CScriptWindRegion(const xml::CNodePtr& node, float maxWindStrength,
                      sds::CScriptBudget::CClock::duration budget = sds::CScriptBudget::kSceneFrameLimit);

    void Update(const sds::CTiming& timing) override;
    sds::CVector GetWind(const sds::CVector& position) override;
    void Load(const xml::CNodePtr& node) override;

    bool IsConstant() const { return m_Constant; }
    bool HasFailed() const { return m_Failed; }

private:
    void ReadScript(const xml::CNodePtr& node);
    // The script's answer at a point, limited to the largest strength; zero
    // once the script has failed.
    sds::CVector CalculateForce(const sds::CVector& position);
    void ComputeConstantWind();
    void Fail(const std::string& text);
    // "'<Name>'", or where the region is when it has no name.
    std::string Describe() const;

    std::shared_ptr<sds::CScriptBudget> m_Budget;
    sds::CScriptMgr m_Script;
    float m_MaxWindStrength;
    bool m_Constant = false;
    bool m_Failed = false;
    bool m_ReportedNonFinite = false;
    // The step of the world whose queries the budget counts.
    std::uint64_t m_Step = 0;
};

} // namespace physics
