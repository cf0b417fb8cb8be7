#pragma once

#include <string>

#include "core/SingletonTmpl.h"

namespace sds {

// The on-screen text console: fixed status lines at the top, printed messages
// scrolling below them.
class IConsole : public CSingletonTmpl<IConsole>
{
public:
    ~IConsole() override = default;
    virtual void Print(const std::string& text, bool refresh = true) = 0;
    virtual void Clear() = 0;
    virtual void SetMaxLines(unsigned count) = 0;
    virtual void SetFixedLines(unsigned count) = 0;
    virtual std::string GetLine(unsigned index) const = 0;
    virtual void SetFixedLine(unsigned index, const std::string& text, bool refresh = true) = 0;
    virtual unsigned GetMaxLines() const = 0;
    virtual unsigned GetFixedLines() const = 0;
    virtual void Refresh() = 0;
};

} // namespace sds
