#pragma once

#include <memory>
#include <vector>


#include "core/SingletonTmpl.h"
#include "core/Timing.h"
#include "core/services/Events.h"

namespace sds {

class IJumper;

// The jumpers of the level by index; routes each named event to the jumper
// whose index the event carries. Lives as long as the level.
class CJumperMgr : public CSingletonTmpl<CJumperMgr>
{
public:
    typedef std::vector<std::shared_ptr<IJumper>> CJumpers;

    CJumperMgr() = default;
    ~CJumperMgr() override;

    // Appends a jumper; its index is its position.
    void AddToUpdateList(const std::shared_ptr<IJumper>& jumper);
    // Lets every jumper go.
    void Clear() { m_Jumpers.clear(); }
    // Updates every jumper; a jumper may leave the list meanwhile.
    void UpdateAll(const CTiming& timing);
    void ForwardEvent(const CInternalEvent& event);
    void ForwardAnalogEvent(const CInternalEvent& event);

    const CJumpers& GetJumpers() const { return m_Jumpers; }

private:
    // The addressed jumper, or null (logged) when the index names none.
    IJumper* FindJumper(const CInternalEvent& event) const;

    CJumpers m_Jumpers;
};

} // namespace sds
