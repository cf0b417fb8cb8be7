#include "mods/EventDistributionMod.h"

#include "core/services/IEventMgr.h"
#include "graphics/ICamera.h"
#include "graphics/IGfxMgr.h"
#include "jumper/JumperMgr.h"

namespace sds {

namespace {

const std::int32_t FIRST_JUMPER_CODE = 2;
const std::int32_t LAST_JUMPER_CODE = 41;
const std::int32_t FIRST_CAMERA_CODE = 44;
const std::int32_t LAST_CAMERA_CODE = 77;

} // namespace

CEventDistributionMod::CEventDistributionMod(const CMenuModeQuery& isMenuModeCurrent)
    : ILevelMod("EventDistribution"), m_IsMenuModeCurrent(isMenuModeCurrent)
{
    IEventMgr* events = IEventMgr::GetSingleton();
    m_AnalogConnection = events->ConnectAnalogInternalEvent([this](const CInternalEvent& e) { OnAnalogEvent(e); });
    m_DiscreteConnection = events->ConnectInternalEvent([this](const CInternalEvent& e) { OnDiscreteEvent(e); });
}

CEventDistributionMod::~CEventDistributionMod()
{
    m_AnalogConnection.disconnect();
    m_DiscreteConnection.disconnect();
}

void CEventDistributionMod::OnAnalogEvent(const CInternalEvent& event)
{
    if (RouteToCamera(event) || !IsForJumper(event))
        return;
    if (CJumperMgr* jumpers = CJumperMgr::GetSingleton())
        jumpers->ForwardAnalogEvent(event);
}

void CEventDistributionMod::OnDiscreteEvent(const CInternalEvent& event)
{
    if (RouteToCamera(event) || !IsForJumper(event))
        return;
    if (CJumperMgr* jumpers = CJumperMgr::GetSingleton())
        jumpers->ForwardEvent(event);
}

bool CEventDistributionMod::RouteToCamera(const CInternalEvent& event) const
{
    // Asked first for every event: an engine without a state is a fault wherever the event goes.
    const bool menuMode = m_IsMenuModeCurrent();
    if (menuMode || event.Code < FIRST_CAMERA_CODE || event.Code > LAST_CAMERA_CODE)
        return false;
    if (ICamera* camera = IGfxMgr::GetSingleton()->GetCamera())
        camera->OnEvent(event);
    return true;
}

bool CEventDistributionMod::IsForJumper(const CInternalEvent& event) const
{
    return m_Enabled && event.Code >= FIRST_JUMPER_CODE && event.Code <= LAST_JUMPER_CODE;
}

} // namespace sds
