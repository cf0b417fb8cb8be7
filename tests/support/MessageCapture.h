#pragma once

#include <string>
#include <vector>

#include "core/Node.h"

// Collects what the XML layer reports while it is alive.
class CMessageCapture
{
public:
    CMessageCapture()
        : m_SavedMessage(xml::MessageHandler), m_SavedError(xml::ErrorMessageHandler)
    {
        xml::MessageHandler = [this](const std::string& text) { m_Messages.push_back(text); };
        xml::ErrorMessageHandler = [this](const std::string& text) { m_Errors.push_back(text); };
    }
    ~CMessageCapture()
    {
        xml::MessageHandler = m_SavedMessage;
        xml::ErrorMessageHandler = m_SavedError;
    }

    std::vector<std::string> m_Messages;
    std::vector<std::string> m_Errors;

private:
    xml::CMessageHandler m_SavedMessage;
    xml::CMessageHandler m_SavedError;
};
