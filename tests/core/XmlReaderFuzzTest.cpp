#include "support/FuzzCorpus.h"

#include "fuzz/core/XmlReaderFuzz.h"
#include "support/MessageCapture.h"

// The fuzz target's seeds, well-formed and malformed documents alike.
TEST(XmlReaderFuzz, SeedCorpusRunsThrough)
{
    CMessageCapture quiet;
    ExpectCorpusRunsThrough("fuzz/core/corpus/xml_reader", sds::fuzz::FuzzXmlReader);
}
