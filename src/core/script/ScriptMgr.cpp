#include "core/script/ScriptMgr.h"

#include <cstdlib>
#include <cstring>
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
#include <luabind/stack.hpp>

#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/Quaternion.h"
#include "core/Timing.h"
#include "core/script/ScriptBudget.h"
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

typedef std::chrono::steady_clock CClock;

// Instructions between two checks of the limit, and what one call counts.
constexpr int kHookInterval = 1000;
constexpr std::uint64_t kCallCost = 100;
constexpr int kHookMask = LUA_MASKCALL | LUA_MASKCOUNT;
// Calls between two readings of the clock: a script may spend its time in
// library functions, whose work no instruction counts.
constexpr unsigned kCallsPerClockReading = 16;

const char* const kTraceback = "\nstack traceback:";

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

// An error outside any protected call: Lua aborts after this returns. Every
// call of the script manager is protected; this is the last word of one that
// is not (a luabind call of an owner).
int Panic(lua_State* state)
{
    const char* message = lua_type(state, -1) == LUA_TSTRING ? lua_tostring(state, -1) : nullptr;
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

// The body of a protected call from the program. A C++ failure in it becomes
// a Lua error once its exception is gone; a Lua error leaves it by a long
// jump, so the body holds nothing with a destructor while it calls Lua.
template <class Body>
struct CProtectedBody
{
    Body* m_Body;
    std::string* m_HostError;

    static int Run(lua_State* state)
    {
        CProtectedBody& call = *static_cast<CProtectedBody*>(lua_touserdata(state, 1));
        lua_settop(state, 0);
        bool failed = false;
        try {
            (*call.m_Body)(state);
        } catch (const std::exception& e) {
            failed = true;
            try {
                *call.m_HostError = e.what();
            } catch (...) {
                call.m_HostError->clear();
            }
        } catch (...) {
            failed = true;
            call.m_HostError->clear();
        }
        if (!failed)
            return 0;
        const char* text = call.m_HostError->empty() ? "failure in the program" : call.m_HostError->c_str();
        return luaL_error(state, "%s", text);
    }
};

void PushRawGlobal(lua_State* state, const std::string& name)
{
    lua_rawgeti(state, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    lua_pushlstring(state, name.data(), name.size());
    lua_rawget(state, -2);
    lua_remove(state, -2);
}

void PushVector(lua_State* state, const CVector& value)
{
    CVector copy = value;
    luabind::push(state, copy);
}

void SetRawGlobals(lua_State* state, std::initializer_list<CScriptMgr::CGlobal> globals)
{
    lua_rawgeti(state, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    for (const CScriptMgr::CGlobal& global : globals) {
        lua_pushstring(state, global.m_Name);
        if (global.m_IsVector)
            PushVector(state, global.m_Vector);
        else
            lua_pushnumber(state, global.m_Number);
        lua_rawset(state, -3);
    }
    lua_pop(state, 1);
}

// Pushes the global function, or fails with a Lua error that names it.
void PushFunction(lua_State* state, const std::string& name)
{
    PushRawGlobal(state, name);
    if (lua_type(state, -1) != LUA_TFUNCTION)
        luaL_error(state, "the script has no function %s()", name.c_str());
}

bool ToVector(lua_State* state, int index, CVector& vector)
{
    const boost::optional<CVector> value = luabind::from_lua_nothrow<CVector>(state, index);
    if (!value)
        return false;
    vector = *value;
    return true;
}

// string.rep up to the sandbox's longest text; the original is the upvalue.
int CappedRep(lua_State* state)
{
    std::size_t length = 0;
    std::size_t separator = 0;
    luaL_checklstring(state, 1, &length);
    const lua_Integer count = luaL_checkinteger(state, 2);
    luaL_optlstring(state, 3, "", &separator);
    // count copies and count - 1 separators
    const std::size_t unit = length + separator;
    if (count > 0 && unit > 0 &&
        static_cast<std::size_t>(count) > (CScriptMgr::kUserStringLimit + separator) / unit)
        return luaL_error(state, "string.rep: the text would be longer than %d bytes",
                          static_cast<int>(CScriptMgr::kUserStringLimit));
    lua_pushvalue(state, lua_upvalueindex(1));
    lua_insert(state, 1);
    lua_call(state, lua_gettop(state) - 1, 1);
    return 1;
}

// __newindex of the bound types and of their values, the original the
// upvalue: no "__"-names, "__finalize" above all, which their finalizer calls.
int GuardedNewIndex(lua_State* state)
{
    if (lua_type(state, 2) == LUA_TSTRING) {
        const char* key = lua_tostring(state, 2);
        if (key[0] == '_' && key[1] == '_')
            return luaL_error(state, "'%s' cannot be set on CVector, CQuaternion, CTiming or their values", key);
    }
    lua_pushvalue(state, lua_upvalueindex(1));
    lua_insert(state, 1);
    lua_call(state, lua_gettop(state) - 1, 0);
    return 0;
}

// Puts the guard before the __newindex of the metatable on the stack's top.
void GuardNewIndex(lua_State* state)
{
    lua_pushliteral(state, "__newindex");
    lua_rawget(state, -2);
    if (lua_tocfunction(state, -1) == &GuardedNewIndex) {
        lua_pop(state, 1);
        return;
    }
    lua_pushcclosure(state, &GuardedNewIndex, 1);
    lua_pushliteral(state, "__newindex");
    lua_insert(state, -2);
    lua_rawset(state, -3);
}

// What the sandbox takes away in Lua: the ways to files and to precompiled
// chunks, luabind's classes of Lua (their "__finalize" is a finalizer), the
// collector's controls, the globals' metatable, finalizers and the pattern
// functions.
const char* const kSandbox = R"(
local error, ipairs, rawequal, rawget, select, type = error, ipairs, rawequal, rawget, select, type
local globals = _G
dofile = nil
loadfile = nil
require = nil
loadstring = nil
class = nil
super = nil
property = nil
local loadText = load
load = function(chunk, name, mode, ...)
    if select("#", ...) > 0 then
        return loadText(chunk, name, "t", ...)
    end
    return loadText(chunk, name, "t")
end
local setMetatable = setmetatable
setmetatable = function(table, metatable)
    if rawequal(table, globals) then
        error("setmetatable: the table of globals keeps no metatable", 2)
    end
    if type(metatable) == "table" and rawget(metatable, "__gc") ~= nil then
        error("setmetatable: finalizers (__gc) are not allowed", 2)
    end
    return setMetatable(table, metatable)
end
local collect = collectgarbage
collectgarbage = function(option)
    if option == nil or option == "collect" or option == "count" then
        return collect(option)
    end
    error('collectgarbage: only "collect" and "count" are allowed', 2)
end
for _, name in ipairs({"find", "match", "gmatch", "gsub"}) do
    local message = "string." .. name .. " is not available: pattern matching may run for unbounded time"
    string[name] = function() error(message, 2) end
end
)";

} // namespace

constexpr std::uint64_t CScriptMgr::kInstructionLimit;
constexpr std::chrono::seconds CScriptMgr::kCallTimeLimit;
constexpr std::size_t CScriptMgr::kUserMemoryLimit;
constexpr std::size_t CScriptMgr::kUserStringLimit;

CScriptMgr::CScriptMgr(const std::string& loadingMethod, ELibraries libraries)
    : m_LoadingMethod(ParseLoadingMethod(loadingMethod)),
      m_MemoryLimit(libraries == USER_SANDBOX ? kUserMemoryLimit : 0),
      m_MemoryInUse(0),
      m_MemoryRefused(false),
      m_InstructionCount(0),
      m_CallEvents(0),
      m_Stopping(false),
      m_StopReason(STOP_NONE),
      m_ProtectedDepth(0),
      m_CallStart(CClock::now()),
      m_State(nullptr)
{
    m_State = lua_newstate(&CScriptMgr::Allocate, this);
    if (!m_State)
        throw CException("Could not create a Lua state");
    try {
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
            CloseToUserScripts();
    } catch (...) {
        m_MemoryLimit = 0;
        lua_close(m_State);
        throw;
    }
}

CScriptMgr::~CScriptMgr()
{
    // Closing runs the finalizers of the bound values, which need a little
    // memory. Lua 5.2 leaves a slot on the stack for each one that fails and
    // pushes on past the stack's end: a state full to its limit must not
    // refuse them.
    m_MemoryLimit = 0;
    lua_close(m_State);
}

// Counts what the state holds and, for user scripts, refuses to hold more
// than the limit: Lua then raises its memory error. The user pointer is also
// how the instruction hook, which gets nothing else, finds its manager.
void* CScriptMgr::Allocate(void* owner, void* block, std::size_t oldSize, std::size_t newSize)
{
    CScriptMgr& self = *static_cast<CScriptMgr*>(owner);
    // Without a block Lua passes the kind of object in oldSize.
    const std::size_t held = block ? oldSize : 0;
    if (newSize == 0) {
        std::free(block);
        self.m_MemoryInUse -= held;
        return nullptr;
    }
    if (self.m_MemoryLimit != 0 && newSize > held && self.m_MemoryInUse - held + newSize > self.m_MemoryLimit) {
        self.m_MemoryRefused = true;
        return nullptr;
    }
    void* moved = std::realloc(block, newSize);
    if (moved)
        self.m_MemoryInUse = self.m_MemoryInUse - held + newSize;
    return moved;
}

// Counts the work of every call that the program makes into Lua and stops the
// call once it has run too long. Instructions are counted in steps of
// kHookInterval; a function call counts as kCallCost instructions, so loops of
// calls or coroutines, whose short bodies the instruction count can miss, are
// bounded too. The time is read at every count and every few calls. A call
// of the program starts the count and the clock again: Protect does so, and
// here a call event with no caller on the main thread (luabind's own calls).
void CScriptMgr::InstructionHook(lua_State* state, lua_Debug* record)
{
    void* owner = nullptr;
    lua_getallocf(state, &owner);
    CScriptMgr& self = *static_cast<CScriptMgr*>(owner);

    std::uint64_t work = 0;
    bool readClock = false;
    if (record->event == LUA_HOOKCALL || record->event == LUA_HOOKTAILCALL) {
        lua_Debug caller;
        if (self.m_ProtectedDepth == 0 && record->event == LUA_HOOKCALL && state == self.m_State &&
            !lua_getstack(state, 1, &caller))
            self.StartCall();
        // While stopping, calls go through: the error handlers must run.
        if (self.m_Stopping)
            return;
        work = kCallCost;
        readClock = ++self.m_CallEvents % kCallsPerClockReading == 0;
    } else if (record->event == LUA_HOOKCOUNT) {
        work = static_cast<std::uint64_t>(lua_gethookcount(state));
        if (!self.m_Stopping && lua_gethookcount(state) != kHookInterval)
            lua_sethook(state, &CScriptMgr::InstructionHook, kHookMask, kHookInterval);
        readClock = true;
    } else {
        return;
    }

    if (!self.m_Stopping) {
        self.m_InstructionCount += work;
        EStop reason = self.m_InstructionCount > kInstructionLimit ? STOP_INSTRUCTIONS : STOP_NONE;
        if (reason == STOP_NONE && readClock)
            reason = self.CheckTime();
        if (reason == STOP_NONE)
            return;
        self.Stop(state, reason);
    }
    luaL_error(state, "%s", self.StopText(self.m_StopReason));
}

void CScriptMgr::StartCall()
{
    m_InstructionCount = 0;
    m_StopReason = STOP_NONE;
    m_MemoryRefused = false;
    m_CallStart = CClock::now();
    if (m_Stopping) {
        m_Stopping = false;
        lua_sethook(m_State, &CScriptMgr::InstructionHook, kHookMask, kHookInterval);
    }
}

// From now on every instruction fails, so that a script which catches the
// error (pcall) cannot go on running.
void CScriptMgr::Stop(lua_State* state, EStop reason)
{
    m_Stopping = true;
    m_StopReason = reason;
    lua_sethook(state, &CScriptMgr::InstructionHook, kHookMask, 1);
    if (state != m_State)
        lua_sethook(m_State, &CScriptMgr::InstructionHook, kHookMask, 1);
}

CScriptMgr::EStop CScriptMgr::CheckTime()
{
    const CClock::duration running = CClock::now() - m_CallStart;
    if (running > kCallTimeLimit)
        return STOP_TIME;
    if (m_Budget && m_Budget->IsSpent(running))
        return STOP_BUDGET;
    return STOP_NONE;
}

const char* CScriptMgr::StopText(EStop reason) const
{
    switch (reason) {
    case STOP_INSTRUCTIONS:
        return "script stopped after 10 million instructions without returning (an endless loop?)";
    case STOP_TIME:
        return "script stopped after running for 1 s without returning";
    case STOP_BUDGET:
        return m_Budget ? m_Budget->GetMessage().c_str() : "script stopped: its time is spent";
    case STOP_NONE:
        break;
    }
    return "";
}

template <class Label, class Body>
bool CScriptMgr::Protect(Label&& label, Body&& body)
{
    typedef typename std::remove_reference<Body>::type CBody;
    CProtectedBody<CBody> call{&body, &m_HostError};
    const int base = lua_gettop(m_State);
    const bool outermost = m_ProtectedDepth == 0;
    if (outermost)
        StartCall();

    int status = LUA_OK;
    CScriptBudget* const budget = outermost ? m_Budget.get() : nullptr;
    if (budget && budget->IsSpent()) {
        m_StopReason = STOP_BUDGET;
        status = LUA_ERRRUN;
    } else {
        if (budget)
            budget->BeginCall();
        ++m_ProtectedDepth;
        lua_pushcfunction(m_State, &AddTraceback);
        lua_pushcfunction(m_State, &CProtectedBody<CBody>::Run);
        lua_pushlightuserdata(m_State, &call);
        status = lua_pcall(m_State, 1, 0, base + 1);
        --m_ProtectedDepth;
        if (budget)
            budget->EndCall(CClock::now() - m_CallStart);
    }
    if (status == LUA_OK) {
        lua_settop(m_State, base);
        return true;
    }

    // Lua's message (a string, unless the call never ran) ends in the stack's traceback.
    std::string message;
    if (lua_gettop(m_State) > base && lua_type(m_State, -1) == LUA_TSTRING)
        message = lua_tostring(m_State, -1);
    lua_settop(m_State, base);
    const std::size_t traceback = message.find(kTraceback);
    if (m_StopReason != STOP_NONE)
        m_Reason = StopText(m_StopReason);
    else if (status == LUA_ERRMEM || (status == LUA_ERRERR && m_MemoryRefused))
        m_Reason = "script stopped: it needs more than " + std::to_string(m_MemoryLimit >> 20) + " MB of memory";
    else
        m_Reason = message.substr(0, traceback);
    LogError(label() + ": " + m_Reason + (traceback == std::string::npos ? std::string() : message.substr(traceback)));
    return false;
}

void CScriptMgr::CloseToUserScripts()
{
    const bool closed = Protect([] { return std::string("Sandbox"); }, [](lua_State* state) {
        // One metatable serves every bound type, another all their values.
        lua_rawgeti(state, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
        lua_pushliteral(state, "CVector");
        lua_rawget(state, -2);
        lua_getmetatable(state, -1);
        GuardNewIndex(state);
        lua_pop(state, 2);
        PushVector(state, CVector::ZERO);
        lua_getmetatable(state, -1);
        GuardNewIndex(state);
        lua_pop(state, 2);

        lua_pushliteral(state, "string");
        lua_rawget(state, -2);
        lua_pushliteral(state, "rep");
        lua_pushliteral(state, "rep");
        lua_rawget(state, -3);
        lua_pushcclosure(state, &CappedRep, 1);
        lua_rawset(state, -3);
        lua_pop(state, 2);
    });
    if (!closed)
        throw CException("Could not set up the sandbox of user scripts: " + m_Reason);
    RunScript(kSandbox);
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
    // The whole text, and only as source: a precompiled chunk is not checked
    // by Lua and could corrupt the program.
    const bool ran = Protect([] { return std::string("Script error"); }, [&text](lua_State* state) {
        if (luaL_loadbufferx(state, text.data(), text.size(), text.c_str(), "t") != LUA_OK)
            lua_error(state);
        lua_call(state, 0, 0);
    });
    if (!ran)
        throw CScriptException("Could not RunScript: " + text, m_Reason);
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

void CScriptMgr::SetGlobals(std::initializer_list<CGlobal> globals)
{
    const bool set = Protect([] { return std::string("Script error setting globals"); },
                             [globals](lua_State* state) { SetRawGlobals(state, globals); });
    if (!set)
        throw CScriptException(m_Reason, m_Reason);
}

void CScriptMgr::SetGlobalVector(const std::string& name, const CVector& value)
{
    SetGlobals({CGlobal(name.c_str(), value)});
}

void CScriptMgr::SetGlobalFloat(const std::string& name, float value)
{
    SetGlobals({CGlobal(name.c_str(), value)});
}

std::string CScriptMgr::GetGlobalString(const std::string& name)
{
    std::string value;
    bool isText = false;
    const bool read = Protect([&name] { return "Script error reading " + name; }, [&](lua_State* state) {
        PushRawGlobal(state, name);
        isText = lua_type(state, -1) == LUA_TSTRING;
        if (isText) {
            std::size_t length = 0;
            const char* text = lua_tolstring(state, -1, &length);
            value.assign(text, length);
        }
    });
    if (!read)
        throw CScriptException(m_Reason, m_Reason);
    if (!isText)
        throw CException("Lua global '" + name + "' is not a text");
    return value;
}

float CScriptMgr::GetGlobalFloat(const std::string& name)
{
    float value = 0.0f;
    bool isNumber = false;
    const bool read = Protect([&name] { return "Script error reading " + name; }, [&](lua_State* state) {
        PushRawGlobal(state, name);
        isNumber = lua_type(state, -1) == LUA_TNUMBER;
        if (isNumber)
            value = static_cast<float>(lua_tonumber(state, -1));
    });
    if (!read)
        throw CScriptException(m_Reason, m_Reason);
    if (!isNumber)
        throw CException("Lua global '" + name + "' is not a number");
    return value;
}

bool CScriptMgr::HasFunction(const std::string& name)
{
    bool found = false;
    const bool read = Protect([&name] { return "Script error reading " + name; }, [&](lua_State* state) {
        PushRawGlobal(state, name);
        found = lua_type(state, -1) == LUA_TFUNCTION;
    });
    if (!read)
        throw CScriptException(m_Reason, m_Reason);
    return found;
}

void CScriptMgr::CallFunction(const std::string& name, std::initializer_list<CGlobal> globals)
{
    const bool called = Protect([&name] { return "Script error in " + name + "()"; }, [&](lua_State* state) {
        SetRawGlobals(state, globals);
        PushFunction(state, name);
        lua_call(state, 0, 0);
    });
    if (!called)
        throw CScriptException(m_Reason, m_Reason);
}

CVector CScriptMgr::CallVectorFunction(const std::string& name, std::initializer_list<CGlobal> globals)
{
    CVector result;
    const bool called = Protect([&name] { return "Script error in " + name + "()"; }, [&](lua_State* state) {
        SetRawGlobals(state, globals);
        PushFunction(state, name);
        lua_call(state, 0, 1);
        if (!ToVector(state, -1, result))
            luaL_error(state, "%s() gave a %s, not a CVector", name.c_str(), luaL_typename(state, -1));
    });
    if (!called)
        throw CScriptException(m_Reason, m_Reason);
    return result;
}

} // namespace sds
