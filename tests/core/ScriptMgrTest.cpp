#include <gtest/gtest.h>

extern "C" {
#include <lua.h>
}

#include <chrono>
#include <fstream>
#include <thread>

#include <time.h>
#include <vector>

#include "core/script/ScriptBudget.h"
#include "core/script/ScriptMgr.h"
#include "core/services/IConsole.h"
#include "support/CapturingLogMgr.h"
#include "support/TempDir.h"

using sds::CScriptMgr;

namespace {

class CFakeConsole : public sds::IConsole
{
public:
    void Print(const std::string& text, bool refresh) override { m_Calls.push_back("Print " + text + (refresh ? " !" : "")); }
    void Clear() override {}
    void SetMaxLines(unsigned) override {}
    void SetFixedLines(unsigned) override {}
    std::string GetLine(unsigned) const override { return ""; }
    void SetFixedLine(unsigned index, const std::string& text, bool refresh) override
    {
        m_Calls.push_back("Line " + std::to_string(index) + " " + text + (refresh ? " !" : ""));
    }
    unsigned GetMaxLines() const override { return 0; }
    unsigned GetFixedLines() const override { return 0; }
    void Refresh() override {}

    std::vector<std::string> m_Calls;
};

std::string Message(const std::exception& e)
{
    return e.what();
}

class ScriptMgrTest : public ::testing::Test
{
protected:
    // The text of tostring(expression), evaluated in the script state.
    std::string Eval(const std::string& expression)
    {
        m_Script.RunScript("result_ = tostring(" + expression + ")");
        lua_State* state = m_Script.GetState();
        lua_getglobal(state, "result_");
        const std::string text = lua_tostring(state, -1) ? lua_tostring(state, -1) : "<nil>";
        lua_pop(state, 1);
        return text;
    }

    std::string RunFailure(const std::string& text)
    {
        try {
            m_Script.RunScript(text);
        } catch (const std::exception& e) {
            return Message(e);
        }
        return "no failure";
    }

    // Calls a global function the way owners do: a protected call from the program.
    int Call(const std::string& function)
    {
        lua_State* state = m_Script.GetState();
        lua_getglobal(state, function.c_str());
        const int result = lua_pcall(state, 0, 0, 0);
        if (result != LUA_OK) {
            m_LastError = lua_tostring(state, -1);
            lua_pop(state, 1);
        }
        return result;
    }

    CCapturingLogMgr m_Log;
    CScriptMgr m_Script{"dofile"};
    std::string m_LastError;
};

} // namespace

