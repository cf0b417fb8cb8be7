#pragma once

#include <memory>
#include <vector>

#include "core/Node.h"
#include "graphics/IGfxObj.h"
#include "jumper/AlignedAttached.h"
#include "jumper/CopyAttached.h"
#include "jumper/IndirectAttachment.h"
#include "jumper/JointAttached.h"
#include "jumper/MergeAttached.h"
#include "jumper/ObjAttached.h"
#include "jumper/OffsetAttached.h"
#include "jumper/Rope.h"
#include "jumper/ToggleAttached.h"

namespace sds {

// The drawn lines between the open canopy, the slider and the jumper: the A
// to D lines from the canopy's joints through their cascades down to the
// slider's rings, the control lines down to the toggles, the lower lines from
// the rings fanning onto the four risers, the risers from the container's
// riser attachments, the toggles on the rear risers, and the points the rig
// moves when a hand takes a toggle or a riser. Once the slider sits on the rig
// the lines carry it, "Distance" up from its base on the rig towards the
// canopy; until then the deployment's stages move it. Nothing here is
// physical; every point is recomputed each frame from the objects and bones
// it follows.
class CSuspensionLines : public IUpdate
{
public:
    enum ERiser { LEFT_FRONT, LEFT_REAR, RIGHT_FRONT, RIGHT_REAR };

    // `lines` is the canopy model's "SuspensionLines" element, the toggles
    // the container model's "LeftToggle" and "RightToggle"; the risers come in
    // the order of ERiser. Throws the XML layer's exceptions for missing
    // elements, CException for a joint the canopy or slider lacks or a count
    // below 1.
    CSuspensionLines(const xml::CNodePtr& lines, const xml::CNodePtr& leftToggle, const xml::CNodePtr& rightToggle,
                     const CGfxObjPtr& canopy, const CGfxObjPtr& container, const CAttachmentPointPtr& leftRisers,
                     const CAttachmentPointPtr& rightRisers, const CGfxObjPtr& leftFrontRiser,
                     const CGfxObjPtr& leftRearRiser, const CGfxObjPtr& rightFrontRiser,
                     const CGfxObjPtr& rightRearRiser, const CGfxObjPtr& slider, const CGfxObjPtr& leftHand,
                     const CGfxObjPtr& rightHand);

    // Followed points before their followers, segments after their ends.
    void Update(const CTiming& timing) override;
    // From now on the points on the canopy's side, the upper segments and the
    // hands' points follow as well; until then the upper lines stay where
    // they were made. The rig turns this on as the canopy starts to inflate.
    void EnableFullUpdate() { m_FullUpdate = true; }
    bool IsFullUpdate() const { return m_FullUpdate; }

    // What the rig moves when a hand takes or leaves a control.
    CToggleAttached& GetTogglePlacement(bool left) { return *(left ? m_LeftTogglePlacement : m_RightTogglePlacement); }
    const CDummyAttachedPtr& GetHandPoint(bool left) const { return left ? m_LeftHandPoint : m_RightHandPoint; }
    const CDummyAttachedPtr& GetToggleRiserPoint(bool left) const
    {
        return left ? m_LeftToggleRiserPoint : m_RightToggleRiserPoint;
    }
    CIndirectAttachment& GetMovingRiserPoint(ERiser riser) { return *m_MovingRiserPoints[riser]; }
    const CAttachmentPointPtr& GetRiserRestPoint(ERiser riser) const { return m_RiserRestPoints[riser]; }
    const CGfxObjPtr& GetToggle(bool left) const { return left ? m_LeftToggle : m_RightToggle; }
    const std::vector<std::shared_ptr<CRope>>& GetRiserSegments() const { return m_RiserSegments; }
    unsigned GetAttachmentsPerSide() const { return m_AttachmentsPerSide; }
    // Canopy to cascades to rings and control lines (12n + 2m + 2), and rings
    // to riser fans and toggles (4n + 2).
    const std::vector<std::shared_ptr<CRope>>& GetUpperSegments() const { return m_UpperSegments; }
    const std::vector<std::shared_ptr<CRope>>& GetLowerSegments() const { return m_LowerSegments; }
    // The points of the slider's rings, by column.
    const std::shared_ptr<CJointAttached>& GetGroupPoint(bool left, bool front, unsigned column) const
    {
        return (left ? (front ? m_LG1 : m_LG2) : (front ? m_RG1 : m_RG2))[column];
    }
    // The lower lines' ends on a riser, by column.
    const std::shared_ptr<COffsetAttached>& GetFanPoint(ERiser riser, unsigned column) const
    {
        return m_Fans[riser][column];
    }
    // Where the lines carry the slider, and its base on the rig.
    const CAlignedAttached& GetSliderPlacement() const { return *m_SliderPlacement; }
    const CAttachmentPointPtr& GetSliderBase() const { return m_SliderBase; }
    // Between the B and C lines of the middle column, for whoever collects flight data.
    const CAttachmentPointPtr& GetDataCollectionPoint(bool left) const { return m_DataCollection[left ? 0 : 1]; }

private:
    typedef std::vector<std::shared_ptr<CJointAttached>> CJointPoints;
    typedef std::vector<std::shared_ptr<CMergeAttached>> CMergePoints;

