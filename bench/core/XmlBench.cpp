// Parses and writes a configuration-like document of about 1 MB, and parses a
// long recording of sibling elements.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "core/Node.h"
#include "core/XmlFile.h"

namespace {

std::string MakeDocument(std::size_t targetBytes)
{
    std::ostringstream out;
    out << "<?xml version=\"1.0\" ?>\n<sds>\n";
    for (int i = 0; out.tellp() < static_cast<std::streamoff>(targetBytes); ++i) {
        out << "\t<Preset Name=\"Preset " << i << "\" Edition=\"Full\">\n"
            << "\t\t<Jumper Altitude=\"" << 1000 + i % 500 << "\" Distance=\"" << i % 300 << "\"\n"
            << "\t\t\tWindStrength=\"" << i % 12 << ".5\" WindDirection=\"0.7,0,0.7\" />\n"
            << "\t\t<Info>Jump number " << i << " &amp; a short note about the exit.</Info>\n"
            << "\t\t<Canopy Size=\"220\" Model=\"Navigator\" Weight=\"77.57\" />\n"
            << "\t</Preset>\n";
    }
    out << "</sds>\n";
    return out.str();
}

const std::string& Document()
{
    static const std::string document = MakeDocument(1 << 20);
    return document;
}

void Quiet()
{
    xml::MessageHandler = [](const std::string&) {};
}

void BM_ParseConfig1MB(benchmark::State& state)
{
    Quiet();
    for (auto _ : state) {
        xml::CNodePtr root = xml::LoadXmlFromMemory(Document(), "bench.xml");
        benchmark::DoNotOptimize(root);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Document().size()));
}
BENCHMARK(BM_ParseConfig1MB)->Unit(benchmark::kMillisecond);

void BM_WriteConfig1MB(benchmark::State& state)
{
    Quiet();
    const xml::CNodePtr root = xml::LoadXmlFromMemory(Document(), "bench.xml");
    const xml::CNodePtr document = root->GetChild("sds");
    for (auto _ : state) {
        std::ostringstream out;
        xml::WriteNode(out, *document, "");
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(BM_WriteConfig1MB)->Unit(benchmark::kMillisecond);

// A long recording: 200,000 sibling elements, so the parent's value collects
// the white space between them in as many pieces.
void BM_ParseRecording200k(benchmark::State& state)
{
    Quiet();
    std::string document = "<Events>";
    for (int i = 0; i < 200000; ++i)
        document += "\n\t<Event Time=\"" + std::to_string(i) + "\" />";
    document += "\n</Events>\n";
    for (auto _ : state) {
        xml::CNodePtr root = xml::LoadXmlFromMemory(document, "recording.xml");
        benchmark::DoNotOptimize(root);
    }
}
BENCHMARK(BM_ParseRecording200k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
