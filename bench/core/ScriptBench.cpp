// Cost of the Lua host: a plain loop, and a call from the program such as a
// scripted wind region makes per query, each with and without the instruction
// limit's hook; and a wind region's whole query in the sandbox of user texts.
#include <benchmark/benchmark.h>

extern "C" {
#include <lua.h>
}

#include <luabind/luabind.hpp>

#include "core/script/ScriptBudget.h"
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

// What a scripted wind region does per query, in the sandbox of user texts
// with a frame's budget: the three position globals set and the force asked
// for, in one protected call.
void BM_WindQuery(benchmark::State& state)
{
    sds::CScriptMgr script("dofile", sds::CScriptMgr::USER_SANDBOX);
    // A budget that the run does not use up: its cost is counted, not its stop.
    script.SetBudget(std::make_shared<sds::CScriptBudget>(std::chrono::hours(1)));
    Prepare(script, true);
    const sds::CVector pos(10.0f, 2.0f, -3.0f);
    for (auto _ : state)
        benchmark::DoNotOptimize(script.CallVectorFunction(
            "CalculateForce", {{"Pos", pos}, {"Velocity", sds::CVector::ZERO}, {"Acceleration", sds::CVector::ZERO}}));
}
BENCHMARK(BM_WindQuery);

} // namespace

BENCHMARK_MAIN();
