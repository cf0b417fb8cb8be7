#include "core/XmlFile.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/SAXParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>

#include "core/SAXTestHandler.h"

namespace xml {

namespace {

// Keeps the parser library initialised for the duration of one read.
class CXercesSession
{
public:
    CXercesSession()
    {
        try {
            xercesc::XMLPlatformUtils::Initialize();
            m_Ready = true;
        } catch (const xercesc::XMLException& e) {
            MessageHandler("Error during initialization! Message: " + Transcode(e.getMessage()));
        }
    }
    ~CXercesSession()
    {
        if (m_Ready)
            xercesc::XMLPlatformUtils::Terminate();
    }
    bool IsReady() const { return m_Ready; }

private:
    bool m_Ready = false;
};

template <class ParseFn>
CNodePtr Parse(const std::string& sourceName, const std::string& namePrefix, ParseFn parse)
{
    CXercesSession session;
    if (!session.IsReady())
        return CNodePtr();

    CNodePtr root(new CNode("XmlFile", sourceName, nullptr, false));
    root->AddAttribute("Name", sourceName);
    bool failed = false;
    {
        // Caps the expansion of entities (50,000 by default): a document that
        // defines entities of entities fails instead of growing without bound.
        xercesc::SecurityManager security;
        xercesc::SAXParser parser;
        parser.setSecurityManager(&security);
        parser.setValidationScheme(xercesc::SAXParser::Val_Auto);
        parser.setDoNamespaces(false);
        parser.setDoSchema(false);
        parser.setValidationSchemaFullChecking(false);

        SAXTestHandler handler(root, namePrefix);
        parser.setDocumentHandler(&handler);
        parser.setErrorHandler(&handler);

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
        } catch (const xercesc::XMLException& e) {
            ErrorMessageHandler("Error during parsing: '" + sourceName + "' Exception message is: " +
                                Transcode(e.getMessage()));
            failed = true;
        } catch (...) {
            ErrorMessageHandler("Unexpected exception during parsing: '" + sourceName + "'");
            failed = true;
        }
        failed = failed || handler.HasErrors();
    }
    if (failed)
        throw std::runtime_error("Could not load " + sourceName);
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

} // namespace

CNodePtr LoadXmlFile(const std::string& fileName, const std::string& namePrefix)
{
    return Parse(fileName, namePrefix, [&](xercesc::SAXParser& parser) { parser.parse(fileName.c_str()); });
}

CNodePtr LoadXmlFromMemory(const std::string& text, const std::string& sourceName, const std::string& namePrefix)
{
    const std::vector<XMLByte> buffer(text.begin(), text.end());
    return Parse(sourceName, namePrefix, [&](xercesc::SAXParser& parser) {
        xercesc::MemBufInputSource source(buffer.data(), buffer.size(), sourceName.c_str(), false);
        parser.parse(source);
    });
}

const char* const TEMPORARY_FILE_SUFFIX = ".tmp";

bool SaveXmlFile(const std::string& fileName, const CNodePtr& node)
{
    const std::string temporary = fileName + TEMPORARY_FILE_SUFFIX;
    {
        std::ofstream out(temporary, std::ios::out | std::ios::trunc);
        if (!out) {
            MessageHandler("Could not open file for writing: " + fileName);
            return false;
        }
        out << "<?xml version=\"1.0\" ?>" << std::endl;
        WriteNode(out, *node, "");
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            MessageHandler("Could not write file: " + fileName);
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

void WriteNode(std::ostream& out, const CNode& node, const std::string& indentation)
{
    const std::string childIndentation = indentation + "\t";
    out << indentation << "<" << node.GetName();

    bool first = true;
    for (const auto& attribute : node.GetAttributes()) {
        if (first)
            out << " ";
        else
            out << "\n" << childIndentation;
        out << attribute.first << "=\"" << EscapeText(attribute.second->GetValue()) << "\"";
        first = false;
    }

    const std::string value = node.GetValue();
    if (node.GetChildren().empty() && value.empty()) {
        out << " />\n";
        return;
    }

    out << ">";
    if (!value.empty())
        out << EscapeText(value);
    else
        out << "\n";
    for (const auto& child : node.GetChildren())
        WriteNode(out, *child.second, childIndentation);
    if (value.empty())
        out << indentation;
    out << "</" << node.GetName() << ">\n";
}

std::string EscapeText(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '"': result += "&quot;"; break;
        case '&': result += "&amp;"; break;
        case '\'': result += "&apos;"; break;
        case '<': result += "&lt;"; break;
        case '>': result += "&gt;"; break;
        default: result += c; break;
        }
    }
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
