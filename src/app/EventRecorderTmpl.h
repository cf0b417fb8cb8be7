#pragma once

#include <deque>
#include <string>

namespace sds {

// A named queue of recorded events of one kind, oldest first. The name is also
// the element that holds its events in a recording.
template <class T>
class CEventRecorderTmpl
{
public:
    explicit CEventRecorderTmpl(const std::string& name) : m_Name(name) {}
    virtual ~CEventRecorderTmpl() = default;

    const std::string& GetName() const { return m_Name; }

    std::deque<T> m_Events;

private:
    std::string m_Name;
};

} // namespace sds
