#include "jumper/SuspensionLines.h"

#include "core/Exception.h"
#include "jumper/GfxObjectConfig.h"

namespace sds {

namespace {

// A count of lines: a side without lines has no middle column to hang the
// risers from, so it is refused.
unsigned ReadCount(const xml::CNodePtr& element, const std::string& name)
{
    const int count = element->GetAttribute(name)->GetValue<int>();
    if (count < 1)
        throw CException(element->GetPath() + ": \"" + name + "\" must be at least 1");
    return static_cast<unsigned>(count);
}

void UpdatePoints(const std::vector<std::shared_ptr<CJointAttached>>& points, const CTiming& timing)
{
    for (const auto& point : points)
        point->Update(timing);
}

} // namespace

CSuspensionLines::CSuspensionLines(const xml::CNodePtr& lines, const xml::CNodePtr& leftToggle,
                                   const xml::CNodePtr& rightToggle, const CGfxObjPtr& canopy,
                                   const CGfxObjPtr& container, const CAttachmentPointPtr& leftRisers,
                                   const CAttachmentPointPtr& rightRisers, const CGfxObjPtr& leftFrontRiser,
                                   const CGfxObjPtr& leftRearRiser, const CGfxObjPtr& rightFrontRiser,
                                   const CGfxObjPtr& rightRearRiser, const CGfxObjPtr& slider,
                                   const CGfxObjPtr& leftHand, const CGfxObjPtr& rightHand)
    : m_Risers{leftFrontRiser, leftRearRiser, rightFrontRiser, rightRearRiser},
      m_Canopy(canopy),
      m_Slider(slider),
      m_LeftHand(leftHand),
      m_RightHand(rightHand),
      m_LeftToggleConfig(leftToggle),
      m_RightToggleConfig(rightToggle),
      m_LeftRisers(leftRisers),
      m_RightRisers(rightRisers)
{
    m_LeftToggle = CreateGfxObject(leftToggle, CGfxObjPtr());
    m_RightToggle = CreateGfxObject(rightToggle, CGfxObjPtr());
    m_AttachmentsPerSide = ReadCount(lines, "AttachmentsPerSide");
    m_NumControlLines = ReadCount(lines, "NumControlLines");
    m_ConnectionOffset = xml::ParseVector(lines->GetAttribute("ConnectionOffset")->GetValue());
    m_LeftTogglePoint = std::make_shared<CCopyAttached>(m_LeftToggle);
    m_RightTogglePoint = std::make_shared<CCopyAttached>(m_RightToggle);

    // The slider's rings: lines that share a ring lie side by side.
    auto attachment = [&lines](const char* name) { return lines->GetChildById("Attachment", name, "Name,Id"); };
    for (unsigned column = 0; column < m_AttachmentsPerSide; ++column) {
        const CVector spacing = m_ConnectionOffset * static_cast<float>(column);
        m_LG1.push_back(std::make_shared<CJointAttached>(attachment("LG1"), slider, spacing));
        m_LG2.push_back(std::make_shared<CJointAttached>(attachment("LG2"), slider, spacing));
        m_RG1.push_back(std::make_shared<CJointAttached>(attachment("RG1"), slider, -spacing));
        m_RG2.push_back(std::make_shared<CJointAttached>(attachment("RG2"), slider, -spacing));
    }

    // Each riser reaches "Distance" from its attachment on the container
    // towards the slider's middle ring of its side.
    const unsigned middle = m_AttachmentsPerSide / 2;
    m_RiserRestPoints[LEFT_FRONT] = std::make_shared<CMergeAttached>(lines->GetChild("LFR"), m_LG1[middle], leftRisers);
    m_RiserRestPoints[LEFT_REAR] = std::make_shared<CMergeAttached>(lines->GetChild("LRR"), m_LG2[middle], leftRisers);
    m_RiserRestPoints[RIGHT_FRONT] =
        std::make_shared<CMergeAttached>(lines->GetChild("RFR"), m_RG1[middle], rightRisers);
    m_RiserRestPoints[RIGHT_REAR] = std::make_shared<CMergeAttached>(lines->GetChild("RRR"), m_RG2[middle], rightRisers);

    m_LeftHandPoint = std::make_shared<CCopyAttached>(leftHand);
    m_RightHandPoint = std::make_shared<CCopyAttached>(rightHand);
    for (int riser = 0; riser < 4; ++riser)
        m_MovingRiserPoints[riser] = std::make_shared<CIndirectAttachment>(m_RiserRestPoints[riser]);

    // The risers themselves are drawn with the rig's riser objects.
    const CAttachmentPointPtr lowerEnds[4] = {leftRisers, leftRisers, rightRisers, rightRisers};
    for (int riser = 0; riser < 4; ++riser)
        m_RiserSegments.push_back(
            std::make_shared<CRope>(m_Risers[riser], lowerEnds[riser], m_MovingRiserPoints[riser]));

    // The toggles are stowed on the rear risers until a hand takes them.
    m_LeftToggleRiserPoint =
        std::make_shared<CObjAttached>(leftToggle->GetChild("RiserAttachment"), leftRearRiser, CVector::ZERO);
    m_RightToggleRiserPoint =
        std::make_shared<CObjAttached>(rightToggle->GetChild("RiserAttachment"), rightRearRiser, CVector::ZERO);
    m_LeftTogglePlacement = std::make_shared<CToggleAttached>(m_LeftToggleRiserPoint, m_LeftToggle);
    m_RightTogglePlacement = std::make_shared<CToggleAttached>(m_RightToggleRiserPoint, m_RightToggle);
}

void CSuspensionLines::Update(const CTiming& timing)
{
    m_Canopy->UpdateAnimation();
    m_Slider->UpdateTransform();
    m_Slider->UpdateAnimation();
    m_LeftRisers->Update(timing);
    m_RightRisers->Update(timing);
    UpdatePoints(m_LG1, timing);
    UpdatePoints(m_RG1, timing);
    UpdatePoints(m_LG2, timing);
    UpdatePoints(m_RG2, timing);
    if (m_FullUpdate) {
        m_LeftHandPoint->Update(timing);
        m_RightHandPoint->Update(timing);
    }
    for (const CAttachmentPointPtr& rest : m_RiserRestPoints)
        rest->Update(timing);
    for (const auto& moving : m_MovingRiserPoints)
        moving->Update(timing);
    for (const auto& segment : m_RiserSegments)
        segment->Update(timing);
    m_Risers[LEFT_REAR]->UpdateTransform();
    m_Risers[RIGHT_REAR]->UpdateTransform();
    m_LeftToggleRiserPoint->Update(timing);
    m_RightToggleRiserPoint->Update(timing);
    m_LeftTogglePlacement->Update(timing);
    m_RightTogglePlacement->Update(timing);
    m_LeftTogglePoint->Update(timing);
    m_RightTogglePoint->Update(timing);
}

} // namespace sds
