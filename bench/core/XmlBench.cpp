// The XML reader against a bare SAX2 pass over the same bytes (a do-nothing
// handler, namespaces off as in the reader), for configuration-like documents
// of 10 KB to 10 MB and a recording of 200,000 sibling elements; then the
// writer on the 1 MB tree. A read counts until its tree is freed again.
//
// Each figure is the median of nine runs of processor time; a run repeats the
// work until it has taken at least 20 ms, so small documents are timed over
// many reads. Reader and SAX2 runs take turns, so that a busy machine weighs
// on both alike.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <malloc.h>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include "core/Node.h"
#include "core/XmlFile.h"

namespace {

constexpr int kRuns = 9;
constexpr double kMinRunMs = 20.0;

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

// The parent's value collects the white space between the siblings in as many pieces.
std::string MakeRecording(int events)
{
    std::string document = "<Events>";
    for (int i = 0; i < events; ++i)
        document += "\n\t<Event Time=\"" + std::to_string(i) + "\" />";
    document += "\n</Events>\n";
    return document;
}

// The thread's processor time: the machine is shared, and waiting for a core
// would count against whichever side happened to wait.
double NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return 1e3 * static_cast<double>(now.tv_sec) + 1e-6 * static_cast<double>(now.tv_nsec);
}

// Milliseconds per call of one run.
double TimeRun(const std::function<void()>& work)
{
    const double start = NowMs();
    int calls = 0;
    double elapsed = 0.0;
    do {
        work();
        ++calls;
        elapsed = NowMs() - start;
    } while (elapsed < kMinRunMs);
    return elapsed / calls;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void ReadWithTheReader(const std::string& document)
{
    xml::CNodePtr root = xml::LoadXmlFromMemory(document, "bench.xml");
    if (!root)
        std::abort();
}

void ReadWithBareSax2(const std::string& document)
{
    xercesc::DefaultHandler handler;
    std::unique_ptr<xercesc::SAX2XMLReader> reader(xercesc::XMLReaderFactory::createXMLReader());
    reader->setFeature(xercesc::XMLUni::fgSAX2CoreNameSpaces, false);
    reader->setContentHandler(&handler);
    reader->setErrorHandler(&handler);
    xercesc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(document.data()), document.size(),
                                      "bench.xml", false);
    reader->parse(source);
}

struct CInput
{
    const char* m_Name;
    std::string m_Document;
    double m_ReaderMs = 0.0;
    double m_SaxMs = 0.0;
};

} // namespace

int main()
{
    // The heap keeps what a run frees for the next one, as in a program that
    // has been running a while. A fresh page costs some 35 us on this virtual
    // machine, a hundred times a usual one: memory given back and taken again
    // between runs would measure the machine rather than the reader.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    xml::MessageHandler = [](const std::string&) {};

    std::vector<CInput> inputs;
    inputs.push_back({"10k", MakeDocument(10 << 10)});
    inputs.push_back({"100k", MakeDocument(100 << 10)});
    inputs.push_back({"1m", MakeDocument(1 << 20)});
    inputs.push_back({"10m", MakeDocument(10 << 20)});
    inputs.push_back({"recording", MakeRecording(200000)});

    for (CInput& input : inputs) {
        std::vector<double> reader, sax;
        for (int run = 0; run < kRuns; ++run) {
            reader.push_back(TimeRun([&] { ReadWithTheReader(input.m_Document); }));
            // The bare pass keeps the library initialised only for itself, so
            // the reader pays whatever its own initialisation costs.
            xercesc::XMLPlatformUtils::Initialize();
            sax.push_back(TimeRun([&] { ReadWithBareSax2(input.m_Document); }));
            xercesc::XMLPlatformUtils::Terminate();
        }
        input.m_ReaderMs = Median(reader);
        input.m_SaxMs = Median(sax);
    }

    const xml::CNodePtr tree = xml::LoadXmlFromMemory(inputs[2].m_Document, "bench.xml")->GetChild("sds");
    std::vector<double> write;
    std::size_t written = 0;
    for (int run = 0; run < kRuns; ++run) {
        write.push_back(TimeRun([&] {
            std::ostringstream out;
            xml::WriteNode(out, *tree, "");
            written = out.str().size();
        }));
    }
    const double writeMs = Median(write);

    std::printf("%-10s %10s %12s %12s %7s\n", "input", "bytes", "reader ms", "SAX2 ms", "ratio");
    for (const CInput& input : inputs)
        std::printf("%-10s %10zu %12.3f %12.3f %7.2f\n", input.m_Name, input.m_Document.size(), input.m_ReaderMs,
                    input.m_SaxMs, input.m_ReaderMs / input.m_SaxMs);
    std::printf("write of the 1 MB tree: %zu bytes in %.2f ms\n", written, writeMs);
    for (const CInput& input : inputs)
        std::printf("xml_ratio_%s=%.2f\n", input.m_Name, input.m_ReaderMs / input.m_SaxMs);
    std::printf("xml_write_1m_ms=%.2f\n", writeMs);
    return 0;
}
