#pragma once

#include <string>

#include "graphics/Console.h"

namespace sds {

// The console of the in-memory graphics: it keeps the text last drawn.
class CMemConsole : public CConsole
{
public:
    CMemConsole(unsigned maxLines = 31, unsigned fixedLines = 5) : CConsole(maxLines, fixedLines) {}

    std::string m_Drawn;
    int m_Draws = 0;

protected:
    void Draw(const std::string& text) override
    {
        m_Drawn = text;
        ++m_Draws;
    }
};

} // namespace sds
