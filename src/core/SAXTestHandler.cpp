#include "core/SAXTestHandler.h"

#include <xercesc/sax/AttributeList.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/XMLString.hpp>

#include "core/Utf8.h"

namespace xml {

std::string Transcode(const XMLCh* text, XMLSize_t length)
{
    std::string result;
    if (text)
        sds::AppendUtf16AsUtf8(result, text, length);
    return result;
}

std::string Transcode(const XMLCh* text)
{
    return text ? Transcode(text, xercesc::XMLString::stringLen(text)) : std::string();
}

namespace {

std::string Describe(const char* kind, const XMLCh* systemId, XMLFileLoc line, XMLFileLoc column,
                     const std::string& message)
{
    return std::string(kind) + " at file " + Transcode(systemId) + ", line " + std::to_string(line) + ", char " +
           std::to_string(column) + ". Message: " + message;
}

std::string Describe(const char* kind, const xercesc::SAXParseException& exception)
{
    return Describe(kind, exception.getSystemId(), exception.getLineNumber(), exception.getColumnNumber(),
                    Transcode(exception.getMessage()));
}

} // namespace

SAXTestHandler::SAXTestHandler(const CNodePtr& root, const std::string& namePrefix, std::size_t sourceBytes)
    : m_Current(root.get()), m_NamePrefix(namePrefix), m_TextLimit(sourceBytes + kMaxExpansion)
{
}

xercesc::InputSource* SAXTestHandler::resolveEntity(const XMLCh* const, const XMLCh* const systemId)
{
    // A file or address named by the document would be pulled into the tree
    // (and into the files written back from it).
    ReportError("external entities and DTDs are not read: '" + Transcode(systemId) + "'");
    throw CStop();
}

void SAXTestHandler::StopForExpansion()
{
    ReportError("entities expand the document by more than " + std::to_string(kMaxExpansion) + " characters");
    throw CStop();
}

void SAXTestHandler::CountText(std::size_t length)
{
    // Without entities and attribute defaults no document delivers more
    // characters than it has bytes.
    m_TextCount += length;
    if (m_TextCount > m_TextLimit)
        StopForExpansion();
}

void SAXTestHandler::setDocumentLocator(const xercesc::Locator* const locator)
{
    m_Locator = locator;
}

void SAXTestHandler::characters(const XMLCh* const chars, const XMLSize_t length)
{
    CountText(length);
    if (m_Depth > kMaxDepth || length == 0)
        return;
    std::string& value = m_Current->m_Value;
    const std::size_t before = value.size();
    sds::AppendUtf16AsUtf8(value, chars, length);
    m_CharacterCount += static_cast<unsigned>(value.size() - before);
}

void SAXTestHandler::endElement(const XMLCh* const)
{
    if (m_Depth-- > kMaxDepth)
        return;
    if (CNode* parent = m_Current->GetParent())
        m_Current = parent;
}

void SAXTestHandler::ignorableWhitespace(const XMLCh* const, const XMLSize_t length)
{
    m_SpaceCount += static_cast<unsigned>(length);
}

void SAXTestHandler::resetDocument()
{
    m_Depth = 0;
    m_AttributeCount = 0;
    m_CharacterCount = 0;
    m_ElementCount = 0;
    m_SpaceCount = 0;
}

void SAXTestHandler::startElement(const XMLCh* const name, xercesc::AttributeList& attributes)
{
    const XMLSize_t count = attributes.getLength();
    // Deeper elements are skipped with their text, and the document fails.
    if (++m_Depth > kMaxDepth) {
        for (XMLSize_t i = 0; i < count; ++i)
            CountText(xercesc::XMLString::stringLen(attributes.getValue(i)));
        if (m_Depth == kMaxDepth + 1)
            ReportError("elements are nested deeper than " + std::to_string(kMaxDepth) + " levels");
        return;
    }

    CNodePtr element = CNode::NewParsed(m_Current, false);
    std::string& elementName = element->m_Name;
    sds::AppendUtf16AsUtf8(elementName, name, xercesc::XMLString::stringLen(name));
    if (!m_NamePrefix.empty() && elementName.size() > m_NamePrefix.size() &&
        elementName.compare(0, m_NamePrefix.size(), m_NamePrefix) == 0)
        elementName.erase(0, m_NamePrefix.size());

    for (XMLSize_t i = 0; i < count; ++i) {
        const XMLCh* const attributeName = attributes.getName(i);
        const XMLCh* const value = attributes.getValue(i);
        const XMLSize_t valueLength = xercesc::XMLString::stringLen(value);
        CountText(valueLength);
        CNodePtr attribute = CNode::NewParsed(element.get(), true);
        sds::AppendUtf16AsUtf8(attribute->m_Name, attributeName, xercesc::XMLString::stringLen(attributeName));
        sds::AppendUtf16AsUtf8(attribute->m_Value, value, valueLength);
        element->AddParsed(std::move(attribute));
    }
    CNode* const added = element.get();
    m_Current->AddParsed(std::move(element));
    m_Current = added;
    ++m_ElementCount;
    m_AttributeCount += static_cast<unsigned>(count);
}

void SAXTestHandler::warning(const xercesc::SAXParseException& exception)
{
    MessageHandler(Describe("Warning", exception));
}

void SAXTestHandler::error(const xercesc::SAXParseException& exception)
{
    m_Error = true;
    KeepFirstError(exception.getLineNumber(), exception.getColumnNumber(), Transcode(exception.getMessage()));
    MessageHandler(Describe("Error", exception));
}

void SAXTestHandler::KeepFirstError(XMLFileLoc line, XMLFileLoc column, const std::string& message)
{
    if (m_FirstError.empty())
        m_FirstError = "line " + std::to_string(line) + ", char " + std::to_string(column) + ": " + message;
}

void SAXTestHandler::fatalError(const xercesc::SAXParseException& exception)
{
    // The scanner stops on its own after a fatal error; the caller sees the flag.
    error(exception);
}

void SAXTestHandler::ReportError(const std::string& text)
{
    m_Error = true;
    if (m_Locator) {
        KeepFirstError(m_Locator->getLineNumber(), m_Locator->getColumnNumber(), text);
        MessageHandler(Describe("Error", m_Locator->getSystemId(), m_Locator->getLineNumber(),
                                m_Locator->getColumnNumber(), text));
    } else {
        if (m_FirstError.empty())
            m_FirstError = text;
        MessageHandler("Error: " + text);
    }
}

void SAXTestHandler::resetErrors()
{
    m_Error = false;
}

} // namespace xml
