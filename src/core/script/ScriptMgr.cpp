#include "core/script/ScriptMgr.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <ostream>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include <luabind/luabind.hpp>
#include <luabind/operator.hpp>

#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/Quaternion.h"
#include "core/Timing.h"
#include "core/services/IConsole.h"

namespace sds {

// Text forms for luabind's tostring(self); static, so nothing else sees them.
static std::ostream& operator<<(std::ostream& out, const CVector& v)
{
    return out << VectorToString(v);
}

static std::ostream& operator<<(std::ostream& out, const CQuaternion& q)
{
    return out << QuaternionToString(q);
}

namespace {

// Instructions between two checks of the limit, and what one call counts.
constexpr int kHookInterval = 1000;
constexpr std::uint64_t kCallCost = 100;
constexpr int kHookMask = LUA_MASKCALL | LUA_MASKCOUNT;

void LogError(const std::string& text)
{
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogError(text);
    else
        std::cerr << "Error: " << text << std::endl;
}

void LogMessage(const std::string& text)
{
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogMessage(text);
    else
        std::cerr << text << std::endl;
}

// Without a console (before the GUI exists, or in tests) the text goes to the log.
void Print(const std::string& text)
{
    if (IConsole* console = IConsole::GetSingleton())
        console->Print(text, true);
    else
        LogMessage(text);
}

void PrintLine(int line, const std::string& text)
{
    if (line < 0) {
        LogError("PrintLine: no console line " + std::to_string(line) + " for '" + text + "'");
        return;
    }
    if (IConsole* console = IConsole::GetSingleton())
        console->SetFixedLine(static_cast<unsigned>(line), text, true);
    else
        LogMessage(text);
}

// Replaces the base library's print: the arguments' texts to standard output,
// separated by tabs, with no line end.
int PrintToStdOut(lua_State* state)
{
    const int count = lua_gettop(state);
    for (int i = 1; i <= count; ++i) {
        std::size_t length = 0;
        const char* text = luaL_tolstring(state, i, &length);
        if (i > 1)
            std::cout << '\t';
        std::cout.write(text, static_cast<std::streamsize>(length));
        lua_pop(state, 1);
    }
    std::cout.flush();
    return 0;
}

// Error handler of protected calls: the message with a stack traceback.
int AddTraceback(lua_State* state)
{
    const char* message = lua_tostring(state, 1);
    luaL_traceback(state, state, message ? message : "(error object is not a string)", 1);
    return 1;
}

std::string PopErrorMessage(lua_State* state)
{
    const char* message = lua_tostring(state, -1);
    const std::string text = message ? message : "(error object is not a string)";
    lua_pop(state, 1);
    return text;
}

// A Lua string literal of the text.
std::string QuoteLua(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\0': quoted += "\\0"; break;
        default: quoted += c; break;
        }
    }
    return quoted + "\"";
}

// An error outside any protected call: Lua aborts after this returns.
int Panic(lua_State* state)
{
    const char* message = lua_tostring(state, -1);
    LogError(std::string("Unprotected error in a script: ") + (message ? message : "(no message)"));
    return 0;
}

CScriptMgr::ELoadingMethod ParseLoadingMethod(const std::string& name)
{
    if (name == "require")
        return CScriptMgr::LM_REQUIRE;
    if (name == "load")
        return CScriptMgr::LM_LOAD;
    return CScriptMgr::LM_DOFILE;
}

void OpenLibrary(lua_State* state, const char* name, lua_CFunction open)
{
    luaL_requiref(state, name, open, 1);
    lua_pop(state, 1);
}

// Takes the ways to files and to precompiled chunks out of the base library:
// "load" keeps working on source text, with or without an environment.
const char* const kSandbox = R"(
dofile = nil
loadfile = nil
require = nil
local loadText = load
load = function(chunk, name, mode, ...)
    if select("#", ...) > 0 then
        return loadText(chunk, name, "t", ...)
    end
    return loadText(chunk, name, "t")
end
loadstring = nil
)";

} // namespace

CScriptMgr::CScriptMgr(const std::string& loadingMethod, ELibraries libraries)
    : m_State(lua_newstate(&CScriptMgr::Allocate, this)),
      m_LoadingMethod(ParseLoadingMethod(loadingMethod)),
      m_InstructionCount(0),
      m_Stopping(false)
{
    if (!m_State)
        throw CException("Could not create a Lua state");
    lua_atpanic(m_State, &Panic);

    OpenLibrary(m_State, "_G", luaopen_base);
    OpenLibrary(m_State, LUA_STRLIBNAME, luaopen_string);
    OpenLibrary(m_State, LUA_TABLIBNAME, luaopen_table);
    OpenLibrary(m_State, LUA_MATHLIBNAME, luaopen_math);
    if (libraries == PROGRAM_LIBRARIES) {
        OpenLibrary(m_State, LUA_COLIBNAME, luaopen_coroutine);
        OpenLibrary(m_State, LUA_DBLIBNAME, luaopen_debug);
    }

    luabind::open(m_State);
    luabind::set_pcall_callback(&AddTraceback);
    lua_sethook(m_State, &CScriptMgr::InstructionHook, kHookMask, kHookInterval);

    RegisterBindings();
    if (libraries == USER_SANDBOX)
        RunScript(kSandbox);
}

