#include <gtest/gtest.h>

extern "C" {
#include <lua.h>
}

#include <fstream>
#include <vector>

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
}

TEST_F(ScriptMgrTest, CalledFunctionsFailWithTheBindingsText)
{
    m_Script.RunScript("function Half() half = x / 2 end function Broken() local t = nil return t.x end");
    m_Script.SetGlobalFloat("x", 5.0f);
    m_Script.CallFunction("Half");
    EXPECT_EQ("2.5", Eval("half"));

    for (const char* function : {"Broken", "Missing"}) {
        m_Log.m_Lines.clear();
        try {
            m_Script.CallFunction(function);
            ADD_FAILURE() << function;
        } catch (const std::exception& e) {
            EXPECT_EQ("lua runtime error", std::string(e.what()));
        }
        EXPECT_TRUE(m_Log.HasContaining(std::string("Error: Script error in ") + function + "(): ")) << function;
        EXPECT_EQ(0, lua_gettop(m_Script.GetState()));
    }
}
