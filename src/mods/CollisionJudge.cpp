#include "mods/CollisionJudge.h"

#include <cmath>
#include <sstream>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "mods/ForceFieldsCollisionJudge.h"
#include "mods/JudgeRecord.h"
#include "mods/PhyEnabledMod.h"
#include "physics/IPhyJumper.h"

namespace sds {

namespace {

IJudgedJumper::ELanding TargetOf(const xml::CNodePtr& element)
{
    // Only "Landing" lands normally; "PLF" and everything else is a crash landing.
    return element->GetAttribute("State", "Crash") == "Landing" ? IJudgedJumper::LANDING_NORMAL
                                                                : IJudgedJumper::LANDING_CRASH;
}

} // namespace

CCollisionJudge::CLandingType::CLandingType(const xml::CNodePtr& element, IJudgedJumper& jumper,
                                            const CSoundKeeper& keeper)
    : CEntry(element, "Landing", jumper, TargetOf(element), keeper),
      m_MaxVelocity(element->GetAttribute<CVector>("MaxVelocity", CVector::ZERO))
{
}

CCollisionJudge::CCrash::CCrash(const xml::CNodePtr& element, IJudgedJumper& jumper, const CSoundKeeper& keeper)
    : CEntry(element, "Crash", jumper, TargetOf(element), keeper),
      m_MaxSpeed(element->GetAttribute("MaxSpeed")->GetValue<float>())
{
}

CCollisionJudge::CCollisionJudge(IJudgedJumper& jumper, const xml::CNodePtr& table, const CSoundKeeper& keeper)
    : m_Jumper(jumper), m_MaxLean(table->GetAttribute("MaxLean")->GetValue<CVector>())
{
    xml::ForEachChild(*table, "Landing", [&](const xml::CNodePtr& landing) {
        m_Landings.push_back(std::make_shared<CLandingType>(landing, jumper, keeper));
    });
    xml::ForEachChild(*table, "Crash", [&](const xml::CNodePtr& crash) {
        m_Crashes.push_back(std::make_shared<CCrash>(crash, jumper, keeper));
    });
    // Every touch-down that no "Landing" takes falls to a crash row; without
    // one the jumper would lie on the ground with no verdict for good.
    if (m_Crashes.empty()) {
        const std::string source = table->GetSourceName();
        throw CException("The landing table " + (source.empty() ? table->GetPath() : source) +
                         " has no \"Crash\" row, so a landing too fast for every \"Landing\" row would get no verdict.");
    }
    // Registered last: a table that fails to read leaves no callback behind.
    m_Jumper.GetPhyJumper()->SetCollisionCallback(
        [this](const physics::IPhyCollisionEvent& event) { OnCollision(event); });
}

CCollisionJudge::~CCollisionJudge()
{
    m_Jumper.GetPhyJumper()->SetCollisionCallback(nullptr);
}

void CCollisionJudge::Update(const CTiming&)
{
    m_LastVelocity = m_Jumper.GetPhyJumper()->GetVelocity();
}

void CCollisionJudge::OnCollision(const physics::IPhyCollisionEvent& event)
{
    if (m_Result)
        return;
    const CVector& v = m_LastVelocity;
    const float horizontal = std::sqrt(v.x * v.x + v.z * v.z);
    const float vertical = std::fabs(v.y);
    const float speed = v.Length();
    const CVector bodyPos = m_Jumper.GetPhyJumper()->GetPos();
    const CVector lean = event.m_Point - bodyPos;

    std::ostringstream line;
    line << "Collision with HSpeed=" << horizontal << "; VSpeed=" << vertical << "; Speed=" << speed
         << "; Lean=" << lean.x << "," << lean.y << "," << lean.z;
    ILogMgr::GetSingleton()->LogMessage(line.str());

    // A touch that far to any side is a fall, whichever side; the height stays signed:
    // the contact must lie low enough under the body.
    const bool leaning = std::fabs(lean.x) > m_MaxLean.x || std::fabs(lean.z) > m_MaxLean.z || lean.y > m_MaxLean.y;
    if (!leaning) {
        for (const std::shared_ptr<CLandingType>& landing : m_Landings) {
            if (landing->m_MaxVelocity.x > horizontal && landing->m_MaxVelocity.y > vertical) {
                Judge(landing, speed, event.m_Point, bodyPos);
                return;
            }
        }
    }
    std::shared_ptr<CCrash> crash = m_Crashes.back();
    for (const std::shared_ptr<CCrash>& candidate : m_Crashes) {
        if (candidate->m_MaxSpeed > speed) {
            crash = candidate;
            break;
        }
    }
    Judge(crash, speed, event.m_Point, bodyPos);
}

void CCollisionJudge::Judge(const std::shared_ptr<CEntry>& entry, float speed, const CVector& point,
                            const CVector& bodyPos)
{
    m_Result = entry;
    entry->Apply(speed, point, bodyPos);
}

xml::CNodePtr CCollisionJudge::GetCollisionInfo()
{
    if (!m_Result)
        return MakeUnfinishedInfo();
    const CVector target = LevelTargetPos();
    const CVector point = GetLandingValue();
    const CVector apart(target.x - point.x, 0.0f, target.z - point.z);

    xml::CNodePtr record(new xml::CNode("CollisionInfo", false));
    AddRecordItem(record, "Distance to target on landing", ToString(apart.Length()))
        ->AddAttribute("Units", "Distance");
    AddRecordItem(record, "Landing type", m_Result->GetType());
    AddRecordItem(record, "Landing speed", ToString(m_Result->GetSpeed()))
        ->AddAttribute("Units", "Speed");
    AddRecordItem(record, "Landing message", m_Result->GetMessage());
    return record;
}

CCollisionJudgeFactory MakeCollisionJudgeFactory(const ICollisionJudge::CSoundKeeper& keeper,
                                                 const std::function<std::string()>& sceneName)
{
    return [keeper, sceneName](const std::string& edition, IJudgedJumper& jumper,
                               const xml::CNodePtr& table) -> std::shared_ptr<ICollisionJudge> {
        if (edition != "DovuvUvozeVozediza")
            return std::make_shared<CCollisionJudge>(jumper, table, keeper);
        // Its table names the materials of the level's physics world.
        const CPhyEnabledMod* physics = CPhyEnabledMod::GetSingleton();
        if (!physics) {
            ILogMgr::GetSingleton()->LogError("No physics world: the jump has no force-field judge");
            return nullptr;
        }
        return std::make_shared<DovuvUvozeVozediza::CForceFieldsCollisionJudge>(
            jumper, table, physics->GetPhyMgr(), keeper, sceneName ? sceneName() : std::string());
    };
}

} // namespace sds