CScriptMgr::~CScriptMgr()
{
    lua_close(m_State);
}

// The plain allocator. It is ours only for its user pointer: that is how the
// instruction hook, which gets nothing else, finds its manager.
void* CScriptMgr::Allocate(void* /*owner*/, void* block, std::size_t /*oldSize*/, std::size_t newSize)
{
    if (newSize == 0) {
        std::free(block);
        return nullptr;
    }
    return std::realloc(block, newSize);
}

// Counts the work of every call that the program makes into Lua and stops the
// call once it has run too long. Instructions are counted in steps of
// kHookInterval; a function call counts as kCallCost instructions, so loops of
// calls or coroutines, whose short bodies the instruction count can miss, are
// bounded too. The count starts again at each call from the program (a call
// event with no caller, on the main thread).
void CScriptMgr::InstructionHook(lua_State* state, lua_Debug* record)
{
    void* owner = nullptr;
    lua_getallocf(state, &owner);
    CScriptMgr& self = *static_cast<CScriptMgr*>(owner);

    std::uint64_t work = 0;
    if (record->event == LUA_HOOKCALL || record->event == LUA_HOOKTAILCALL) {
        lua_Debug caller;
        if (record->event == LUA_HOOKCALL && state == self.m_State && !lua_getstack(state, 1, &caller)) {
            self.m_InstructionCount = 0;
            if (self.m_Stopping) {
                self.m_Stopping = false;
                lua_sethook(state, &CScriptMgr::InstructionHook, kHookMask, kHookInterval);
            }
        }
        // While stopping, calls go through: the error handlers must run.
        if (self.m_Stopping)
            return;
        work = kCallCost;
    } else if (record->event == LUA_HOOKCOUNT) {
        work = static_cast<std::uint64_t>(lua_gethookcount(state));
        if (!self.m_Stopping && lua_gethookcount(state) != kHookInterval)
            lua_sethook(state, &CScriptMgr::InstructionHook, kHookMask, kHookInterval);
    } else {
        return;
    }

    if (!self.m_Stopping) {
        self.m_InstructionCount += work;
        if (self.m_InstructionCount <= kInstructionLimit)
            return;
        // From now on every instruction fails, so that a script which catches
        // the error (pcall) cannot go on running.
        self.m_Stopping = true;
        lua_sethook(state, &CScriptMgr::InstructionHook, kHookMask, 1);
        if (state != self.m_State)
            lua_sethook(self.m_State, &CScriptMgr::InstructionHook, kHookMask, 1);
    }
    luaL_error(state, "script stopped after %d million instructions without returning (an endless loop?)",
               static_cast<int>(kInstructionLimit / 1000000));
}

void CScriptMgr::RegisterBindings()
{
    using namespace luabind;

    module(m_State)[
        class_<CQuaternion>("CQuaternion")
            .def(constructor<>())
            .def(constructor<float, float, float, float>())
            .def_readwrite("w", &CQuaternion::w)
            .def_readwrite("x", &CQuaternion::x)
            .def_readwrite("y", &CQuaternion::y)
            .def_readwrite("z", &CQuaternion::z)
            .def(self + other<const CQuaternion&>())
            .def(self - other<const CQuaternion&>())
            .def(self * other<const CQuaternion&>())
            .def(self * other<const CVector&>())
            .def(self * float())
            .def(-self)
            .def(self == other<const CQuaternion&>())
            .def("norm", &CQuaternion::Norm)
            .def("normalize", &CQuaternion::NormaliseQuaternion)
            .def("getRoll", &CQuaternion::GetRoll)
            .def("getPitch", &CQuaternion::GetPitch)
            .def("getYaw", &CQuaternion::GetYaw)
            .def("Inverse", &CQuaternion::Inverse)
            .def(tostring(self)),

        class_<CVector>("CVector")
            .def(constructor<>())
            .def(constructor<float, float, float>())
            .def_readwrite("x", &CVector::x)
            .def_readwrite("y", &CVector::y)
            .def_readwrite("z", &CVector::z)
            .def(self + other<const CVector&>())
            .def(self - other<const CVector&>())
            .def(self / other<const CVector&>())
            .def(self * other<const CVector&>())
            .def(self * float())
            .def(self / float())
            .def(-self)
            .def(self == other<const CVector&>())
            .def("length", &CVector::Length)
            .def("normalize", &CVector::Normalize)
            .def("cross", &CVector::Cross)
            .def("is_zero", &CVector::IsZero)
            .def(tostring(self)),

        def("PrintLine", &PrintLine),
        def("Print", &Print),

        class_<CTiming>("CTiming")
            .def(constructor<>())
            .def_readwrite("m_Global", &CTiming::m_Global)
            .def_readwrite("m_Elapsed", &CTiming::m_Elapsed)
    ];
    lua_register(m_State, "print", &PrintToStdOut);

    object vector = globals(m_State)["CVector"];
    vector["ZERO"] = CVector::ZERO;
    vector["UNIT_X"] = CVector::UNIT_X;
    vector["UNIT_Y"] = CVector::UNIT_Y;
    vector["UNIT_Z"] = CVector::UNIT_Z;
    vector["NEGATIVE_UNIT_X"] = CVector::NEGATIVE_UNIT_X;
    vector["NEGATIVE_UNIT_Y"] = CVector::NEGATIVE_UNIT_Y;
    vector["NEGATIVE_UNIT_Z"] = CVector::NEGATIVE_UNIT_Z;
    vector["UNIT_SCALE"] = CVector::UNIT_SCALE;
    vector["MAX_NEGATIVE"] = CVector::MAX_NEGATIVE;
    vector["MAX_POSITIVE"] = CVector::MAX_POSITIVE;

    object quaternion = globals(m_State)["CQuaternion"];
    quaternion["ZERO"] = CQuaternion::ZERO;
    quaternion["IDENTITY"] = CQuaternion::IDENTITY;
}

