#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "core/ILogMgr.h"

// A log service for tests: keeps every line in memory.
class CCapturingLogMgr : public sds::ILogMgr
{
public:
    void LogMessage(const std::string& text) override { m_Lines.push_back(text); }
    void LogError(const std::string& text) override { LogMessage("Error: " + text); }
    void LogWarning(const std::string& text) override { LogMessage("Warning: " + text); }

    bool Has(const std::string& line) const
    {
        return std::find(m_Lines.begin(), m_Lines.end(), line) != m_Lines.end();
    }
    bool HasContaining(const std::string& part) const
    {
        return std::any_of(m_Lines.begin(), m_Lines.end(),
                           [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }

    std::vector<std::string> m_Lines;
};
