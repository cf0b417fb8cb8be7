#include "core/SAXTestHandler.h"

#include <xercesc/sax/AttributeList.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/TransService.hpp>

namespace xml {

std::string Transcode(const XMLCh* text, XMLSize_t length)
{
    if (!text || length == 0)
        return std::string();
    xercesc::TranscodeToStr utf8(text, length, "UTF-8");
    return std::string(reinterpret_cast<const char*>(utf8.str()), utf8.length());
}

std::string Transcode(const XMLCh* text)
{
    return text ? Transcode(text, xercesc::XMLString::stringLen(text)) : std::string();
}

SAXTestHandler::SAXTestHandler(const CNodePtr& root, const std::string& namePrefix)
    : m_Current(root), m_NamePrefix(namePrefix)
{
}

void SAXTestHandler::characters(const XMLCh* const chars, const XMLSize_t length)
{
    const std::string text = Transcode(chars, length);
    if (text.empty())
        return;
    m_Current->AppendValue(text);
    m_CharacterCount += static_cast<unsigned>(text.size());
}

void SAXTestHandler::endElement(const XMLCh* const)
{
    if (CNode* parent = m_Current->GetParent())
        m_Current = parent;
}

void SAXTestHandler::ignorableWhitespace(const XMLCh* const, const XMLSize_t length)
{
    m_SpaceCount += static_cast<unsigned>(length);
}

void SAXTestHandler::resetDocument()
{
    m_AttributeCount = 0;
    m_CharacterCount = 0;
    m_ElementCount = 0;
    m_SpaceCount = 0;
}

void SAXTestHandler::startElement(const XMLCh* const name, xercesc::AttributeList& attributes)
{
    std::string elementName = Transcode(name);
    if (!m_NamePrefix.empty() && elementName.size() > m_NamePrefix.size() &&
        elementName.compare(0, m_NamePrefix.size(), m_NamePrefix) == 0)
        elementName.erase(0, m_NamePrefix.size());

    m_LastCreated = m_Current->AddChild(elementName);
    m_Current = m_LastCreated;

    const XMLSize_t count = attributes.getLength();
    for (XMLSize_t i = 0; i < count; ++i)
        m_Current->AddAttribute(Transcode(attributes.getName(i)), Transcode(attributes.getValue(i)));
    ++m_ElementCount;
    m_AttributeCount += static_cast<unsigned>(count);
}

std::string SAXTestHandler::Describe(const char* kind, const xercesc::SAXParseException& exception) const
{
    return std::string(kind) + " at file " + Transcode(exception.getSystemId()) + ", line " +
           std::to_string(exception.getLineNumber()) + ", char " + std::to_string(exception.getColumnNumber()) +
           ". Message: " + Transcode(exception.getMessage());
}

void SAXTestHandler::warning(const xercesc::SAXParseException& exception)
{
    MessageHandler(Describe("Warning", exception));
}

void SAXTestHandler::error(const xercesc::SAXParseException& exception)
{
    m_Error = true;
    MessageHandler(Describe("Error", exception));
}

void SAXTestHandler::fatalError(const xercesc::SAXParseException& exception)
{
    // The scanner stops on its own after a fatal error; the caller sees the flag.
    error(exception);
}

void SAXTestHandler::resetErrors()
{
    m_Error = false;
}

} // namespace xml
