#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include <boost/noncopyable.hpp>

#include "core/Exception.h"
#include "core/Vector.h"

struct lua_State;
struct lua_Debug;

namespace sds {

class CScriptBudget;

// A script that failed or was stopped. what() is the text for the caller;
// GetReason() says what went wrong in the script (Lua's message without its
// stack trace, or why the script was stopped).
class CScriptException : public CException
{
public:
    CScriptException(const std::string& message, const std::string& reason) : CException(message), m_Reason(reason) {}
    const std::string& GetReason() const { return m_Reason; }

private:
    std::string m_Reason;
};

// One Lua state with the program's types bound into it: CVector, CQuaternion,
// CTiming, and the printing functions Print, PrintLine and print. Each user of
// scripts (camera controller, wind region, judge) owns its own instance.
//
// Every call of the program into the state is a protected call that reaches
// globals without their table's metamethods: no script, whatever it does to
// its state, makes the program abort. A script, or a function of it that the
// program calls, that runs more than kInstructionLimit Lua instructions (a
// function call counts as 100) or longer than kCallTimeLimit without
// returning, or beyond a budget given to it, is stopped with a Lua error, so
// an endless loop cannot freeze the program.
//
// Texts the user writes or brings in files (force functions, scoring rules)
// run in a sandbox: the base library without "dofile", "loadfile" and
// "require", "load" only for source text, and "collectgarbage" only to
// "collect" and "count"; "math", "string" and "table", less the pattern
// functions, whose backtracking has no bound, and with "string.rep" up to
// kUserStringLimit; no files, processes, coroutines or debug access; no
// finalizers, which Lua runs with no limit, even while the state closes: no
// "__gc" in a metatable, no classes of Lua ("class"), no "__"-names set on
// the bound types and their values (their finalizer calls "__finalize"); the
// table of globals keeps no metatable; and no more than kUserMemoryLimit of
// memory.
class CScriptMgr : private boost::noncopyable
{
public:
    enum ELoadingMethod { LM_REQUIRE = 0, LM_DOFILE = 1, LM_LOAD = 2 };
    enum ELibraries { PROGRAM_LIBRARIES = 0, USER_SANDBOX = 1 };

    static constexpr std::uint64_t kInstructionLimit = 10000000;
    static constexpr std::chrono::seconds kCallTimeLimit{1};
    static constexpr std::size_t kUserMemoryLimit = 16u << 20;
    static constexpr std::size_t kUserStringLimit = 1u << 20;

    // A global to set before a call: a number or a CVector.
    struct CGlobal
    {
        CGlobal(const char* name, float number) : m_Name(name), m_IsVector(false), m_Number(number) {}
        CGlobal(const char* name, const CVector& vector) : m_Name(name), m_IsVector(true), m_Vector(vector) {}

        const char* m_Name;
        bool m_IsVector;
        float m_Number = 0.0f;
        CVector m_Vector;
    };

    // "require", "dofile" or "load"; any other text gives "dofile" (the
    // package library, which "require" needs, is not opened).
    explicit CScriptMgr(const std::string& loadingMethod, ELibraries libraries = PROGRAM_LIBRARIES);
    virtual void RegisterBindings();
    virtual ~CScriptMgr();

    // Compiles and runs the text as one chunk of source (precompiled chunks are
    // refused). On failure logs Lua's message and throws CScriptException
    // "Could not RunScript: <text>".
    void RunScript(const std::string& text);
    // Runs a script file by the loading method. Under "load" a file that cannot
    // be opened is logged as an error and skipped.
    void LoadScript(const std::string& file);
    // Set globals, raw. Throw CScriptException when the state cannot take them
    // (its memory is spent).
    void SetGlobalVector(const std::string& name, const CVector& value);
    void SetGlobalFloat(const std::string& name, float value);
    void SetGlobals(std::initializer_list<CGlobal> globals);
    // The Lua global `name` as a text or as a number. A global that is absent
    // or of another type throws CException "Lua global '<name>' is not a
    // text" (or "a number"): a number is no text here, nor a numeric text a number.
    std::string GetGlobalString(const std::string& name);
    float GetGlobalFloat(const std::string& name);
    bool HasFunction(const std::string& name);
    // Sets the globals, then calls the global function `name` without
    // arguments and drops what it returns. A failure (a missing function
    // included) is logged with Lua's message and its stack and thrown as
    // CScriptException, whose text is the reason.
    void CallFunction(const std::string& name, std::initializer_list<CGlobal> globals = {});
    // The same for a function that must return a CVector.
    CVector CallVectorFunction(const std::string& name, std::initializer_list<CGlobal> globals = {});

    // From now on the calls of the program charge their time to the budget,
    // and a call is stopped once the budget is spent (one that starts then,
    // at once). Null: none.
    void SetBudget(std::shared_ptr<CScriptBudget> budget) { m_Budget = std::move(budget); }

    lua_State* GetState() const { return m_State; }
    ELoadingMethod GetLoadingMethod() const { return m_LoadingMethod; }
    // Bytes that the state holds.
    std::size_t GetMemoryInUse() const { return m_MemoryInUse; }

private:
    enum EStop { STOP_NONE, STOP_INSTRUCTIONS, STOP_TIME, STOP_BUDGET };

    static void InstructionHook(lua_State* state, lua_Debug* record);
    static void* Allocate(void* owner, void* block, std::size_t oldSize, std::size_t newSize);

    // Runs `body` (given the state) in a protected call from the program. On
    // failure logs label() + ": " and Lua's message and returns false, with
    // the reason in m_Reason.
    template <class Label, class Body>
    bool Protect(Label&& label, Body&& body);
    void StartCall();
    void Stop(lua_State* state, EStop reason);
    const char* StopText(EStop reason) const;
    EStop CheckTime();
    void CloseToUserScripts();

    ELoadingMethod m_LoadingMethod;
    std::size_t m_MemoryLimit;
    std::size_t m_MemoryInUse;
    bool m_MemoryRefused;
    std::uint64_t m_InstructionCount;
    unsigned m_CallEvents;
    bool m_Stopping;
    EStop m_StopReason;
    int m_ProtectedDepth;
    std::chrono::steady_clock::time_point m_CallStart;
    std::shared_ptr<CScriptBudget> m_Budget;
    // A C++ failure inside a protected call, and the reason of the last failure.
    std::string m_HostError;
    std::string m_Reason;
    lua_State* m_State;
};

} // namespace sds