void CScriptMgr::RunScript(const std::string& text)
{
    const int base = lua_gettop(m_State);
    lua_pushcfunction(m_State, &AddTraceback);
    // The whole text, and only as source: a precompiled chunk is not checked
    // by Lua and could corrupt the program.
    int result = luaL_loadbufferx(m_State, text.data(), text.size(), text.c_str(), "t");
    if (result == LUA_OK)
        result = lua_pcall(m_State, 0, LUA_MULTRET, base + 1);
    if (result != LUA_OK) {
        LogError("Script error: " + PopErrorMessage(m_State));
        lua_settop(m_State, base);
        throw CException("Could not RunScript: " + text);
    }
    // Nothing reads a chunk's results; dropping them keeps the stack from growing.
    lua_settop(m_State, base);
}

void CScriptMgr::LoadScript(const std::string& file)
{
    switch (m_LoadingMethod) {
    case LM_REQUIRE:
        RunScript("require(" + QuoteLua(file) + ");\n");
        break;
    case LM_DOFILE:
        RunScript("dofile(" + QuoteLua(file) + ");\n");
        break;
    case LM_LOAD: {
        if (file.empty())
            throw CException("No script file is given for free camera");
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            LogError("Could not load script file for free camera: " + file);
            return;
        }
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        RunScript(text);
        break;
    }
    }
}

void CScriptMgr::SetGlobalVector(const std::string& name, const CVector& value)
{
    luabind::globals(m_State)[name] = CVector(value.x, value.y, value.z);
}

void CScriptMgr::SetGlobalFloat(const std::string& name, float value)
{
    luabind::globals(m_State)[name] = value;
}

// Pushes the global without its table's metamethods: a script's __index
// could raise an error here, outside any protected call.
static void PushRawGlobal(lua_State* state, const std::string& name)
{
    lua_rawgeti(state, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    lua_pushlstring(state, name.data(), name.size());
    lua_rawget(state, -2);
    lua_remove(state, -2);
}

std::string CScriptMgr::GetGlobalString(const std::string& name) const
{
    PushRawGlobal(m_State, name);
    if (lua_type(m_State, -1) != LUA_TSTRING) {
        lua_pop(m_State, 1);
        throw CException("Lua global '" + name + "' is not a text");
    }
    std::size_t length = 0;
    const char* text = lua_tolstring(m_State, -1, &length);
    std::string value(text, length);
    lua_pop(m_State, 1);
    return value;
}

float CScriptMgr::GetGlobalFloat(const std::string& name) const
{
    PushRawGlobal(m_State, name);
    if (lua_type(m_State, -1) != LUA_TNUMBER) {
        lua_pop(m_State, 1);
        throw CException("Lua global '" + name + "' is not a number");
    }
    const float value = static_cast<float>(lua_tonumber(m_State, -1));
    lua_pop(m_State, 1);
    return value;
}

void CScriptMgr::CallFunction(const std::string& name)
{
    const int base = lua_gettop(m_State);
    try {
        luabind::call_function<void>(m_State, name.c_str());
    } catch (const luabind::error&) {
        // The binding leaves Lua's message on the stack.
        if (lua_gettop(m_State) > base)
            LogError("Script error in " + name + "(): " + PopErrorMessage(m_State));
        lua_settop(m_State, base);
        throw;
    } catch (...) {
        lua_settop(m_State, base);
        throw;
    }
    lua_settop(m_State, base);
}

} // namespace sds
