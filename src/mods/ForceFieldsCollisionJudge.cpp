#include "mods/ForceFieldsCollisionJudge.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "mods/JudgeRecord.h"
#include "physics/IPhyJumper.h"
#include "physics/IPhyMgr.h"

namespace sds {
namespace DovuvUvozeVozediza {

CForceFieldsCollisionJudge::CEndType::CEndType(const xml::CNodePtr& element, IJudgedJumper& jumper,
                                               const CSoundKeeper& keeper)
    : CEntry(element, "End", jumper, IJudgedJumper::LANDING_TELEPORT, keeper)
{
}

CForceFieldsCollisionJudge::CForceFieldsCollisionJudge(IJudgedJumper& jumper, const xml::CNodePtr& table,
                                                       const physics::IPhyMgr& world, const CSoundKeeper& keeper,
                                                       const std::string& scene)
    : m_Script("dofile", CScriptMgr::USER_SANDBOX), m_Jumper(jumper), m_TableName(table->GetSourceName()),
      m_Scene(scene)
{
    xml::ForEachChild(*table, "Landing",
                      [&](const xml::CNodePtr& element) { ReadEndType(element, world, keeper); });
    // Registered last: a table that fails to read leaves no callback behind.
    m_Jumper.GetPhyJumper()->SetCollisionCallback(
        [this](const physics::IPhyCollisionEvent& event) { OnCollision(event); });
}

CForceFieldsCollisionJudge::~CForceFieldsCollisionJudge()
{
    m_Jumper.GetPhyJumper()->SetCollisionCallback(nullptr);
}

void CForceFieldsCollisionJudge::ReadEndType(const xml::CNodePtr& element, const physics::IPhyMgr& world,
                                             const CSoundKeeper& keeper)
{
    const std::vector<std::string> first = SplitString(element->GetAttribute("MaterialOne")->GetValue(), ",");
    const std::vector<std::string> second = SplitString(element->GetAttribute("MaterialTwo")->GetValue(), ",");
    const auto endType = std::make_shared<CEndType>(element, m_Jumper, keeper);
    // Rows need a "Name" only to tell duplicates apart; without one the type does.
    const std::string rowName = element->GetAttribute("Name", element->GetAttribute("Type")->GetValue());

    ILogMgr* log = ILogMgr::GetSingleton();
    for (const std::string& one : first) {
        for (const std::string& two : second) {
            const std::uint16_t a = world.GetMaterialIndex(one);
            const std::uint16_t b = world.GetMaterialIndex(two);
            // Index 0 is the default material of the ground: a misspelt name would end every jump there.
            if (a == 0 || b == 0) {
                log->LogWarning("Force-field contact " + rowName + ": unknown material '" + (a == 0 ? one : two) +
                                "', the pair " + one + " " + two + " is skipped");
                continue;
            }
            const CMaterialPair key(std::min(a, b), std::max(a, b));
            if (m_EndTypes.count(key))
                log->LogWarning("Duplicated collision to landing type mapping: " + one + " " + two + " " + rowName);
            m_EndTypes[key] = endType;
        }
    }
}

void CForceFieldsCollisionJudge::Update(const CTiming&)
{
    m_LastVelocity = m_Jumper.GetPhyJumper()->GetVelocity();
}

void CForceFieldsCollisionJudge::OnCollision(const physics::IPhyCollisionEvent& event)
{
    if (m_Result)
        return;
    const float speed = m_LastVelocity.Length();
    const CVector bodyPos = m_Jumper.GetPhyJumper()->GetPos();
    const CMaterialPair key(std::min(event.m_FirstMaterial, event.m_SecondMaterial),
                            std::max(event.m_FirstMaterial, event.m_SecondMaterial));
    const auto found = m_EndTypes.find(key);
    if (found == m_EndTypes.end())
        return;

    const std::shared_ptr<CEndType> endType = found->second;
    m_Result = endType;
    const xml::CNodePtr& element = endType->GetNode();
    if (element->HasChild("Function"))
        Score(*endType, element->GetChild("Function"), speed, event.m_Point, bodyPos);
    endType->Apply(speed, event.m_Point, bodyPos);
}

void CForceFieldsCollisionJudge::Score(const CEndType& endType, const xml::CNodePtr& function, float speed,
                                       const CVector& contact, const CVector& bodyPos)
{
    try {
        m_Script.SetGlobals({{"Velocity", speed},
                             {"CollisionPosition", contact},
                             {"JumperPosition", bodyPos},
                             {"TargetPosition", LevelTargetPos()}});
        m_Script.RunScript(function->GetValue());
        m_CollisionResult = m_Script.GetGlobalString("CollisionResult");
        m_Score = m_Script.GetGlobalFloat("Score");
        // 0/0 and the like: shown as "-nan" and stored in the profile, no
        // sum or maximum of scores would be a number again.
        if (!std::isfinite(m_Score)) {
            ILogMgr::GetSingleton()->LogWarning(
                "The score function of the \"" + endType.GetType() + "\" row" +
                (m_TableName.empty() ? std::string() : " of " + m_TableName) + " gave " + ToString(m_Score) +
                (m_Scene.empty() ? std::string() : " in the scene \"" + m_Scene + "\"") + "; the jump scores 0");
            m_Score = 0.0f;
        }
        // A row's own comments, when it has any, replace this text as it is applied.
        if (endType.GetMessage().empty())
            m_Result->SetMessage(m_CollisionResult + " Score: " + ToString(m_Score));
    } catch (const std::exception& e) {
        ILogMgr* log = ILogMgr::GetSingleton();
        log->LogError("Could not run script: " + endType.GetNode()->GetPath());
        log->LogError(std::string("Error: ") + e.what());
    }
}

xml::CNodePtr CForceFieldsCollisionJudge::GetCollisionInfo()
{
    if (!m_Result)
        return MakeUnfinishedInfo();
    const CVector apart = LevelTargetPos() - m_Result->GetContactPoint();

    xml::CNodePtr record(new xml::CNode("CollisionInfo", false));
    AddRecordItem(record, "Distance to the target center", ToString(apart.Length()))->AddAttribute("Units", "Distance");
    AddRecordItem(record, "Final speed", ToString(m_Result->GetSpeed()))->AddAttribute("Units", "Speed");
    AddRecordItem(record, "Exit message", m_Result->GetMessage());
    AddRecordItem(record, "Score", ToString(m_Score));
    AddRecordItem(record, "Result", m_CollisionResult);
    return record;
}

} // namespace DovuvUvozeVozediza
} // namespace sds
