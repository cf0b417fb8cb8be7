#include "core/XmlFile.h"

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <boost/filesystem/operations.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/MemoryManager.hpp>
#include <xercesc/parsers/SAXParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLChar.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/XMLException.hpp>

#include "core/NodeArena.h"
#include "core/SAXTestHandler.h"
#include "core/Utf8.h"

namespace xml {

namespace {

// The parser library, initialised by the first read and terminated when the
// process ends (initialising it costs more than parsing a small file). The
// static's construction is safe from any thread.
class CXercesLibrary
{
public:
    static const CXercesLibrary& Get()
    {
        static const CXercesLibrary library;
        return library;
    }

    ~CXercesLibrary()
    {
        if (m_Error.empty())
            xercesc::XMLPlatformUtils::Terminate();
    }

    // Empty when the library is ready.
    const std::string& GetError() const { return m_Error; }

private:
    CXercesLibrary()
    {
        try {
            xercesc::XMLPlatformUtils::Initialize();
        } catch (const xercesc::XMLException& e) {
            m_Error = "Error during initialization! Message: " + Transcode(e.getMessage());
        }
    }

    std::string m_Error;
};

// The parser's own memory, capped: an attribute value made of entities grows
// inside the parser before the handler sees it.
class CBoundedMemory : public xercesc::MemoryManager
{
public:
    explicit CBoundedMemory(std::size_t limit) : m_Limit(limit) {}

    // What the parser did not give back (it loses some on a broken DTD) goes
    // with the read.
    ~CBoundedMemory() override
    {
        while (m_Blocks.m_Next != &m_Blocks)
            deallocate(m_Blocks.m_Next + 1);
    }

    void SetOnExceeded(std::function<void()> onExceeded) { m_OnExceeded = std::move(onExceeded); }

    xercesc::MemoryManager* getExceptionMemoryManager() override { return xercesc::XMLPlatformUtils::fgMemoryManager; }

    void* allocate(XMLSize_t size) override
    {
        if (size > m_Limit - m_Used) {
            if (m_OnExceeded)
                m_OnExceeded();
            throw xercesc::OutOfMemoryException();
        }
        // Each block carries its size, for the count on release, and its place
        // in the list of blocks held.
        CBlock* const block = static_cast<CBlock*>(::operator new(size + sizeof(CBlock)));
        block->m_Size = size;
        block->m_Previous = &m_Blocks;
        block->m_Next = m_Blocks.m_Next;
        m_Blocks.m_Next->m_Previous = block;
        m_Blocks.m_Next = block;
        m_Used += size;
        return block + 1;
    }

    void deallocate(void* p) override
    {
        if (!p)
            return;
        CBlock* const block = static_cast<CBlock*>(p) - 1;
        block->m_Previous->m_Next = block->m_Next;
        block->m_Next->m_Previous = block->m_Previous;
        m_Used -= block->m_Size;
        ::operator delete(block);
    }

private:
    struct alignas(std::max_align_t) CBlock
    {
        CBlock* m_Previous;
        CBlock* m_Next;
        std::size_t m_Size;
    };