TEST_F(ScriptMgrTest, BoundTypes)
{
    const std::pair<const char*, const char*> cases[] = {
        {"CVector(1,2,3) * 2", "2,4,6"},
        {"CVector(1,2,3) + CVector(1,1,1)", "2,3,4"},
        {"CVector(1,2,3) - CVector(1,1,1)", "0,1,2"},
        {"CVector(2,4,6) / 2", "1,2,3"},
        {"CVector(2,4,6) / CVector(2,2,3)", "1,2,2"},
        {"CVector(1,2,3) * CVector(2,2,2)", "2,4,6"},
        {"-CVector(1,2,3)", "-1,-2,-3"},
        {"CVector(1,2,3) == CVector(1,2,3)", "true"},
        {"CVector(1,2,3) == CVector(1,2,4)", "false"},
        {"CVector(3,4,0):length()", "5"},
        {"CVector(1,0,0):cross(CVector(0,1,0))", "0,0,1"},
        {"CVector(1,2,3).y", "2"},
        {"CVector.UNIT_X", "1,0,0"},
        {"CVector.NEGATIVE_UNIT_Z", "0,0,-1"},
        {"CVector.UNIT_SCALE", "1,1,1"},
        {"CVector.ZERO:is_zero()", "true"},
        {"CVector(0,0,1e-30):is_zero()", "false"},
        {"CVector.MAX_POSITIVE.x > 1e38 and CVector.MAX_NEGATIVE.x < -1e38", "true"},
        {"CQuaternion.IDENTITY", "1,0,0,0"},
        {"CQuaternion.ZERO", "0,0,0,0"},
        {"CQuaternion(1,2,3,4) + CQuaternion(1,1,1,1)", "2,3,4,5"},
        {"CQuaternion(1,2,3,4) * 2", "2,4,6,8"},
        {"CQuaternion(1,0,0,0) * CQuaternion(0,1,0,0)", "0,1,0,0"},
        {"CQuaternion(0,0,1,0) * CVector(1,0,0)", "-1,0,0"},
        {"CQuaternion(2,0,0,0):norm()", "4"},
        {"CQuaternion(2,0,0,0):normalize()", "4"},
        {"CQuaternion.IDENTITY:getYaw() == 0", "true"},
        {"CQuaternion.IDENTITY:getRoll() == 0 and CQuaternion.IDENTITY:getPitch() == 0", "true"},
        {"CQuaternion(1,2,3,4) == CQuaternion(1,2,3,4)", "true"},
        {"CTiming().m_Global + CTiming().m_Elapsed", "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, Eval(c.first)) << c.first;

    // A quaternion a little off unit length would give asin(1.28): no NaN.
    EXPECT_EQ("true", Eval("math.abs(CQuaternion(0.8, 0, 0.8, 0):getYaw() - 90) < 1e-3"));
    m_Script.SetGlobalVector("Pos", sds::CVector(1.5f, 2.0f, -3.0f));
    EXPECT_EQ("1.5,2,-3", Eval("Pos"));
}

TEST_F(ScriptMgrTest, OnlyTheSharedLibrariesAreOpen)
{
    for (const char* library : {"string", "table", "math", "debug", "coroutine"})
        EXPECT_EQ("table", Eval(std::string("type(") + library + ")")) << library;
    for (const char* library : {"io", "os", "package", "require"})
        EXPECT_EQ("nil", Eval(std::string(library))) << library;
}

TEST_F(ScriptMgrTest, FailuresNameTheScriptAndLogLuasMessage)
{
    EXPECT_EQ("Could not RunScript: x =", RunFailure("x ="));
    ASSERT_EQ(1u, m_Log.m_Lines.size());
    EXPECT_EQ(0u, m_Log.m_Lines[0].find("Error: Script error: ")) << m_Log.m_Lines[0];
    EXPECT_NE(std::string::npos, m_Log.m_Lines[0].find("<eof>")) << m_Log.m_Lines[0];

    // The whole text is compiled, not a prefix up to a zero byte; bytecode is refused.
    const std::string afterZero("ok = 1\0 not lua", 15);
    EXPECT_EQ("Could not RunScript: ok = 1", RunFailure(afterZero)); // what() ends at the zero
    EXPECT_EQ("nil", Eval("ok"));
    const std::string bytecode = "\x1bLua\x52\x00\x01\x04\x08\x04\x08\x00";
    EXPECT_EQ("Could not RunScript: " + bytecode, RunFailure(bytecode));
    EXPECT_TRUE(m_Log.HasContaining("binary chunk"));

    EXPECT_EQ("Could not RunScript: error('boom')", RunFailure("error('boom')"));
    EXPECT_TRUE(m_Log.HasContaining("boom"));
    // The messages were popped.
    EXPECT_EQ(0, lua_gettop(m_Script.GetState()));
    EXPECT_EQ("2", Eval("1 + 1"));
}

TEST_F(ScriptMgrTest, EndlessScriptsStopWithAnError)
{
    const char* endless[] = {
        "while true do end",
        "local function f() return f() end f()",
        // Catching the error does not keep the loop alive.
        "while true do pcall(function() while true do end end) end",
        "while true do coroutine.wrap(function() for i = 1, 10 do end end)() end",
        "local t = {} while true do t[#t + 1] = CVector(1, 2, 3) * 2 end",
    };
    for (const char* script : endless) {
        m_Log.m_Lines.clear();
        EXPECT_EQ(std::string("Could not RunScript: ") + script, RunFailure(script));
        EXPECT_TRUE(m_Log.HasContaining("script stopped after 10 million instructions")) << script;
        // The state is usable again at once.
        EXPECT_EQ("3", Eval("1 + 2")) << script;
    }
}

TEST_F(ScriptMgrTest, InstructionBudgetIsPerCallFromTheProgram)
{
    // Six million instructions: more than half of the budget.
    m_Script.RunScript("function long() for i = 1, 6000000 do end end\n"
                       "function endless() while true do end end");
    EXPECT_EQ(LUA_OK, Call("long"));
    EXPECT_EQ(LUA_OK, Call("long"));
    EXPECT_EQ(LUA_ERRRUN, Call("endless"));
    EXPECT_NE(std::string::npos, m_LastError.find("script stopped")) << m_LastError;
    EXPECT_EQ(LUA_OK, Call("long"));
}

TEST_F(ScriptMgrTest, LoadingMethods)
{
    CTempDir dir;
    // Quotes and backslashes in the name must not break the statement.
    const std::string file = dir.File("set \"a\" \\ b.lua");
    std::ofstream(file) << "loaded = (loaded or 0) + 1";

    m_Script.LoadScript(file);
    EXPECT_EQ("1", Eval("loaded"));

    CScriptMgr unknown("Dofile");
    EXPECT_EQ(CScriptMgr::LM_DOFILE, unknown.GetLoadingMethod());
    unknown.LoadScript(file);

    CScriptMgr load("load");
    EXPECT_EQ(CScriptMgr::LM_LOAD, load.GetLoadingMethod());
    load.LoadScript(file);
    EXPECT_THROW(load.LoadScript(""), std::runtime_error);
    m_Log.m_Lines.clear();
    load.LoadScript(dir.File("missing.lua"));
    EXPECT_EQ((std::vector<std::string>{"Error: Could not load script file for free camera: " + dir.File("missing.lua")}),
              m_Log.m_Lines);

    CScriptMgr require("require");
    try {
        require.LoadScript("camera.lua");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_EQ("Could not RunScript: require(\"camera.lua\");\n", std::string(e.what()));
    }
    try {
        m_Script.LoadScript(dir.File("missing.lua"));
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_EQ("Could not RunScript: dofile(\"" + dir.File("missing.lua") + "\");\n", std::string(e.what()));
    }
}

TEST_F(ScriptMgrTest, PrintingGoesToTheConsoleOrElseTheLog)
{
    m_Script.RunScript("Print('hello') PrintLine(2, 'status')");
    EXPECT_EQ((std::vector<std::string>{"hello", "status"}), m_Log.m_Lines);

    CFakeConsole console;
    m_Script.RunScript("Print('hello') PrintLine(2, 'status')");
    EXPECT_EQ((std::vector<std::string>{"Print hello !", "Line 2 status !"}), console.m_Calls);
    // A negative line would be a huge one to the console.
    m_Script.RunScript("PrintLine(-1, 'x')");
    EXPECT_EQ(2u, console.m_Calls.size());
    EXPECT_TRUE(m_Log.HasContaining("Error: PrintLine: no console line -1"));

    ::testing::internal::CaptureStdout();
    m_Script.RunScript("print('a') print('b', 1)");
    EXPECT_EQ("ab\t1", ::testing::internal::GetCapturedStdout());
}

TEST_F(ScriptMgrTest, UserTextsRunInASandbox)
{
    CScriptMgr user("dofile", CScriptMgr::USER_SANDBOX);
    const auto eval = [&user](const std::string& expression) {
        user.RunScript("result_ = tostring(" + expression + ")");
        lua_getglobal(user.GetState(), "result_");
        const std::string text = lua_tostring(user.GetState(), -1);
        lua_pop(user.GetState(), 1);
        return text;
    };
    for (const char* library : {"string", "table", "math"})
        EXPECT_EQ("table", eval(std::string("type(") + library + ")")) << library;
    for (const char* name : {"io", "os", "debug", "coroutine", "package", "require", "dofile", "loadfile", "loadstring"})
        EXPECT_EQ("nil", eval(name)) << name;
    EXPECT_EQ("5,7,9", eval("CVector(1,2,3) + CVector(4,5,6)"));
    EXPECT_EQ("3", eval("math.floor(3.7)"));

    // Source text loads, with or without an environment; precompiled chunks do not.
    EXPECT_EQ("42", eval("load('return 40 + 2')()"));
    EXPECT_EQ("7", eval("load('return x', 'chunk', 'b', {x = 7})()"));
    EXPECT_EQ("nil", eval("load(string.dump(function() return 1 end))"));

    for (const char* escape : {"io.open('/etc/passwd')", "os.exit(1)", "dofile('x.lua')", "require('os')"}) {
        try {
            user.RunScript(escape);
            ADD_FAILURE() << escape;
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string("Could not RunScript: ") + escape, std::string(e.what()));
        }
    }
    // The instruction limit holds in the sandbox too.
    user.RunScript("function Endless() while true do end end");
    EXPECT_THROW(user.CallFunction("Endless"), std::exception);
    EXPECT_TRUE(m_Log.HasContaining("script stopped after 10 million instructions"));

    // What the sandbox takes away is only what could crash, freeze or exhaust
    // the program: ordinary uses of the same functions still work.
    const std::pair<const char*, const char*> uses[] = {
        {"setmetatable({}, {__index = function(t, k) return k .. '!' end}).hello", "hello!"},
        {"getmetatable(setmetatable({}, {__metatable = 'mine'}))", "mine"},
        {"collectgarbage('count') > 0 and collectgarbage() == 0", "true"},
        {"#string.rep('ab', 10, ',') .. ' ' .. #string.rep('x', 1048576)", "29 1048576"},
        {"string.format('%5.1f|%s', 3.14159, ('abc'):upper())", "  3.1|ABC"},
        {"(function() local v = CVector(1, 2, 3) v.x = 5 v.label = 'kept' return v.x .. v.label end)()", "5kept"},
        {"(function() CVector.Twice = function(v) return v * 2 end return CVector(1, 2, 3):Twice() end)()", "2,4,6"},
    };
    for (const auto& use : uses)
        EXPECT_EQ(use.second, eval(use.first)) << use.first;
}

TEST_F(ScriptMgrTest, CalledFunctionsFailWithTheScriptsReason)
{
    m_Script.RunScript("function Half() half = x / 2 end function Broken() local t = nil return t.x end\n"
                       "function Number() error(42) end function Table() error({}) end");
    m_Script.SetGlobalFloat("x", 5.0f);
    m_Script.CallFunction("Half");
    EXPECT_EQ("2.5", Eval("half"));

    const std::pair<const char*, const char*> failures[] = {
        {"Broken", ":1: attempt to index local 't' (a nil value)"},
        {"Missing", "the script has no function Missing()"},
        {"Number", "42"},
        {"Table", "(error object is not a string)"},
    };
    for (const auto& failure : failures) {
        m_Log.m_Lines.clear();
        try {
            m_Script.CallFunction(failure.first);
            ADD_FAILURE() << failure.first;
        } catch (const sds::CScriptException& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find(failure.second)) << e.what();
            EXPECT_EQ(std::string(e.what()), e.GetReason());
        }
        EXPECT_TRUE(m_Log.HasContaining(std::string("Error: Script error in ") + failure.first + "(): "))
            << failure.first;
        EXPECT_EQ(0, lua_gettop(m_Script.GetState()));
    }

    // A vector function must give a vector.
    m_Script.RunScript("function Force() return CVector(1, 2, 3) * x end function Five() return 5 end");
    EXPECT_EQ(sds::CVector(5, 10, 15), m_Script.CallVectorFunction("Force"));
    EXPECT_EQ(sds::CVector(2, 4, 6), m_Script.CallVectorFunction("Force", {{"x", 2.0f}}));
    try {
        m_Script.CallVectorFunction("Five");
        ADD_FAILURE();
    } catch (const sds::CScriptException& e) {
        EXPECT_EQ("Five() gave a number, not a CVector", e.GetReason());
    }
}

