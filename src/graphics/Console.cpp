#include "graphics/Console.h"

#include <iostream>

#include "core/Helpers.h"
#include "core/ILogMgr.h"

namespace sds {

CConsole::CConsole(unsigned maxLines, unsigned fixedLines) : m_MaxLines(maxLines), m_FixedLines(fixedLines) {}

void CConsole::Print(const std::string& text, bool refresh)
{
    std::string::size_type start = 0;
    for (std::string::size_type end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        m_Lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (start < text.size())
        m_Lines.push_back(text.substr(start));
    std::cout << text << std::endl;
    if (refresh)
        Refresh();
}

void CConsole::Clear()
{
    m_Lines.assign(m_MaxLines, std::string());
    Refresh();
}

void CConsole::SetMaxLines(unsigned count)
{
    m_MaxLines = count;
    if (m_FixedLines > m_MaxLines)
        SetFixedLines(m_MaxLines);
    Trim();
}

void CConsole::SetFixedLines(unsigned count)
{
    m_FixedLines = count;
    while (m_Lines.size() < m_MaxLines)
        m_Lines.emplace_back();
}

std::string CConsole::GetLine(unsigned index) const
{
    return index < m_Lines.size() ? m_Lines[index] : std::string();
}

void CConsole::SetFixedLine(unsigned index, const std::string& text, bool refresh)
{
    // An index from a script could ask for billions of lines.
    if (index >= m_MaxLines) {
        if (ILogMgr* log = ILogMgr::GetSingleton())
            log->LogWarning("Console line " + ToString(index) + " is not set: the console has " +
                            ToString(m_MaxLines) + " lines");
        return;
    }
    while (m_Lines.size() <= index)
        m_Lines.emplace_back();
    m_Lines[index] = text;
    if (refresh)
        Refresh();
}

void CConsole::Refresh()
{
    Trim();
    Draw(GetText());
}

std::string CConsole::GetText() const
{
    std::string text;
    for (const std::string& line : m_Lines)
        text += line + "\n";
    return text;
}

void CConsole::Trim()
{
    // With every line fixed nothing may scroll out: the newest lines are dropped.
    while (m_Lines.size() > m_MaxLines) {
        if (m_FixedLines < m_Lines.size())
            m_Lines.erase(m_Lines.begin() + m_FixedLines);
        else
            m_Lines.pop_back();
    }
}

} // namespace sds