    std::size_t m_Limit;
    std::size_t m_Used = 0;
    CBlock m_Blocks{&m_Blocks, &m_Blocks, 0};
    std::function<void()> m_OnExceeded;
};

template <class ParseFn>
CNodePtr Parse(const std::string& sourceName, std::size_t sourceBytes, const std::string& namePrefix, ParseFn parse)
{
    const std::string& initError = CXercesLibrary::Get().GetError();
    if (!initError.empty()) {
        MessageHandler(initError);
        return CNodePtr();
    }

    CNodeArena::CScope arena;
    CNodePtr root(new CNode("XmlFile", sourceName, nullptr, false));
    root->AddAttribute("Name", sourceName);
    bool failed = false;
    std::string reason;
    {
        // Caps the expansion of entities (50,000 by default): a document that
        // defines entities of entities fails instead of growing without bound.
        // Twice the characters the handler accepts (the parser holds them as
        // UTF-16), and room for its buffers and the document's grammar.
        CBoundedMemory memory(2 * (sourceBytes + SAXTestHandler::kMaxExpansion) + (std::size_t(16) << 20));
        xercesc::SecurityManager security;
        xercesc::SAXParser parser(nullptr, &memory);
        parser.setSecurityManager(&security);
        parser.setDisableDefaultEntityResolution(true);
        parser.setValidationScheme(xercesc::SAXParser::Val_Auto);
        parser.setDoNamespaces(false);
        parser.setDoSchema(false);
        parser.setValidationSchemaFullChecking(false);

        SAXTestHandler handler(root, namePrefix, sourceBytes);
        parser.setDocumentHandler(&handler);
        parser.setErrorHandler(&handler);
        parser.setEntityResolver(&handler);
        memory.SetOnExceeded([&handler] {
            try {
                handler.StopForExpansion();
            } catch (const SAXTestHandler::CStop&) {
                // The parser unwinds on its own exception.
            }
        });

        try {
            const XMLSize_t start = xercesc::XMLPlatformUtils::getCurrentMillis();
            parse(parser);
            const XMLSize_t elapsed = xercesc::XMLPlatformUtils::getCurrentMillis() - start;
            if (!handler.HasErrors()) {
                MessageHandler(sourceName + ": " + std::to_string(elapsed) + " ms (" +
                               std::to_string(handler.GetElementCount()) + " elems," +
                               std::to_string(handler.GetAttributeCount()) + " attrs," +
                               std::to_string(handler.GetSpaceCount()) + " spaces," +
                               std::to_string(handler.GetCharacterCount()) + " chars)");
            }
        } catch (const SAXTestHandler::CStop&) {
            failed = true; // reported by the handler
        } catch (const xercesc::OutOfMemoryException&) {
            failed = true; // reported by the handler
        } catch (const xercesc::XMLException& e) {
            reason = Transcode(e.getMessage());
            ErrorMessageHandler("Error during parsing: '" + sourceName + "' Exception message is: " + reason);
            failed = true;
        } catch (...) {
            ErrorMessageHandler("Unexpected exception during parsing: '" + sourceName + "'");
            failed = true;
        }
        failed = failed || handler.HasErrors();
        if (!handler.GetFirstError().empty())
            reason = handler.GetFirstError();
    }
    if (failed)
        throw CLoadException("Could not load " + sourceName, reason.empty() ? "it is not readable XML" : reason);
    return root;
}

const std::vector<std::pair<std::string, char>>& NameTokens()
{
    // Byte-wise order of the tokens: the order they are replaced in.
    static const std::vector<std::pair<std::string, char>> tokens = {
        {"_amp_", '&'}, {"_aps_", '\''}, {"_bsl_", '\\'}, {"_cbl_", '}'},  {"_cbr_", '{'}, {"_cln_", ':'},
        {"_fsl_", '/'}, {"_grt_", '>'},  {"_nln_", '\n'}, {"_qmk_", '?'}, {"_qou_", '"'}, {"_ref_", '#'},
        {"_smc_", ';'}, {"_spc_", ' '},  {"_srt_", '<'},  {"_tab_", '\t'}};
    return tokens;
}

// What a byte of a value needs on its way into XML.
enum EByte : unsigned char {
    kPlain,
    kEntity,    // " & ' < >
    kBreak,     // tab and line feed: a character reference in attribute values
    kReturn,    // carriage return: a character reference everywhere
    kRefused,   // the other control characters: no XML 1.0 document holds them
    kMultiByte, // the lead of a UTF-8 sequence, checked as a whole
};

struct CByteTable
{
    EByte m_Kind[256];

