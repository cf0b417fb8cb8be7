#include "fuzz/core/XmlReaderFuzz.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>

#include "core/XmlException.h"
#include "core/XmlFile.h"
#include "fuzz/FuzzTarget.h"

namespace sds {
namespace fuzz {
namespace {

bool SameTree(const xml::CNode& written, const xml::CNode& read);

bool SameNodes(const xml::CNode::CNodeMap& written, const xml::CNode::CNodeMap& read)
{
    if (written.size() != read.size())
        return false;
    for (auto a = written.begin(), b = read.begin(); a != written.end(); ++a, ++b) {
        if (a->first != b->first || !SameTree(*a->second, *b->second))
            return false;
    }
    return true;
}

// The writer's layout adds line ends and tabs after the text of an element
// with children; everything else reads back exactly.
bool SameTree(const xml::CNode& written, const xml::CNode& read)
{
    if (written.GetName() != read.GetName())
        return false;
    const std::string value = written.GetValue();
    const std::string back = read.GetValue();
    if (written.GetChildren().empty()) {
        if (back != value)
            return false;
    } else if (back.compare(0, value.size(), value) != 0 ||
               back.find_first_not_of("\t\n", value.size()) != std::string::npos) {
        return false;
    }
    return SameNodes(written.GetAttributes(), read.GetAttributes()) &&
           SameNodes(written.GetChildren(), read.GetChildren());
}

const xml::CNode& DocumentElement(const xml::CNodePtr& file)
{
    Check(file && file->GetChildren().size() == 1);
    return *file->GetChildren().begin()->second;
}

} // namespace

int FuzzXmlReader(const std::uint8_t* data, std::size_t size)
{
    static const bool quiet = [] {
        xml::MessageHandler = [](const std::string&) {};
        xml::ErrorMessageHandler = [](const std::string&) {};
        return true;
    }();
    (void)quiet;

    const std::string text(reinterpret_cast<const char*>(data), size);
    xml::CNodePtr first;
    try {
        first = xml::LoadXmlFromMemory(text, "fuzz.xml");
    } catch (const std::runtime_error&) {
        return 0;
    }
    const xml::CNode& document = DocumentElement(first);

    std::ostringstream out;
    out << "<?xml version=\"1.0\" ?>\n";
    try {
        xml::WriteNode(out, document, "");
    } catch (const xml::CException&) {
        // What only an XML 1.1 document holds (control characters, names) is
        // refused rather than written into a file that would not load.
        return 0;
    }

    xml::CNodePtr second;
    try {
        second = xml::LoadXmlFromMemory(out.str(), "fuzz.xml");
    } catch (const std::runtime_error&) {
        Check(false);
    }
    Check(SameTree(document, DocumentElement(second)));
    return 0;
}

} // namespace fuzz
} // namespace sds

SDS_FUZZ_EXPORT(sds::fuzz::FuzzXmlReader)
