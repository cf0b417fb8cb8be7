#include "sound/DummySndMgr.h"

#include <memory>

#include "core/ILogMgr.h"

namespace sds {

CDummySndMgr::CDummySoundTemplate::CDummySoundTemplate() : m_Sound(std::make_shared<CDummySound>()) {}

CDummySndMgr::CDummySndMgr() : m_Template(std::make_shared<CDummySoundTemplate>())
{
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogMessage("Dummy SndMgr is created");
}

CDummySndMgr::~CDummySndMgr()
{
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogMessage("Dummy SndMgr is destroyed");
    m_Template.reset();
}

std::shared_ptr<ISound> CDummySndMgr::CreateSound(const std::string&)
{
    return m_Template->CreateSound(CVector::ZERO, CVector::ZERO);
}

} // namespace sds