// The program sets and reads globals raw, each call protected: a table of
// globals whose metamethods fail, as a program script may make it, neither
// aborts the program nor gets in the way.
TEST_F(ScriptMgrTest, TheProgramsCallsPassAHostileTableOfGlobals)
{
    m_Script.RunScript("function Force() return Pos * Scale end Name = 'kept'\n"
                       "setmetatable(_G, {__newindex = function() error('set') end,\n"
                       "                  __index = function() error('get') end})");
    m_Script.SetGlobalVector("Pos", sds::CVector(1, 2, 3));
    m_Script.SetGlobalFloat("Scale", 2.0f);
    EXPECT_EQ(sds::CVector(2, 4, 6), m_Script.CallVectorFunction("Force"));
    EXPECT_EQ(sds::CVector(3, 6, 9), m_Script.CallVectorFunction("Force", {{"Scale", 3.0f}}));
    EXPECT_EQ("kept", m_Script.GetGlobalString("Name"));
    EXPECT_EQ(3.0f, m_Script.GetGlobalFloat("Scale"));
    EXPECT_TRUE(m_Script.HasFunction("Force"));
    EXPECT_FALSE(m_Script.HasFunction("Update"));
    EXPECT_THROW(m_Script.CallFunction("Update"), sds::CScriptException);
    EXPECT_THROW(m_Script.GetGlobalString("Missing"), sds::CException);
    // The script's own reads still go through its metamethods.
    EXPECT_THROW(m_Script.RunScript("local x = Missing"), sds::CScriptException);
    EXPECT_TRUE(m_Log.HasContaining(": get"));
}