    CByteTable()
    {
        for (int c = 0; c < 256; ++c)
            m_Kind[c] = c < 0x20 ? kRefused : c < 0x80 ? kPlain : kMultiByte;
        for (unsigned char c : {'"', '&', '\'', '<', '>'})
            m_Kind[c] = kEntity;
        m_Kind[static_cast<unsigned char>('\t')] = kBreak;
        m_Kind[static_cast<unsigned char>('\n')] = kBreak;
        m_Kind[static_cast<unsigned char>('\r')] = kReturn;
    }
};

const CByteTable& Bytes()
{
    static const CByteTable table;
    return table;
}

enum class EEscape {
    Entities,  // only the five markup characters, nothing checked
    Text,      // element text as the writer writes it
    Attribute, // attribute values as the writer writes them
};

const char* Entity(char c)
{
    switch (c) {
    case '"': return "&quot;";
    case '&': return "&amp;";
    case '\'': return "&apos;";
    case '<': return "&lt;";
    default: return "&gt;";
    }
}

std::string Hex(std::uint32_t c, int digits)
{
    std::string text;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        text += "0123456789ABCDEF"[(c >> shift) & 0xF];
    return text;
}

bool IsXmlChar(std::uint32_t c)
{
    return c != 0xFFFE && c != 0xFFFF;
}

// Appends `text` escaped in one pass, so an entity's own ampersand is never
// escaped again. In the writer's modes the text must be UTF-8 that an XML file
// can hold: the reason it cannot is returned, empty when all went in.
std::string AppendEscaped(std::string& out, const std::string& text, EEscape mode)
{
    const CByteTable& table = Bytes();
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
        const char* run = p;
        while (run != end && table.m_Kind[static_cast<unsigned char>(*run)] == kPlain)
            ++run;
        out.append(p, run);
        if (run == end)
            break;
        p = run;
        const unsigned char c = static_cast<unsigned char>(*p);
        switch (table.m_Kind[c]) {
        case kEntity:
            out += Entity(*p);
            ++p;
            break;
        case kBreak:
            if (mode == EEscape::Attribute)
                out += c == '\t' ? "&#9;" : "&#10;";
            else
                out += *p;
            ++p;
            break;
        case kReturn:
            if (mode == EEscape::Entities)
                out += *p;
            else
                out += "&#13;";
            ++p;
            break;
        case kRefused:
            if (mode != EEscape::Entities)
                return "the control character 0x" + Hex(c, 2) + " cannot be written to XML";
            out += *p++;
            break;
        default: {
            if (mode == EEscape::Entities) {
                out += *p++;
                break;
            }
            const auto decoded = sds::DecodeUtf8At(text, static_cast<std::size_t>(p - text.data()));
            if (decoded.second == 0)
                return "the text is not valid UTF-8";
            if (!IsXmlChar(decoded.first))
                return "the character U+" + Hex(decoded.first, 4) + " cannot be written to XML";
            out.append(p, decoded.second);
            p += decoded.second;
            break;
        }
        }
    }
    return std::string();
}

// True for a name an XML 1.0 reader takes as it stands.
bool IsXmlName(const std::string& name)
{
    if (name.empty())
        return false;
    const auto first = [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
    };
    const auto next = [&](unsigned char c) { return first(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; };
    bool ascii = true;
    for (std::size_t i = 0; i < name.size() && ascii; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80)
            ascii = false;
        else if (!(i == 0 ? first(c) : next(c)))
            return false;
    }
    if (ascii)
        return true;
    // Beyond ASCII the parser's own tables decide.
    std::u16string wide;
    for (std::size_t i = 0; i < name.size();) {
        const auto decoded = sds::DecodeUtf8At(name, i);
        const std::uint32_t c = decoded.first;
        if (decoded.second == 0)
            return false;
        if (c >= 0x10000) {
            wide += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            wide += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<char16_t>(c);
        }
        i += decoded.second;
    }
    return xercesc::XMLChar1_0::isValidName(wide.data(), wide.size());
}

// Writes a tree in the fixed layout through one buffer, handed to the stream
// whenever it fills.
class CWriter
{
public:
    CWriter(std::ostream& out, const std::string& indentation) : m_Out(out), m_Indentation(indentation)
    {
        m_Buffer.reserve(kFlushBytes + 4096);
    }

    void Write(const CNode& node, std::size_t depth)
    {
        if (!Start(node, depth, !node.GetChildren().empty()))
            return;
        for (const auto& child : node.GetChildren())
            Write(*child.second, depth + 1);
        End(node, depth);
    }

    // The element's start tag, and its text when it has one; false when the
    // element ends there, having neither text nor `children`.
    bool Start(const CNode& node, std::size_t depth, bool children)
    {
        Indent(depth);
        m_Buffer += '<';
        Name(node, node.GetName());

        bool first = true;
        for (const auto& attribute : node.GetAttributes()) {
            if (first) {
                m_Buffer += ' ';
            } else {
                m_Buffer += '\n';
                Indent(depth + 1);
            }
            Name(*attribute.second, attribute.first);
            m_Buffer += "=\"";
            Escaped(*attribute.second, EEscape::Attribute);
            m_Buffer += '"';
            first = false;
        }

        const bool hasValue = !node.GetValue().empty();
        if (!children && !hasValue) {
            m_Buffer += " />\n";
            FlushIfFull();
            return false;
        }

        m_Buffer += '>';
        if (hasValue)
            Escaped(node, EEscape::Text);
        else
            m_Buffer += '\n';
        FlushIfFull();
        return true;
    }

    void End(const CNode& node, std::size_t depth)
    {
        if (node.GetValue().empty())
            Indent(depth);
        m_Buffer += "</";
        m_Buffer += node.GetName();
        m_Buffer += ">\n";
        FlushIfFull();
    }

    void Flush()
    {
        m_Out.write(m_Buffer.data(), static_cast<std::streamsize>(m_Buffer.size()));
        m_Buffer.clear();
    }

private:
    static constexpr std::size_t kFlushBytes = 64 * 1024;

    void Indent(std::size_t depth)
    {
        m_Buffer += m_Indentation;
        m_Buffer.append(depth, '\t');
    }

    void Name(const CNode& node, const std::string& name)
    {
        if (!IsXmlName(name))
            throw CException(node.GetPath() + ": '" + name + "' is not a valid XML name");
        m_Buffer += name;
    }

