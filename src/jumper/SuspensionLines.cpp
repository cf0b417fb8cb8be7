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

template <class TUpdate>
void UpdateAll(const std::vector<std::shared_ptr<TUpdate>>& all, const CTiming& timing)
{
    for (const auto& one : all)
        one->Update(timing);
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
      m_Container(container),
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

    m_LineMesh = lines->GetChild("Mesh");

    auto attachment = [&lines](const std::string& name) {
        return lines->GetChildById("Attachment", name, "Name,Id");
    };
    auto onCanopy = [&](const std::string& name) {
        return std::make_shared<CJointAttached>(attachment(name), canopy, CVector::ZERO);
    };
    for (unsigned column = 0; column < m_AttachmentsPerSide; ++column) {
        const std::string c = std::to_string(column + 1);
        m_LA.push_back(onCanopy("LA" + c));
        m_RA.push_back(onCanopy("RA" + c));
        m_LB.push_back(onCanopy("LB" + c));
        m_RB.push_back(onCanopy("RB" + c));
        m_LC.push_back(onCanopy("LC" + c));
        m_RC.push_back(onCanopy("RC" + c));
        m_LD.push_back(onCanopy("LD" + c));
        m_RD.push_back(onCanopy("RD" + c));

        // The slider's rings: lines that share a ring lie side by side.
        const CVector spacing = m_ConnectionOffset * static_cast<float>(column);
        m_LG1.push_back(std::make_shared<CJointAttached>(attachment("LG1"), slider, spacing));
        m_LG2.push_back(std::make_shared<CJointAttached>(attachment("LG2"), slider, spacing));
        m_RG1.push_back(std::make_shared<CJointAttached>(attachment("RG1"), slider, -spacing));
        m_RG2.push_back(std::make_shared<CJointAttached>(attachment("RG2"), slider, -spacing));

        m_LAB.push_back(std::make_shared<CMergeAttached>(lines->GetChild("LAB" + c), m_LG1.back(), m_LA.back(),
                                                         m_LB.back()));
        m_LCD.push_back(std::make_shared<CMergeAttached>(lines->GetChild("LCD" + c), m_LG2.back(), m_LC.back(),
                                                         m_LD.back()));
        m_RAB.push_back(std::make_shared<CMergeAttached>(lines->GetChild("RAB" + c), m_RG1.back(), m_RA.back(),
                                                         m_RB.back()));
        m_RCD.push_back(std::make_shared<CMergeAttached>(lines->GetChild("RCD" + c), m_RG2.back(), m_RC.back(),
                                                         m_RD.back()));

        for (const auto& segment :
             {std::make_pair<CAttachmentPointPtr, CAttachmentPointPtr>(m_LA.back(), m_LAB.back()),
              {m_RA.back(), m_RAB.back()}, {m_LB.back(), m_LAB.back()}, {m_RB.back(), m_RAB.back()},
              {m_LG1.back(), m_LAB.back()}, {m_RG1.back(), m_RAB.back()}, {m_LC.back(), m_LCD.back()},
              {m_RC.back(), m_RCD.back()}, {m_LD.back(), m_LCD.back()}, {m_RD.back(), m_RCD.back()},
              {m_LG2.back(), m_LCD.back()}, {m_RG2.back(), m_RCD.back()}})
            m_UpperSegments.push_back(Segment(segment.first, segment.second));
    }
    for (unsigned line = 0; line < m_NumControlLines; ++line) {
        m_LU.push_back(onCanopy("LU" + std::to_string(line + 1)));
        m_RU.push_back(onCanopy("RU" + std::to_string(line + 1)));
    }

    const unsigned middle = m_AttachmentsPerSide / 2;
    m_DataCollection[0] = std::make_shared<CMergeAttached>(lines->GetChild("DataCollection"), m_LB[middle], m_LC[middle]);
    m_DataCollection[1] = std::make_shared<CMergeAttached>(lines->GetChild("DataCollection"), m_RB[middle], m_RC[middle]);
    m_LeftControl = std::make_shared<CMergeAttached>(lines->GetChild("LU"), m_LG2[middle],
                                                     std::vector<CAttachmentPointPtr>(m_LU.begin(), m_LU.end()));
    m_RightControl = std::make_shared<CMergeAttached>(lines->GetChild("RU"), m_RG2[middle],
                                                      std::vector<CAttachmentPointPtr>(m_RU.begin(), m_RU.end()));

    // Each riser reaches "Distance" from its attachment on the container
    // towards the slider's middle ring of its side.
    m_RiserRestPoints[LEFT_FRONT] = std::make_shared<CMergeAttached>(lines->GetChild("LFR"), m_LG1[middle], leftRisers);
    m_RiserRestPoints[LEFT_REAR] = std::make_shared<CMergeAttached>(lines->GetChild("LRR"), m_LG2[middle], leftRisers);
    m_RiserRestPoints[RIGHT_FRONT] =
        std::make_shared<CMergeAttached>(lines->GetChild("RFR"), m_RG1[middle], rightRisers);
    m_RiserRestPoints[RIGHT_REAR] = std::make_shared<CMergeAttached>(lines->GetChild("RRR"), m_RG2[middle], rightRisers);

    m_LeftHandPoint = std::make_shared<CCopyAttached>(leftHand);
    m_RightHandPoint = std::make_shared<CCopyAttached>(rightHand);
    for (int riser = 0; riser < 4; ++riser)
        m_MovingRiserPoints[riser] = std::make_shared<CIndirectAttachment>(m_RiserRestPoints[riser]);

    // The lower lines fan out across the top of each riser, one per column.
    for (unsigned column = 0; column < m_AttachmentsPerSide; ++column) {
        const CVector offset = m_ConnectionOffset * static_cast<float>(column) -
                               m_ConnectionOffset * static_cast<float>(m_AttachmentsPerSide) * 0.5f;
        for (int riser = 0; riser < 4; ++riser)
            m_Fans[riser].push_back(std::make_shared<COffsetAttached>(m_MovingRiserPoints[riser], offset));
        m_LowerSegments.push_back(Segment(m_LG1[column], m_Fans[LEFT_FRONT][column]));
        m_LowerSegments.push_back(Segment(m_RG1[column], m_Fans[RIGHT_FRONT][column]));
        m_LowerSegments.push_back(Segment(m_LG2[column], m_Fans[LEFT_REAR][column]));
        m_LowerSegments.push_back(Segment(m_RG2[column], m_Fans[RIGHT_REAR][column]));
    }
    // The control lines join above the rear rings and run down to the toggles.
    for (unsigned line = 0; line < m_NumControlLines; ++line) {
        m_UpperSegments.push_back(Segment(m_LU[line], m_LeftControl));
        m_UpperSegments.push_back(Segment(m_RU[line], m_RightControl));
    }
    m_UpperSegments.push_back(Segment(m_LeftControl, m_LG2.front()));
    m_UpperSegments.push_back(Segment(m_RightControl, m_RG2.front()));
    m_LowerSegments.push_back(Segment(m_LG2.front(), m_LeftTogglePoint));
    m_LowerSegments.push_back(Segment(m_RG2.front(), m_RightTogglePoint));

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

    // The slider rests on the lines a little above the risers' roots.
    const xml::CNodePtr sliderPlacement = lines->GetChild("Slider");
    m_CanopyPoint = std::make_shared<CCopyAttached>(canopy);
    m_SliderBase = std::make_shared<CObjAttached>(sliderPlacement, container, CVector::ZERO);
    m_SliderPlacement = std::make_shared<CAlignedAttached>(sliderPlacement, slider, m_CanopyPoint, m_SliderBase);
}