// A user state holds no more than its limit; the host's calls into a full
// state fail with the reason, and the state closes.
TEST_F(ScriptMgrTest, AUserStateHasAMemoryLimit)
{
    {
        CScriptMgr user("dofile", CScriptMgr::USER_SANDBOX);
        try {
            user.RunScript("local t = {} for i = 1, 1e7 do t[i] = ('x'):rep(1000) .. i end");
            ADD_FAILURE();
        } catch (const sds::CScriptException& e) {
            EXPECT_EQ("script stopped: it needs more than 16 MB of memory", e.GetReason());
        }
        EXPECT_LE(user.GetMemoryInUse(), CScriptMgr::kUserMemoryLimit);
        // What the script held is free again.
        user.RunScript("collectgarbage() x = collectgarbage('count')");
        EXPECT_LT(user.GetGlobalFloat("x"), 1024.0f);

        // Held to the last bytes, the program's globals fill what is left:
        // the call that no longer fits fails, and so does a script.
        user.RunScript("function Fill() pcall(function() while true do head = {next = head} end end) end");
        user.CallFunction("Fill");
        EXPECT_GT(user.GetMemoryInUse(), CScriptMgr::kUserMemoryLimit - 1024);
        std::string reason;
        for (int i = 0; i < 1000 && reason.empty(); ++i) {
            try {
                user.SetGlobalVector("Name" + std::to_string(i), sds::CVector(1, 2, 3));
            } catch (const sds::CScriptException& e) {
                reason = e.GetReason();
            }
        }
        EXPECT_EQ("script stopped: it needs more than 16 MB of memory", reason);
        EXPECT_THROW(user.RunScript("y = 1"), sds::CScriptException);
    }
    // Program states have no limit.
    m_Script.RunScript("local t = {} for i = 1, 20 do t[i] = ('x'):rep(1048576) .. i end");
    EXPECT_GT(m_Script.GetMemoryInUse(), CScriptMgr::kUserMemoryLimit);
}