    void Escaped(const CNode& node, EEscape mode)
    {
        const std::string refused = AppendEscaped(m_Buffer, node.GetValue(), mode);
        if (!refused.empty())
            throw CException(node.GetPath() + ": " + refused);
    }

    void FlushIfFull()
    {
        if (m_Buffer.size() >= kFlushBytes)
            Flush();
    }

    std::ostream& m_Out;
    const std::string& m_Indentation;
    std::string m_Buffer;
};

} // namespace

CNodePtr LoadXmlFile(const std::string& fileName, const std::string& namePrefix)
{
    boost::system::error_code error;
    const boost::uintmax_t bytes = boost::filesystem::file_size(fileName, error);
    return Parse(fileName, error ? 0 : static_cast<std::size_t>(bytes), namePrefix,
                 [&](xercesc::SAXParser& parser) { parser.parse(fileName.c_str()); });
}

CNodePtr LoadXmlFromMemory(const std::string& text, const std::string& sourceName, const std::string& namePrefix)
{
    return Parse(sourceName, text.size(), namePrefix, [&](xercesc::SAXParser& parser) {
        // The parser only reads the bytes: no copy of them is needed.
        xercesc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(text.data()), text.size(),
                                          sourceName.c_str(), false);
        parser.parse(source);
    });
}

const char* const TEMPORARY_FILE_SUFFIX = ".tmp";

namespace {

// Writes the file through a temporary one, as SaveXmlFile says.
bool SaveThroughTemporary(const std::string& fileName, const std::string& prolog,
                          const std::function<void(std::ostream&)>& write)
{
    const std::string temporary = fileName + TEMPORARY_FILE_SUFFIX;
    {
        std::ofstream out(temporary, std::ios::out | std::ios::trunc);
        if (!out) {
            MessageHandler("Could not open file for writing: " + fileName);
            return false;
        }
        std::string refused;
        out << "<?xml version=\"1.0\" ?>" << std::endl << prolog;
        try {
            write(out);
        } catch (const CException& e) {
            refused = e.what();
        }
        out.flush();
        if (!out || !refused.empty()) {
            out.close();
            std::remove(temporary.c_str());
            MessageHandler("Could not write file: " + fileName + (refused.empty() ? "" : ". " + refused));
            return false;
        }
    }
    if (std::rename(temporary.c_str(), fileName.c_str()) != 0) {
        std::remove(temporary.c_str());
        MessageHandler("Could not open file for writing: " + fileName);
        return false;
    }
    return true;
}

} // namespace

bool SaveXmlFile(const std::string& fileName, const CNodePtr& node, const std::string& prolog)
{
    return SaveThroughTemporary(fileName, prolog, [&node](std::ostream& out) { WriteNode(out, *node, ""); });
}

bool SaveXmlFile(const std::string& fileName, const CNode& root, const std::function<CNodePtr()>& next)
{
    return SaveThroughTemporary(fileName, "", [&](std::ostream& out) {
        const std::string indentation;
        CWriter writer(out, indentation);
        CNodePtr child = next();
        if (writer.Start(root, 0, child != nullptr)) {
            for (; child; child = next())
                writer.Write(*child, 1);
            writer.End(root, 0);
        }
        writer.Flush();
    });
}

std::string ReadProlog(const std::string& text)
{
    const char* const blanks = " \t\r\n";
    std::size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    at = text.find_first_not_of(blanks, at);
    if (at != std::string::npos && text.compare(at, 5, "<?xml") == 0) {
        const std::size_t end = text.find("?>", at);
        at = end == std::string::npos ? std::string::npos : end + 2;
    }
    const std::size_t first = at == std::string::npos ? at : text.find_first_not_of(blanks, at);
    std::size_t last = first;
    for (std::size_t next = first; next != std::string::npos && text.compare(next, 4, "<!--") == 0;) {
        const std::size_t end = text.find("-->", next + 4);
        if (end == std::string::npos)
            break;
        last = end + 3;
        next = text.find_first_not_of(blanks, last);
    }
    if (first == std::string::npos || last == first)
        return std::string();
    return text.substr(first, last - first) + "\n";
}

void WriteNode(std::ostream& out, const CNode& node, const std::string& indentation)
{
    CWriter writer(out, indentation);
    writer.Write(node, 0);
    writer.Flush();
}

std::string EscapeText(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    AppendEscaped(result, text, EEscape::Entities);
    return result;
}

std::string UnescapeName(const std::string& text)
{
    std::string result = text;
    for (const auto& token : NameTokens()) {
        std::string::size_type position = result.find(token.first);
        while (position != std::string::npos) {
            result.replace(position, token.first.size(), 1, token.second);
            position = result.find(token.first, position + 1);
        }
    }
    return result;
}

} // namespace xml
