// Cost of the Lua host: a plain loop, and a call from the program such as a
// scripted wind region makes per query, each with and without the instruction
// limit's hook.
#include <benchmark/benchmark.h>

extern "C" {
#include <lua.h>
}

#include <luabind/luabind.hpp>

#include "core/script/ScriptMgr.h"

namespace {

void Prepare(sds::CScriptMgr& script, bool limited)
{
    script.RunScript("function Loop() local x = 0 for i = 1, 1000000 do x = x + i end return x end\n"
                     "function CalculateForce() return (Pos - FieldCenter) * 0.5 + CVector(0, 1, 0) end");
    script.SetGlobalVector("Pos", sds::CVector(10.0f, 2.0f, -3.0f));
    script.SetGlobalVector("FieldCenter", sds::CVector(0.0f, 0.0f, 0.0f));
    if (!limited)
        lua_sethook(script.GetState(), nullptr, 0, 0);
}

void BM_LuaLoopMillion(benchmark::State& state)
{
    sds::CScriptMgr script("dofile");
    Prepare(script, state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(luabind::call_function<double>(script.GetState(), "Loop"));
}
BENCHMARK(BM_LuaLoopMillion)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_CalculateForce(benchmark::State& state)
{
    sds::CScriptMgr script("dofile");
    Prepare(script, state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(luabind::call_function<sds::CVector>(script.GetState(), "CalculateForce"));
}
BENCHMARK(BM_CalculateForce)->Arg(1)->Arg(0);

// What a scripted wind region does per query, in the sandbox of user texts:
// the three position globals set, then the force asked for.
void BM_WindQuery(benchmark::State& state)
{
    sds::CScriptMgr script("dofile", sds::CScriptMgr::USER_SANDBOX);
    Prepare(script, true);
    const sds::CVector pos(10.0f, 2.0f, -3.0f);
    for (auto _ : state) {
        script.SetGlobalVector("Pos", pos);
        script.SetGlobalVector("Velocity", sds::CVector::ZERO);
        script.SetGlobalVector("Acceleration", sds::CVector::ZERO);
        benchmark::DoNotOptimize(luabind::call_function<sds::CVector>(script.GetState(), "CalculateForce"));
    }
}
BENCHMARK(BM_WindQuery);

} // namespace

BENCHMARK_MAIN();
