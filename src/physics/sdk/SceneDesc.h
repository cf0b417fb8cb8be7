#pragma once

#include "core/Vector.h"

namespace physics::sdk {

class IUserContactReport;
class IUserTriggerReport;

struct CSceneDesc
{
    sds::CVector m_Gravity;
    int m_MaxIterations = 8; // solver iterations per step
    IUserContactReport* m_ContactReport = nullptr;
    IUserTriggerReport* m_TriggerReport = nullptr;
};

} // namespace physics::sdk
