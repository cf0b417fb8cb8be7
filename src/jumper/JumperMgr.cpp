#include "jumper/JumperMgr.h"

#include "core/ILogMgr.h"
#include "core/UpdateAll.h"
#include "jumper/IJumper.h"

namespace sds {

CJumperMgr::~CJumperMgr()
{
    m_Jumpers.clear();
}

void CJumperMgr::AddToUpdateList(const std::shared_ptr<IJumper>& jumper)
{
    m_Jumpers.push_back(jumper);
}

void CJumperMgr::UpdateAll(const CTiming& timing)
{
    sds::UpdateAll(m_Jumpers, timing);
}

void CJumperMgr::ForwardEvent(const CInternalEvent& event)
{
    if (IJumper* jumper = FindJumper(event))
        jumper->OnDiscreteEvent(event);
}

void CJumperMgr::ForwardAnalogEvent(const CInternalEvent& event)
{
    if (IJumper* jumper = FindJumper(event))
        jumper->OnAnalogEvent(event);
}

IJumper* CJumperMgr::FindJumper(const CInternalEvent& event) const
{
    if (m_Jumpers.empty())
        return nullptr;
    if (event.JumperIndex < 0 || static_cast<std::size_t>(event.JumperIndex) >= m_Jumpers.size()) {
        ILogMgr::GetSingleton()->LogWarning("Event " + std::to_string(event.Code) + " for jumper " +
                                            std::to_string(event.JumperIndex) + " is dropped: the level has " +
                                            std::to_string(m_Jumpers.size()) + " jumpers");
        return nullptr;
    }
    return m_Jumpers[static_cast<std::size_t>(event.JumperIndex)].get();
}

} // namespace sds
