// Loading the main configuration from the copy carried inside the program:
// inflating the stream and parsing it.
#include <benchmark/benchmark.h>

#include "core/ResourceMgr.h"

namespace {

void BM_LoadEmbeddedConf(benchmark::State& state)
{
    xml::MessageHandler = [](const std::string&) {};
    sds::CResourceMgr resources;
    for (auto _ : state)
        benchmark::DoNotOptimize(resources.LoadDefaultXml("../conf/conf.xml"));
}
BENCHMARK(BM_LoadEmbeddedConf)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
