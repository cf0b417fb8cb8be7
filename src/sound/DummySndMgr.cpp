#include "sound/DummySndMgr.h"

#include <boost/make_shared.hpp>

#include "core/ILogMgr.h"

namespace sds {

CDummySndMgr::CDummySoundTemplate::CDummySoundTemplate() : m_Sound(boost::make_shared<CDummySound>()) {}

CDummySndMgr::CDummySndMgr() : m_Template(boost::make_shared<CDummySoundTemplate>())
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

boost::shared_ptr<ISound> CDummySndMgr::CreateSound(const std::string&)
{
    return m_Template->CreateSound(CVector::ZERO, CVector::ZERO);
}

} // namespace sds