    std::shared_ptr<CRope> Segment(const CAttachmentPointPtr& first, const CAttachmentPointPtr& second) const;

    CGfxObjPtr m_LeftToggle;
    CGfxObjPtr m_RightToggle;
    CGfxObjPtr m_Risers[4];
    CGfxObjPtr m_Canopy;
    CGfxObjPtr m_Slider;
    CGfxObjPtr m_Container;
    std::vector<std::shared_ptr<CRope>> m_RiserSegments;
    CGfxObjPtr m_LeftHand;
    CGfxObjPtr m_RightHand;
    xml::CNodePtr m_LeftToggleConfig;
    xml::CNodePtr m_RightToggleConfig;
    std::vector<std::shared_ptr<CRope>> m_UpperSegments;
    std::vector<std::shared_ptr<CRope>> m_LowerSegments;
    xml::CNodePtr m_LineMesh;
    // The canopy's rows, one point per column (U: the control lines).
    CJointPoints m_LA, m_LB, m_LC, m_LD, m_LU, m_RA, m_RB, m_RC, m_RD, m_RU;
    // Where the A and B (C and D) lines of a column join.
    CMergePoints m_LAB, m_LCD, m_RAB, m_RCD;
    std::shared_ptr<CMergeAttached> m_LeftControl, m_RightControl;
    // The slider's rings, one point per column of lines.
    CJointPoints m_LG1, m_RG1, m_LG2, m_RG2;
    // The risers' upper ends at rest, and the ends that follow them or a hand.
    CAttachmentPointPtr m_RiserRestPoints[4];
    std::shared_ptr<CIndirectAttachment> m_MovingRiserPoints[4];
    // The lower lines' ends on each riser, side by side.
    std::vector<std::shared_ptr<COffsetAttached>> m_Fans[4];
    CAttachmentPointPtr m_LeftRisers;
    CAttachmentPointPtr m_RightRisers;
    CDummyAttachedPtr m_LeftTogglePoint;
    CDummyAttachedPtr m_RightTogglePoint;
    std::shared_ptr<CToggleAttached> m_LeftTogglePlacement;
    std::shared_ptr<CToggleAttached> m_RightTogglePlacement;
    CDummyAttachedPtr m_LeftToggleRiserPoint;
    CDummyAttachedPtr m_RightToggleRiserPoint;
    CDummyAttachedPtr m_LeftHandPoint;
    CDummyAttachedPtr m_RightHandPoint;
    std::shared_ptr<CAlignedAttached> m_SliderPlacement;
    CAttachmentPointPtr m_SliderBase;
    CAttachmentPointPtr m_CanopyPoint;
    CAttachmentPointPtr m_DataCollection[2];
    unsigned m_AttachmentsPerSide = 0;
    unsigned m_NumControlLines = 0;
    CVector m_ConnectionOffset;
    bool m_FullUpdate = false;
};

} // namespace sds