std::shared_ptr<CRope> CSuspensionLines::Segment(const CAttachmentPointPtr& first,
                                                 const CAttachmentPointPtr& second) const
{
    return std::make_shared<CRope>(CreateLineObject(m_LineMesh), first, second);
}

void CSuspensionLines::Update(const CTiming& timing)
{
    m_Canopy->UpdateAnimation();
    m_CanopyPoint->Update(timing);
    m_SliderBase->Update(timing);
    // In the bag and while it comes down the lines the deployment carries the
    // slider; from the moment it sits on the rig the lines do.
    if (m_Slider->GetParent() == m_Container)
        m_SliderPlacement->Update(timing);
    m_Slider->UpdateTransform();
    m_Slider->UpdateAnimation();
    m_LeftRisers->Update(timing);
    m_RightRisers->Update(timing);
    if (m_FullUpdate) {
        for (const CJointPoints* row : {&m_LA, &m_LB, &m_LC, &m_LD, &m_LU, &m_RA, &m_RB, &m_RC, &m_RD, &m_RU})
            UpdateAll(*row, timing);
    }
    UpdateAll(m_LG1, timing);
    UpdateAll(m_RG1, timing);
    UpdateAll(m_LG2, timing);
    UpdateAll(m_RG2, timing);
    if (m_FullUpdate) {
        for (const CMergePoints* cascades : {&m_LAB, &m_RAB, &m_LCD, &m_RCD})
            UpdateAll(*cascades, timing);
        m_LeftHandPoint->Update(timing);
        m_RightHandPoint->Update(timing);
        m_LeftControl->Update(timing);
        m_RightControl->Update(timing);
    }
    for (const CAttachmentPointPtr& rest : m_RiserRestPoints)
        rest->Update(timing);
    for (const auto& moving : m_MovingRiserPoints)
        moving->Update(timing);
    if (m_FullUpdate)
        UpdateAll(m_UpperSegments, timing);
    UpdateAll(m_RiserSegments, timing);
    for (const ERiser riser : {LEFT_FRONT, RIGHT_FRONT, LEFT_REAR, RIGHT_REAR})
        UpdateAll(m_Fans[riser], timing);
    m_Risers[LEFT_REAR]->UpdateTransform();
    m_Risers[RIGHT_REAR]->UpdateTransform();
    m_LeftToggleRiserPoint->Update(timing);
    m_RightToggleRiserPoint->Update(timing);
    m_LeftTogglePlacement->Update(timing);
    m_RightTogglePlacement->Update(timing);
    m_LeftTogglePoint->Update(timing);
    m_RightTogglePoint->Update(timing);
    UpdateAll(m_LowerSegments, timing);
    m_DataCollection[0]->Update(timing);
    m_DataCollection[1]->Update(timing);
}

} // namespace sds
