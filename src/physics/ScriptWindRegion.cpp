#include "physics/ScriptWindRegion.h"

#include <cmath>

extern "C" {
#include <lua.h>
}

#include <luabind/luabind.hpp>

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

// Lua's message for a failed call, taken off the stack, then the binding's own words.
std::string CallError(lua_State* state, const std::exception& e)
{
    std::string message;
    if (lua_gettop(state) > 0 && lua_isstring(state, -1))
    {
        message = lua_tostring(state, -1);
        lua_pop(state, 1);
    }
    return message + "; " + e.what();
}

} // namespace

CScriptWindRegion::CScriptWindRegion(const xml::CNodePtr& node, float maxWindStrength)
    : CWindRegion(node), m_Script("dofile", sds::CScriptMgr::USER_SANDBOX), m_MaxWindStrength(maxWindStrength)
{
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
    m_Script.SetGlobalVector("FieldCenter", centre);
    for (const char* n : {"1", "2", "3"})
    {
        const sds::CVector position =
            node->GetChildById("Radius", n, "Name,Id")->GetAttribute("Position")->GetValue<sds::CVector>();
        m_Script.SetGlobalVector(std::string("Radius") + n + "Pos", position);
        luabind::globals(m_Script.GetState())[std::string("Radius") + n] = (position - centre).Length();
    }
    const std::string text = node->GetChild("Function")->GetValue();
    m_Failed = false;
    m_Constant = false;
    m_ReportedNonFinite = false;
    try
    {
        m_Script.RunScript(text);
    }
    catch (const std::exception& e)
    {
        Fail(e.what());
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
    const xml::CNodePtr node = GetNode();
    LogError("Wind region '" + (node ? node->GetAttribute("Name", "") : std::string()) +
             "': its script failed and it blows no wind from now on: " + text);
}

void CScriptWindRegion::Update(const sds::CTiming& timing)
{
    if (m_Failed)
        return;
    lua_State* state = m_Script.GetState();
    luabind::object globals = luabind::globals(state);
    globals["Time"] = timing.m_Global;
    globals["DeltaTime"] = timing.m_Elapsed;
    // Wind scripts need not have an "Update" of their own.
    if (luabind::type(globals["Update"]) == LUA_TFUNCTION)
    {
        const int base = lua_gettop(state);
        try
        {
            luabind::call_function<void>(state, "Update");
        }
        catch (const luabind::error& e)
        {
            Fail(CallError(state, e));
            lua_settop(state, base);
            return;
        }
        catch (const std::exception& e)
        {
            Fail(e.what());
            lua_settop(state, base);
            return;
        }
    }
    if (m_Constant)
        ComputeConstantWind();
}

sds::CVector CScriptWindRegion::CalculateForce(const sds::CVector& position)
{
    if (m_Failed)
        return sds::CVector::ZERO;
    lua_State* state = m_Script.GetState();
    m_Script.SetGlobalVector("Pos", position);
    m_Script.SetGlobalVector("Velocity", sds::CVector::ZERO);
    m_Script.SetGlobalVector("Acceleration", sds::CVector::ZERO);
    sds::CVector force;
    const int base = lua_gettop(state);
    try
    {
        force = luabind::call_function<sds::CVector>(state, "CalculateForce");
    }
    catch (const luabind::error& e)
    {
        Fail(CallError(state, e));
        lua_settop(state, base);
        return sds::CVector::ZERO;
    }
    catch (const std::exception& e)
    {
        // A result that is not a CVector, among others.
        Fail(e.what());
        lua_settop(state, base);
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
