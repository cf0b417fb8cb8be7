#pragma once

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

    SAXTestHandler(const CNodePtr& root, const std::string& namePrefix);
    ~SAXTestHandler() override = default;

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

    bool HasErrors() const { return m_Error; }
    unsigned GetAttributeCount() const { return m_AttributeCount; }
    unsigned GetCharacterCount() const { return m_CharacterCount; }
    unsigned GetElementCount() const { return m_ElementCount; }
    unsigned GetSpaceCount() const { return m_SpaceCount; }

private:
    void ReportError(const std::string& text);

    const xercesc::Locator* m_Locator = nullptr;
    unsigned m_Depth = 0;
    CNodePtr m_Current;
    unsigned m_AttributeCount = 0;
    unsigned m_CharacterCount = 0;
    unsigned m_ElementCount = 0;
    unsigned m_SpaceCount = 0;
    bool m_Error = false;
    std::string m_NamePrefix;
};

// UTF-8 text of a parser string.
std::string Transcode(const XMLCh* text);
std::string Transcode(const XMLCh* text, XMLSize_t length);

} // namespace xml
