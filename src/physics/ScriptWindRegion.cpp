#include "physics/ScriptWindRegion.h"

#include <cmath>

#include "core/ILogMgr.h"
#include "physics/PhyMgr.h"

namespace physics {

namespace {

const char* const kConstantMarker = "-- CONSTANT_FUNCTION --";

bool IsFinite(const sds::CVector& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void LogError(const std::string& text)
{
    if (const CPhyMgr* world = CPhyMgr::GetSingleton())
        world->LogError(text);
    else if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogError(text);
}

const std::string kUpdate = "Update";
const std::string kCalculateForce = "CalculateForce";

// What a failure of the script says: why the script failed or was stopped.
std::string Reason(const std::exception& e)
{
    if (const auto* script = dynamic_cast<const sds::CScriptException*>(&e))
        return script->GetReason();
    return e.what();
}

} // namespace

CScriptWindRegion::CScriptWindRegion(const xml::CNodePtr& node, float maxWindStrength,
                                     sds::CScriptBudget::CClock::duration budget)
    : CWindRegion(node),
      m_Budget(std::make_shared<sds::CScriptBudget>(budget)),
      m_Script("dofile", sds::CScriptMgr::USER_SANDBOX),
      m_MaxWindStrength(maxWindStrength)
{
    m_Script.SetBudget(m_Budget);
    ReadScript(node);
}

void CScriptWindRegion::Load(const xml::CNodePtr& node)
{
    CWindRegion::Load(node);
    ReadScript(node);
}

void CScriptWindRegion::ReadScript(const xml::CNodePtr& node)
{
    const sds::CVector centre = node->GetChild("Shape")->GetAttribute("Position")->GetValue<sds::CVector>();
    sds::CVector positions[3];
    const char* const ids[] = {"1", "2", "3"};
    for (int i = 0; i < 3; ++i)
    {
        const xml::CNodePtr radius = node->GetChildById("Radius", ids[i], "Name,Id");
        positions[i] = radius->GetAttribute("Position")->GetValue<sds::CVector>();
    }
    const std::string text = node->GetChild("Function")->GetValue();
    m_Failed = false;
    m_Constant = false;
    m_ReportedNonFinite = false;
    // Loading has a budget of its own.
    m_Budget->Start();
    try
    {
        m_Script.SetGlobals({{"FieldCenter", centre},
                             {"Radius1Pos", positions[0]},
                             {"Radius1", (positions[0] - centre).Length()},
                             {"Radius2Pos", positions[1]},
                             {"Radius2", (positions[1] - centre).Length()},
                             {"Radius3Pos", positions[2]},
                             {"Radius3", (positions[2] - centre).Length()}});
        m_Script.RunScript(text);
    }
    catch (const std::exception& e)
    {
        Fail(Reason(e));
        return;
    }
    m_Constant = text.find(kConstantMarker) != std::string::npos;
    if (m_Constant)
        ComputeConstantWind();
}

void CScriptWindRegion::Fail(const std::string& text)
{
    if (m_Failed)
        return;
    m_Failed = true;
    LogError("Wind region " + Describe() + ": its script failed and it blows no wind from now on: " + text);
}

std::string CScriptWindRegion::Describe() const
{
    const xml::CNodePtr node = GetNode();
    if (node && node->HasAttribute("Name"))
        return "'" + node->GetAttribute("Name")->GetValue() + "'";
    return "at " + sds::VectorToString(m_Box.GetCenter());
}

void CScriptWindRegion::Update(const sds::CTiming& timing)
{
    if (m_Failed)
        return;
    m_Budget->Start();
    try
    {
        m_Script.SetGlobals({{"Time", timing.m_Global}, {"DeltaTime", timing.m_Elapsed}});
        // Wind scripts need not have an "Update" of their own.
        if (m_Script.HasFunction(kUpdate))
            m_Script.CallFunction(kUpdate);
    }
    catch (const std::exception& e)
    {
        Fail(Reason(e));
        return;
    }
    if (m_Constant)
        ComputeConstantWind();
}

sds::CVector CScriptWindRegion::CalculateForce(const sds::CVector& position)
{
    if (m_Failed)
        return sds::CVector::ZERO;
    // Each step of the world asks again for every body: each has a budget.
    const std::uint64_t step = CPhyMgr::GetStepCount();
    if (step != m_Step)
    {
        m_Step = step;
        m_Budget->Start();
    }
    sds::CVector force;
    try
    {
        force = m_Script.CallVectorFunction(kCalculateForce, {{"Pos", position},
                                                              {"Velocity", sds::CVector::ZERO},
                                                              {"Acceleration", sds::CVector::ZERO}});
    }
    catch (const std::exception& e)
    {
        // A result that is not a CVector, among others.
        Fail(Reason(e));
        return sds::CVector::ZERO;
    }
    if (!IsFinite(force))
    {
        // Often one point where the formula divides by zero: no wind there.
        if (!m_ReportedNonFinite)
            LogError("Wind region script gave the wind " + sds::VectorToString(force) + " at " +
                     sds::VectorToString(position) + "; none is blown there");
        m_ReportedNonFinite = true;
        return sds::CVector::ZERO;
    }
    if (force.Length() > m_MaxWindStrength)
    {
        force.Normalize();
        force *= m_MaxWindStrength;
    }
    return force;
}

void CScriptWindRegion::ComputeConstantWind()
{
    const sds::CVector wind = CalculateForce(m_Box.GetCenter());
    m_Speed = wind.Length();
    m_Direction = wind;
    m_Direction.Normalize();
}

sds::CVector CScriptWindRegion::GetWind(const sds::CVector& position)
{
    if (!Contains(position) || m_Failed)
        return sds::CVector::ZERO;
    if (m_Constant)
        return m_Direction * m_Speed;
    return CalculateForce(position);
}

} // namespace physics
