#pragma once

#include <deque>
#include <string>

#include "core/services/IConsole.h"

namespace sds {

// The line keeping of the on-screen console: fixed lines on top, printed lines
// scrolling below them. Drawing the text is left to the derived class.
class CConsole : public IConsole
{
public:
    CConsole(unsigned maxLines, unsigned fixedLines);
    ~CConsole() override = default;

    void Print(const std::string& text, bool refresh = true) override;
    void Clear() override;
    void SetMaxLines(unsigned count) override;
    void SetFixedLines(unsigned count) override;
    std::string GetLine(unsigned index) const override;
    // Sets line `index`, growing the console up to it; an index at or above
    // the maximum is refused with a log line.
    void SetFixedLine(unsigned index, const std::string& text, bool refresh = true) override;
    unsigned GetMaxLines() const override { return m_MaxLines; }
    unsigned GetFixedLines() const override { return m_FixedLines; }
    void Refresh() override;

    std::size_t GetNumLines() const { return m_Lines.size(); }
    // Every line followed by "\n".
    std::string GetText() const;

protected:
    virtual void Draw(const std::string& text) = 0;
    void ClearLines() { m_Lines.clear(); }

private:
    // Drops the first lines below the fixed ones until the maximum holds.
    void Trim();

    std::deque<std::string> m_Lines;
    unsigned m_MaxLines;
    unsigned m_FixedLines;
};

} // namespace sds
