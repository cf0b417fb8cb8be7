#include "jumper/Container.h"

#include "core/Exception.h"
#include "graphics/IGfxMgr.h"
#include "jumper/AnimationRecord.h"
#include "jumper/DBag.h"
#include "jumper/EquipmentManager.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/Rope.h"
#include "jumper/Slider.h"

namespace sds {

namespace {

CGfxObjPtr Root()
{
    return IGfxMgr::GetSingleton()->GetRootObject();
}

} // namespace

CContainer::CContainer(const xml::CNodePtr& model, const xml::CNodePtr& mainCanopy, const CGfxObjPtr& leftHand,
                       const CGfxObjPtr& rightHand)
{
    m_GfxObj = CreateGfxObject(model->GetChild("Mesh"), CGfxObjPtr());
    m_Config = model;
    const xml::CNodePtr records = model->GetChild("Animation");
    m_DeployMain = ReadAnimation(records->GetChild("DeployMain"), m_GfxObj);
    m_DeployReserve = ReadAnimation(records->GetChild("DeployReserve"), m_GfxObj);
    CEquipmentManager& equipment = CEquipmentManager::Get();
    m_Canopy = equipment.CreateCanopy(mainCanopy, m_GfxObj);
    m_PilotChute = equipment.CreatePilotChute(mainCanopy->GetChild("PilotChute"), m_GfxObj);
    m_DBag = std::make_shared<CDBag>(model->GetChild("DBag"), m_GfxObj);
    m_CanopyConfig = mainCanopy;
    m_LeftHand = leftHand;
    m_RightHand = rightHand;
    m_Slider = std::make_shared<CSlider>(model->GetChild("Slider"), m_Canopy->GetGfxObj());
    m_Canopy->GetGfxObj()->SetVisible(false);
    m_PilotChute->GetGfxObj()->SetVisible(false);
    m_DBag->GetGfxObj()->SetVisible(false);
    m_Slider->GetGfxObj()->SetVisible(false);
}

CContainer::~CContainer()
{
    // The lines follow the canopy's bones; they go first, the canopy next.
    m_SuspensionLines.reset();
    m_Canopy.reset();
}

void CContainer::Update(const CTiming& timing)
{
    m_GfxObj->Update(timing);
    m_GfxObj->UpdateTransform();
    m_GfxObj->UpdateAnimation();
    m_PilotChute->GetGfxObj()->Update(timing);
    // The bag's own update also carries its cross-fade from opening to collapsing.
    m_DBag->Update(timing);
    m_DBag->GetGfxObj()->UpdateTransform();
    m_Canopy->GetGfxObj()->Update(timing);
    m_Slider->GetGfxObj()->Update(timing);
    m_GfxObj->UpdateAnimation();
    m_GfxObj->UpdateTransform();
    if (m_SuspensionLines)
        m_SuspensionLines->Update(timing);
    if (m_BridleLine)
        m_BridleLine->Update(timing);
    if (m_SecondBridleLine)
        m_SecondBridleLine->Update(timing);
}

std::shared_ptr<CRope> CContainer::MakeBridleLine() const
{
    const xml::CNodePtr canopyModel =
        CEquipmentManager::Get().GetModelNode("Canopy", m_CanopyConfig->GetAttribute("Model")->GetValue());
    const CGfxObjPtr line = CreateLineObject(canopyModel->GetChild("BridleLine")->GetChild("Mesh"));
    return std::make_shared<CRope>(line, m_PilotChute->GetGfxObj(), m_DBag->GetGfxObj());
}

void CContainer::CreateBridleLine()
{
    const CGfxObjPtr pilotChute = m_PilotChute->GetGfxObj();
    pilotChute->SetVisible(true);
    m_BridleLine = MakeBridleLine();
    const CGfxObjPtr root = Root();
    if (pilotChute->GetParent() != root)
        root->AddChild(pilotChute);
    pilotChute->SetPos(m_GfxObj->GetWorldPos());
}

void CContainer::CreateLines()
{
    const CGfxObjPtr dbag = m_DBag->GetGfxObj();
    dbag->SetVisible(false);
    m_SecondBridleLine = MakeBridleLine();
    Root()->AddChild(dbag);
    dbag->SetPos(m_GfxObj->GetWorldPos());
    const CGfxObjPtr canopy = m_Canopy->GetGfxObj();
    dbag->AddChild(canopy);
    canopy->SetPos(CVector::ZERO);
    dbag->AddChild(m_Slider->GetGfxObj());
    m_DeployMain->SetEnabled(true);
    m_DeployMain->SetAutoUpdate(true);

    auto attachment = [this](const char* name) { return m_Config->GetChildById("Attachment", name, "Name,Id"); };
    m_LeftRisers = std::make_shared<CJointAttached>(attachment("Risers.L"), m_GfxObj, CVector::ZERO);
    m_RightRisers = std::make_shared<CJointAttached>(attachment("Risers.R"), m_GfxObj, CVector::ZERO);
    m_LeftFrontRiser = CreateLineObject(m_Config->GetChild("LeftFrontRiser"));
    m_LeftRearRiser = CreateLineObject(m_Config->GetChild("LeftRearRiser"));
    m_RightFrontRiser = CreateLineObject(m_Config->GetChild("RightFrontRiser"));
    m_RightRearRiser = CreateLineObject(m_Config->GetChild("RightRearRiser"));

    const xml::CNodePtr canopyModel =
        CEquipmentManager::Get().GetModelNode("Canopy", m_CanopyConfig->GetAttribute("Model")->GetValue());
    m_SuspensionLines = std::make_shared<CSuspensionLines>(
        canopyModel->GetChild("SuspensionLines"), m_Config->GetChild("LeftToggle"), m_Config->GetChild("RightToggle"),
        canopy, m_GfxObj, m_LeftRisers, m_RightRisers, m_LeftFrontRiser, m_LeftRearRiser, m_RightFrontRiser,
        m_RightRearRiser, m_Slider->GetGfxObj(), m_LeftHand, m_RightHand);
}

void CContainer::BeginInflation()
{
    m_SecondBridleLine.reset();
    m_BridleLine.reset();
    Lines().EnableFullUpdate();
    m_Canopy->GetExtractionAnimation()->SetAutoUpdate(true);
    m_Slider->GetGfxObj()->SetVisible(true);
    m_Slider->Unwrap();
    m_PilotChute->ReverseInflating();
}

void CContainer::HidePilotChute()
{
    m_PilotChute->GetGfxObj()->SetVisible(false);
    m_BridleLine.reset();
}

CSuspensionLines& CContainer::Lines()
{
    // The lines exist from CreateLines on; a call before is the caller's fault.
    SDS_ASSERT(m_SuspensionLines && "The lines are made by CreateLines");
    return *m_SuspensionLines;
}

void CContainer::Grab(CSuspensionLines::ERiser riser, bool left)
{
    CSuspensionLines& lines = Lines();
    lines.GetMovingRiserPoint(riser).SetTarget(lines.GetHandPoint(left));
}

void CContainer::Release(CSuspensionLines::ERiser riser)
{
    CSuspensionLines& lines = Lines();
    lines.GetMovingRiserPoint(riser).SetTarget(lines.GetRiserRestPoint(riser));
}

void CContainer::TakeLeftToggle()
{
    Lines().GetTogglePlacement(true).SetTarget(Lines().GetHandPoint(true));
}

void CContainer::TakeRightToggle()
{
    Lines().GetTogglePlacement(false).SetTarget(Lines().GetHandPoint(false));
}

void CContainer::GrabLeftFrontRiser()
{
    Grab(CSuspensionLines::LEFT_FRONT, true);
}

void CContainer::GrabLeftRearRiser()
{
    Grab(CSuspensionLines::LEFT_REAR, true);
}

void CContainer::GrabRightFrontRiser()
{
    Grab(CSuspensionLines::RIGHT_FRONT, false);
}

void CContainer::GrabRightRearRiser()
{
    Grab(CSuspensionLines::RIGHT_REAR, false);
}

void CContainer::ReleaseLeftFrontRiser()
{
    Release(CSuspensionLines::LEFT_FRONT);
}

void CContainer::ReleaseLeftRearRiser()
{
    Release(CSuspensionLines::LEFT_REAR);
}

void CContainer::ReleaseRightFrontRiser()
{
    Release(CSuspensionLines::RIGHT_FRONT);
}

void CContainer::ReleaseRightRearRiser()
{
    Release(CSuspensionLines::RIGHT_REAR);
}

} // namespace sds
