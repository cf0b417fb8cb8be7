#pragma once

#include <cstddef>
#include <string>

#include <xercesc/sax/HandlerBase.hpp>

#include "core/Node.h"

namespace xml {

// Builds a CNode tree from the SAX callbacks and reports parser messages.
class SAXTestHandler : public xercesc::HandlerBase
{
public:
    // Every walk over a tree recurses, so elements nested deeper than this are
    // an error of the document rather than a stack overflow later.
    static constexpr unsigned kMaxDepth = 1000;
    // Entities and attribute defaults may add at most this many characters to
    // what the document itself holds: a few lines must not grow into gigabytes.
    static constexpr std::size_t kMaxExpansion = std::size_t(1) << 22;

    // Thrown by the handler to end a parse whose error it has reported.
    struct CStop
    {
    };

    // `sourceBytes`: the size of the document, on which the expansion limit builds.
    SAXTestHandler(const CNodePtr& root, const std::string& namePrefix, std::size_t sourceBytes = 0);
    ~SAXTestHandler() override = default;

    // External entities and DTDs (files or addresses named by the document) are
    // never read: the parse fails with an error.
    xercesc::InputSource* resolveEntity(const XMLCh* const publicId, const XMLCh* const systemId) override;

    void setDocumentLocator(const xercesc::Locator* const locator) override;

    void characters(const XMLCh* const chars, const XMLSize_t length) override;
    void endElement(const XMLCh* const name) override;
    void ignorableWhitespace(const XMLCh* const chars, const XMLSize_t length) override;
    void resetDocument() override;
    void startElement(const XMLCh* const name, xercesc::AttributeList& attributes) override;

    void warning(const xercesc::SAXParseException& exception) override;
    void error(const xercesc::SAXParseException& exception) override;
    void fatalError(const xercesc::SAXParseException& exception) override;
    void resetErrors() override;

    // Reports the expansion limit as an error of the document and stops the parse.
    [[noreturn]] void StopForExpansion();

    bool HasErrors() const { return m_Error; }
    // The first error as a user reads it: "line 3, char 7: <the parser's message>".
    const std::string& GetFirstError() const { return m_FirstError; }
    unsigned GetAttributeCount() const { return m_AttributeCount; }
    unsigned GetCharacterCount() const { return m_CharacterCount; }
    unsigned GetElementCount() const { return m_ElementCount; }
    unsigned GetSpaceCount() const { return m_SpaceCount; }

private:
    void ReportError(const std::string& text);
    void KeepFirstError(XMLFileLoc line, XMLFileLoc column, const std::string& message);
    void CountText(std::size_t length);

    const xercesc::Locator* m_Locator = nullptr;
    unsigned m_Depth = 0;
    // The tree holds every node; the handler only points into it.
    CNode* m_Current;
    unsigned m_AttributeCount = 0;
    unsigned m_CharacterCount = 0;
    unsigned m_ElementCount = 0;
    unsigned m_SpaceCount = 0;
    bool m_Error = false;
    std::string m_FirstError;
    std::string m_NamePrefix;
    // Characters delivered so far (text and attribute values), and the most allowed.
    std::size_t m_TextCount = 0;
    std::size_t m_TextLimit;

};

// UTF-8 text of a parser string.
std::string Transcode(const XMLCh* text);
std::string Transcode(const XMLCh* text, XMLSize_t length);

} // namespace xml