// Work inside library functions, which no instruction counts, is bounded by time.
TEST_F(ScriptMgrTest, ACallStopsAfterItsTimeLimit)
{
    CScriptMgr user("dofile", CScriptMgr::USER_SANDBOX);
    const auto start = std::chrono::steady_clock::now();
    try {
        user.RunScript("for i = 1, 1e6 do local s = string.rep('x', 1e6) end");
        ADD_FAILURE();
    } catch (const sds::CScriptException& e) {
        EXPECT_EQ("script stopped after running for 1 s without returning", e.GetReason());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// A budget is shared by the calls from one start to the next: a call that
// overruns it is stopped, and once it is spent a call fails without running.
TEST_F(ScriptMgrTest, ABudgetStopsTheCallsThatOverrunIt)
{
    auto budget = std::make_shared<sds::CScriptBudget>(std::chrono::milliseconds(5));
    CScriptMgr user("dofile", CScriptMgr::USER_SANDBOX);
    user.SetBudget(budget);
    user.RunScript("calls = 0 function Count() calls = calls + 1 end function Endless() while true do end end");
    user.CallFunction("Count");
    try {
        user.CallFunction("Endless");
        ADD_FAILURE();
    } catch (const sds::CScriptException& e) {
        EXPECT_EQ("script stopped: it ran for more than 5 ms in one frame, the most a scene's script may take",
                  e.GetReason());
    }
    EXPECT_THROW(user.CallFunction("Count"), sds::CScriptException);
    budget->Start();
    user.CallFunction("Count");
    EXPECT_EQ(2.0f, user.GetGlobalFloat("calls"));
}

// Time in which the thread did not run is not held against the scripts:
// once the wall clock says the budget is spent, the calls go on until they
// have spent it in processor time too.
TEST(ScriptBudget, CountsOnlyTimeTheThreadRan)
{
    const auto processor = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    };
    sds::CScriptBudget budget(std::chrono::milliseconds(20));
    budget.BeginCall();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(budget.IsSpent(std::chrono::milliseconds(30)));
    budget.EndCall(std::chrono::milliseconds(30));
    EXPECT_FALSE(budget.IsSpent());

    budget.BeginCall();
    const auto start = processor();
    while (processor() - start < std::chrono::milliseconds(25)) {
    }
    EXPECT_TRUE(budget.IsSpent(std::chrono::milliseconds(25)));
    budget.EndCall(std::chrono::milliseconds(25));
    EXPECT_TRUE(budget.IsSpent());

    budget.Start();
    EXPECT_FALSE(budget.IsSpent());
}
