#pragma once

#include <string>
#include <vector>

// Lua that a user could type into a force function or bring in a scene or a
// contact table, to crash, freeze or exhaust the program, with words of the
// error that refuses or stops it. One table for the tests of the editor's
// check, of the wind regions a scene flies with, and of the force-field judge.
struct CHostileScript
{
    // Where a force function carries the code: in its chunk, in "Update" or in "CalculateForce".
    enum EPlace { AT_LOAD, IN_UPDATE, IN_FORCE };

    const char* m_What;
    const char* m_Code;
    EPlace m_Place;
    const char* m_Message;
    // Only a frame's budget stops it: run once, as a scoring rule is, it ends in time.
    bool m_TooLongForAFrameOnly;
};

inline const std::vector<CHostileScript>& HostileScripts()
{
    static const std::vector<CHostileScript> scripts = {
        // Crashes: errors where the program reads or sets globals.
        {"an erring __newindex on the globals", "setmetatable(_G, {__newindex = function() error('boom') end})",
         CHostileScript::AT_LOAD, "the table of globals keeps no metatable", false},
        {"an erring __index on the globals", "setmetatable(_G, {__index = function() error('boom') end})",
         CHostileScript::IN_FORCE, "the table of globals keeps no metatable", false},
        // Freezes: finalizers run with no limit, even while the state closes.
        {"an endless finalizer", "setmetatable({}, {__gc = function() while true do end end}) collectgarbage()",
         CHostileScript::AT_LOAD, "finalizers (__gc) are not allowed", false},
        {"an endless finalizer of a bound type", "CVector.__finalize = function() while true do end end",
         CHostileScript::IN_UPDATE, "'__finalize' cannot be set", false},
        {"an endless finalizer of a bound value",
         "local v = CVector(1, 2, 3) v.__finalize = function() while true do end end collectgarbage()",
         CHostileScript::IN_FORCE, "'__finalize' cannot be set", false},
        {"a class of Lua with an endless finalizer", "class 'Spin' function Spin:__finalize() while true do end end",
         CHostileScript::AT_LOAD, "attempt to call global 'class'", false},
        // Freezes inside library functions.
        {"a pattern that backtracks for minutes", "string.find(('a'):rep(16), ('a*'):rep(16) .. 'b')",
         CHostileScript::IN_FORCE, "string.find is not available", false},
        {"a pattern method", "local s = ('a'):rep(16) s:match(('a*'):rep(16) .. 'b')", CHostileScript::AT_LOAD,
         "string.match is not available", false},
        {"a text of 1.5 GB", "local s = string.rep('x', 1.5e9)", CHostileScript::IN_UPDATE,
         "string.rep: the text would be longer than", false},
        // Exhaustion.
        {"memory without end",
         "local t = {} local s = ('0123456789abcdef'):rep(65536) for i = 1, 1000 do t[i] = s .. i end",
         CHostileScript::IN_FORCE, "needs more than 16 MB of memory", false},
        {"the collector stopped", "collectgarbage('stop')", CHostileScript::AT_LOAD,
         "only \"collect\" and \"count\" are allowed", false},
        {"a loop too long for a frame", "for i = 1, 2000000 do end", CHostileScript::IN_FORCE, "in one frame", true},
        // Blocked before: endless loops and recursion, files, processes, debug
        // access, modules, coroutines and bytecode.
        {"an endless loop", "while true do end", CHostileScript::IN_UPDATE, "script stopped", false},
        {"an endless loop that catches its stop", "while true do pcall(function() while true do end end) end",
         CHostileScript::IN_FORCE, "script stopped", false},
        {"endless recursion", "local function f() return 1 + f() end f()", CHostileScript::AT_LOAD, "script stopped",
         false},
        {"files", "io.open('/etc/passwd')", CHostileScript::AT_LOAD, "attempt to index global 'io'", false},
        {"processes", "os.exit(1)", CHostileScript::IN_UPDATE, "attempt to index global 'os'", false},
        {"the debug library", "debug.sethook()", CHostileScript::IN_FORCE, "attempt to index global 'debug'", false},
        {"modules", "require('os')", CHostileScript::AT_LOAD, "attempt to call global 'require'", false},
        {"script files", "dofile('/etc/passwd')", CHostileScript::AT_LOAD, "attempt to call global 'dofile'", false},
        {"coroutines", "coroutine.wrap(function() end)()", CHostileScript::IN_FORCE,
         "attempt to index global 'coroutine'", false},
        {"bytecode", "assert(load(string.dump(function() end)))()", CHostileScript::AT_LOAD, "binary chunk", false},
    };
    return scripts;
}

// The script as a force function: its code where it goes, the rest harmless.
inline std::string HostileForceFunction(const CHostileScript& script)
{
    const std::string code = script.m_Code;
    const std::string update = "function Update() end\n";
    const std::string force = "function CalculateForce() return CVector(0, 0, 0) end\n";
    switch (script.m_Place) {
    case CHostileScript::AT_LOAD:
        return code + "\n" + update + force;
    case CHostileScript::IN_UPDATE:
        return "function Update() " + code + " end\n" + force;
    case CHostileScript::IN_FORCE:
        break;
    }
    return update + "function CalculateForce() " + code + " return CVector(0, 0, 0) end\n";
}
