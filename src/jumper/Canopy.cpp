#include "jumper/Canopy.h"

#include "core/ILogMgr.h"
#include "jumper/AnimationRecord.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/Identity.h"

namespace sds {

CCanopy::CCanopy(const xml::CNodePtr& model, const CGfxObjPtr& parent)
{
    m_GfxObj = CreateGfxObject(model->GetChild("Mesh"), parent);
    const xml::CNodePtr records = model->GetChild("Animation");
    auto read = [&](const char* name) { return ReadAnimation(records->GetChild(name), m_GfxObj); };
    m_Extraction = read("Extraction");
    m_Inflating = read("Inflating");
    m_FullFlight = read("FullFlight");
    m_RightToggleTurn = read("RightToggleTurn");
    m_LeftToggleTurn = read("LeftToggleTurn");
    m_RightFrontRiserTurn = read("RightFrontRiserTurn");
    m_LeftFrontRiserTurn = read("LeftFrontRiserTurn");
    m_RightRearRiserTurn = read("RightRearRiserTurn");
    m_LeftRearRiserTurn = read("LeftRearRiserTurn");
    m_Config = model;
    ILogMgr::GetSingleton()->LogMessage("CCanopy " + IdentityOf(this) + " is created");
}

CCanopy::~CCanopy()
{
    ILogMgr::GetSingleton()->LogMessage("CCanopy " + IdentityOf(this) + " is destroyed");
}

void CCanopy::StartInflating()
{
    m_Inflating->SetAutoUpdate(true);
}

void CCanopy::StartFullFlight()
{
    m_Extraction->SetEnabled(false);
    m_Inflating->SetEnabled(false);
    m_FullFlight->SetEnabled(true);
    m_FullFlight->SetAutoUpdate(true);
    m_FullFlight->SetLoop(true);
    for (const CAnimationPtr& turn : {m_RightToggleTurn, m_LeftToggleTurn, m_RightFrontRiserTurn,
                                      m_LeftFrontRiserTurn, m_RightRearRiserTurn, m_LeftRearRiserTurn})
        turn->SetEnabled(true);
    m_RightToggleTurn->SetRelativePosition(0.5f);
    m_LeftToggleTurn->SetRelativePosition(0.5f);
}

} // namespace sds
