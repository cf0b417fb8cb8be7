#pragma once

#include <memory>

#include "core/Node.h"
#include "graphics/IGfxObj.h"
#include "jumper/IContainer.h"
#include "jumper/SuspensionLines.h"

namespace sds {

class CRope;

// The rig of a container model of the equipment file, with the main canopy
// and pilot chute that the jumper's "MainCanopy" names, the D-bag and the
// slider. It only moves, shows, hides and animates graphic objects; the
// canopy's flight is the flight model's.
class CContainer : public IContainer
{
public:
    // Builds everything hidden and packed. Throws the XML layer's exceptions
    // for missing elements and models, CException for missing joints.
    CContainer(const xml::CNodePtr& model, const xml::CNodePtr& mainCanopy, const CGfxObjPtr& leftHand,
               const CGfxObjPtr& rightHand);
    ~CContainer() override;

    // The rig's, the parts' and the lines' graphic objects, each frame.
    void Update(const CTiming& timing) override;

    void CreateBridleLine() override;
    void CreateLines() override;
    void BeginInflation() override;
    CCanopyPtr GetCanopy() const override { return m_Canopy; }
    CPilotChutePtr GetPilotChute() const override { return m_PilotChute; }
    CDBagPtr GetDBag() const override { return m_DBag; }
    void HidePilotChute() override;
    CSliderPtr GetSlider() const override { return m_Slider; }
    void TakeLeftToggle() override;
    void TakeRightToggle() override;
    void GrabLeftFrontRiser() override;
    void GrabLeftRearRiser() override;
    void GrabRightFrontRiser() override;
    void GrabRightRearRiser() override;
    void ReleaseLeftFrontRiser() override;
    void ReleaseLeftRearRiser() override;
    void ReleaseRightFrontRiser() override;
    void ReleaseRightRearRiser() override;

    xml::CNodePtr GetConfig() const { return m_Config; }
    const std::shared_ptr<CSuspensionLines>& GetSuspensionLines() const { return m_SuspensionLines; }
    const std::shared_ptr<CRope>& GetBridleLine() const { return m_BridleLine; }
    const std::shared_ptr<CRope>& GetSecondBridleLine() const { return m_SecondBridleLine; }
    const CAnimationPtr& GetDeployMainAnimation() const { return m_DeployMain; }

private:
    // A bridle-line segment between the pilot chute and the D-bag.
    std::shared_ptr<CRope> MakeBridleLine() const;
    CSuspensionLines& Lines();
    void Grab(CSuspensionLines::ERiser riser, bool left);
    void Release(CSuspensionLines::ERiser riser);

    xml::CNodePtr m_Config;
    CAnimationPtr m_DeployMain;
    CAnimationPtr m_DeployReserve;
    CCanopyPtr m_Canopy;
    CPilotChutePtr m_PilotChute;
    CDBagPtr m_DBag;
    xml::CNodePtr m_CanopyConfig;
    CGfxObjPtr m_LeftFrontRiser;
    CGfxObjPtr m_LeftRearRiser;
    CGfxObjPtr m_RightFrontRiser;
    CGfxObjPtr m_RightRearRiser;
    CAttachmentPointPtr m_LeftRisers;
    CAttachmentPointPtr m_RightRisers;
    CGfxObjPtr m_LeftHand;
    CGfxObjPtr m_RightHand;
    std::shared_ptr<CSuspensionLines> m_SuspensionLines;
    CSliderPtr m_Slider;
    std::shared_ptr<CRope> m_BridleLine;
    std::shared_ptr<CRope> m_SecondBridleLine;
};

} // namespace sds
