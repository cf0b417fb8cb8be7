#pragma once

#include <cstdint>
#include <string>

#include <boost/noncopyable.hpp>

#include "core/Vector.h"

struct lua_State;
struct lua_Debug;

namespace sds {

// One Lua state with the program's types bound into it: CVector, CQuaternion,
// CTiming, and the printing functions Print, PrintLine and print. Each user of
// scripts (camera controller, wind region, judge) owns its own instance and
// calls script functions through luabind on GetState().
//
// A script, or a function of it that the program calls, that runs more than
// kInstructionLimit Lua instructions without returning (a function call counts
// as 100) is stopped with an ordinary Lua error, so an endless loop cannot
// freeze the program.
//
// Texts the user writes (force functions, scoring rules) run in a sandbox: the
// base library without "dofile", "loadfile" and "require", and "load" only for
// source text; "math", "string" and "table"; no files, processes, coroutines or
// debug access.
class CScriptMgr : private boost::noncopyable
{
public:
    enum ELoadingMethod { LM_REQUIRE = 0, LM_DOFILE = 1, LM_LOAD = 2 };
    enum ELibraries { PROGRAM_LIBRARIES = 0, USER_SANDBOX = 1 };

    static constexpr std::uint64_t kInstructionLimit = 10000000;

    // "require", "dofile" or "load"; any other text gives "dofile" (the
    // package library, which "require" needs, is not opened).
    explicit CScriptMgr(const std::string& loadingMethod, ELibraries libraries = PROGRAM_LIBRARIES);
    virtual void RegisterBindings();
    virtual ~CScriptMgr();

    // Compiles and runs the text as one chunk of source (precompiled chunks are
    // refused). On failure logs Lua's message and throws sds::CException
    // "Could not RunScript: <text>".
    void RunScript(const std::string& text);
    // Runs a script file by the loading method. Under "load" a file that cannot
    // be opened is logged as an error and skipped.
    void LoadScript(const std::string& file);
    // Sets the Lua global `name` to a new CVector.
    void SetGlobalVector(const std::string& name, const CVector& value);
    void SetGlobalFloat(const std::string& name, float value);
    // The Lua global `name` as a text or as a number. A global that is absent
    // or of another type throws sds::CException "Lua global '<name>' is not a
    // text" (or "a number"): a number is no text here, nor a numeric text a number.
    std::string GetGlobalString(const std::string& name) const;
    float GetGlobalFloat(const std::string& name) const;
    // Calls the global function `name` without arguments and drops what it
    // returns. A Lua error (a missing function included) is logged with Lua's
    // message and rethrown as the binding's exception, whose text is "lua
    // runtime error".
    void CallFunction(const std::string& name);

    lua_State* GetState() const { return m_State; }
    ELoadingMethod GetLoadingMethod() const { return m_LoadingMethod; }

private:
    static void InstructionHook(lua_State* state, lua_Debug* record);
    static void* Allocate(void* owner, void* block, std::size_t oldSize, std::size_t newSize);

    lua_State* m_State;
    ELoadingMethod m_LoadingMethod;
    std::uint64_t m_InstructionCount;
    bool m_Stopping;
};

} // namespace sds
