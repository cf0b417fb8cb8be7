#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/Exception.h"
#include "jumper/AlignedAttached.h"
#include "jumper/CopyAttached.h"
#include "jumper/IndirectAttachment.h"
#include "jumper/JointAttached.h"
#include "jumper/MergeAttached.h"
#include "jumper/ObjAttached.h"
#include "jumper/OffsetAttached.h"
#include "jumper/Rope.h"
#include "jumper/ToggleAttached.h"
#include "RigWorld.h"

using sds::CAttachmentPointPtr;
using sds::CGfxObjPtr;
using sds::CQuaternion;
using sds::CVector;

namespace {

// A point at a fixed place, for the points that follow points.
class CFixedPoint : public sds::IAttachmentPoint
{
public:
    explicit CFixedPoint(const CVector& pos) { m_Pos = pos; }
    void Update(const sds::CTiming&) override {}
};

CAttachmentPointPtr At(float x, float y = 0.0f, float z = 0.0f)
{
    return std::make_shared<CFixedPoint>(CVector(x, y, z));
}

} // namespace

class AttachmentPointTest : public RigTest
{
protected:
    CGfxObjPtr Object(const CVector& pos)
    {
        const CGfxObjPtr object = m_Gfx.CreateObject(">novis", nullptr);
        object->SetPos(pos);
        return object;
    }
};

TEST_F(AttachmentPointTest, AnObjectPointHidesATinyMarkerAtItsOffset)
{
    const CGfxObjPtr parent = Object({0, 10, 0});
    const xml::CNodePtr element = Xml("<RiserAttachment Offset=\"0,-0.15,0.1\" />");
    sds::CObjAttached point(element, parent, {1, 1, 1});
    sds::CObjAttached other(element, parent, CVector::ZERO);
    const CGfxObjPtr marker = point.GetObject();
    EXPECT_EQ(parent, marker->GetParent());
    EXPECT_VECTOR_NEAR(CVector(1, 0.85f, 1.1f), marker->GetPos(), 1e-6f);
    EXPECT_EQ(CVector(0.001f, 0.001f, 0.001f), marker->GetScale());
    EXPECT_FALSE(marker->IsVisible());
    EXPECT_NE(marker->GetName(), other.GetObject()->GetName());
    EXPECT_EQ(CVector::ZERO, point.m_Pos);
    point.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(1, 10.85f, 1.1f), point.m_Pos, 1e-5f);
    EXPECT_THROW(sds::CObjAttached(Xml("<RiserAttachment />"), parent, CVector::ZERO), xml::CNoNodeException);
}

TEST_F(AttachmentPointTest, ACopyPointTakesItsObjectsWorldPosition)
{
    const CGfxObjPtr object = Object(CVector::ZERO);
    sds::CCopyAttached point(object);
    point.Update(m_Frame);
    EXPECT_EQ(CVector::ZERO, point.m_Pos);
    object->SetPos({1, 2, 3});
    EXPECT_EQ(CVector::ZERO, point.m_Pos); // until its next update
    point.Update(m_Frame);
    EXPECT_EQ(CVector(1, 2, 3), point.m_Pos);
}

TEST_F(AttachmentPointTest, ARetargetedTogglePointMovesItsToggleAtTheNextUpdate)
{
    const CGfxObjPtr riser = Object({0, 5, 0});
    const CGfxObjPtr hand = Object({2, 4, 0});
    hand->SetOrientation(CQuaternion(0, 0, 1, 0));
    const CGfxObjPtr toggle = Object(CVector::ZERO);
    const auto stowed = std::make_shared<sds::CCopyAttached>(riser);
    const auto held = std::make_shared<sds::CCopyAttached>(hand);
    sds::CToggleAttached point(stowed, toggle);
    stowed->Update(m_Frame);
    held->Update(m_Frame);
    point.Update(m_Frame);
    EXPECT_EQ(CVector(0, 5, 0), toggle->GetPos());
    point.SetTarget(held);
    EXPECT_EQ(CVector(0, 5, 0), toggle->GetPos());
    point.Update(m_Frame);
    EXPECT_EQ(CVector(2, 4, 0), toggle->GetPos());
    EXPECT_EQ(CQuaternion(0, 0, 1, 0), toggle->GetOrientation());
    sds::CToggleAttached(nullptr, toggle).Update(m_Frame); // nothing to follow: nothing happens
}

TEST_F(AttachmentPointTest, AJointPointFollowsItsBoneWhereverTheObjectStands)
{
    // The test mesh: Root at the origin, Arm 1 up; "Move" takes the Arm 2 along +x.
    const CGfxObjPtr object = m_Gfx.CreateObject("SkeletonTest", nullptr);
    object->SetPos({0, 1000, 0});
    sds::CJointAttached point(Xml("<Attachment Joint=\"Arm\" Offset=\"0, 1.5, 0\" />"), object, {0, 0, 0.25f});
    EXPECT_FALSE(point.GetMarker()->IsVisible());
    point.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(0, 1001.5f, 0.25f), point.m_Pos, 1e-3f);

    const sds::CAnimationPtr move = object->GetAnimation("Move", 1.0f, false, false, true);
    move->SetRelativePosition(1.0f);
    object->UpdateAnimation();
    point.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(2, 1001.5f, 0.25f), point.m_Pos, 1e-3f);

    try {
        sds::CJointAttached(Xml("<Attachment Joint=\"Foot\" Offset=\"0, 0, 0\" />"), object, CVector::ZERO);
        ADD_FAILURE();
    } catch (const sds::CException& e) {
        EXPECT_STREQ("Joint does not exist: Foot", e.what());
    }
    EXPECT_THROW(sds::CJointAttached(Xml("<Attachment Joint=\"Arm\" />"), object, CVector::ZERO), xml::CNoNodeException);
}

TEST_F(AttachmentPointTest, AnIndirectPointCopiesWhicheverPointItFollows)
{
    const CAttachmentPointPtr rest = At(1, 2, 3);
    const CAttachmentPointPtr hand = At(4, 5, 6);
    sds::CIndirectAttachment point(rest);
    point.Update(m_Frame);
    EXPECT_EQ(CVector(1, 2, 3), point.m_Pos);
    point.SetTarget(hand);
    point.Update(m_Frame);
    EXPECT_EQ(CVector(4, 5, 6), point.m_Pos);
}

TEST_F(AttachmentPointTest, MergedPointsWeighEachLaterSourceAsAllBeforeIt)
{
    const xml::CNodePtr atSources = Xml("<LAB Distance=\"0\" />");
    const CAttachmentPointPtr anchor = At(0, 10);
    sds::CMergeAttached last(atSources, anchor, {At(0), At(0), At(0), At(8)});
    last.Update(m_Frame);
    EXPECT_EQ(CVector(4, 0, 0), last.m_Pos);
    sds::CMergeAttached first(atSources, anchor, {At(8), At(0), At(0), At(0)});
    first.Update(m_Frame);
    EXPECT_EQ(CVector(1, 0, 0), first.m_Pos);
    sds::CMergeAttached pair(atSources, anchor, At(0), At(2));
    pair.Update(m_Frame);
    EXPECT_EQ(CVector(1, 0, 0), pair.m_Pos);

    // A riser's end: its attachment carried the distance towards the anchor.
    sds::CMergeAttached riser(Xml("<LFR Distance=\"0.4\" />"), At(3, 4), At(0));
    riser.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(0.24f, 0.32f, 0), riser.m_Pos, 1e-6f);
    sds::CMergeAttached onTheAnchor(Xml("<LFR Distance=\"0.4\" />"), At(0), At(0));
    onTheAnchor.Update(m_Frame);
    EXPECT_EQ(CVector::ZERO, onTheAnchor.m_Pos);
    EXPECT_THROW(sds::CMergeAttached(Xml("<LFR />"), anchor, At(0)), xml::CNoNodeException);
}

TEST_F(AttachmentPointTest, ARopeStretchesItsPieceFromTheFirstEndToTheSecond)
{
    const CGfxObjPtr piece = m_Gfx.CreateObject("Riser", nullptr);
    piece->SetScale({0.04f, 1, 0.01f});
    sds::CRope rope(piece, At(0, -2), At(0));
    rope.Update(m_Frame);
    EXPECT_EQ(CVector(0, -1, 0), piece->GetPos());
    EXPECT_EQ(CVector(0.04f, 2, 0.01f), piece->GetScale());
    EXPECT_VECTOR_NEAR(CVector(0, 1, 0), piece->GetOrientation() * CVector(0, 1, 0), 1e-6f);

    sds::CRope swapped(piece, At(0), At(0, -2));
    swapped.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(0, -1, 0), piece->GetOrientation() * CVector(0, 1, 0), 1e-6f);

    sds::CRope slanted(piece, At(3, 4), At(0));
    slanted.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(-0.6f, -0.8f, 0), piece->GetOrientation() * CVector(0, 1, 0), 1e-6f);
    EXPECT_NEAR(5.0f, piece->GetScale().y, 1e-6f);

    sds::CRope together(piece, At(1), At(1));
    together.Update(m_Frame);
    EXPECT_EQ(0.0f, piece->GetScale().y);
    EXPECT_NEAR(1.0f, piece->GetOrientation().w, 1e-6f);

    // Between two objects the rope keeps its own ends up to date.
    const CGfxObjPtr a = m_Gfx.CreateObject(">novis", nullptr);
    const CGfxObjPtr b = m_Gfx.CreateObject(">novis", nullptr);
    sds::CRope between(piece, a, b);
    a->SetPos({0, 3, 0});
    between.Update(m_Frame);
    EXPECT_EQ(CVector(0, 1.5f, 0), piece->GetPos());
    EXPECT_EQ(3.0f, piece->GetScale().y);
}

TEST_F(AttachmentPointTest, AnOffsetPointKeepsWorldAxesWhateverItFollows)
{
    const auto target = std::make_shared<CFixedPoint>(CVector(1, 2, 3));
    sds::COffsetAttached point(target, {-0.0075f, 0, 0});
    point.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(0.9925f, 2, 3), point.m_Pos, 1e-6f);
    target->m_Pos = {0, 0, 0};
    point.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(-0.0075f, 0, 0), point.m_Pos, 1e-6f);
}

TEST_F(AttachmentPointTest, AnAlignedPointCarriesAndTurnsItsObjectTowardsTheAnchor)
{
    const CGfxObjPtr slider = Object({5, 5, 5});
    sds::CAlignedAttached point(Xml("<Slider Distance=\"0.36\" Orientation=\"1, 0, 0, 0\" />"), slider, At(0, 10),
                                At(0));
    point.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(0, 0.36f, 0), point.m_Pos, 1e-6f);
    EXPECT_VECTOR_NEAR(point.m_Pos, slider->GetPos(), 1e-6f);
    // Its −y axis points up at the anchor.
    EXPECT_VECTOR_NEAR(CVector(0, 1, 0), slider->GetOrientation() * CVector(0, -1, 0), 1e-5f);

    // "Orientation" turns it further, after the alignment; anchor and
    // reference in one place leave it at the reference.
    const CQuaternion quarter(0.70710677f, 0, 0.70710677f, 0);
    sds::CAlignedAttached turned(Xml("<Slider Distance=\"2\" Orientation=\"0.70710677, 0, 0.70710677, 0\" />"),
                                 slider, At(3, 0, 0), At(0, 0, 0));
    turned.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(2, 0, 0), slider->GetPos(), 1e-6f);
    const CQuaternion aligned = sds::GetRotationTo(CVector(0, -1, 0), CVector(1, 0, 0));
    EXPECT_VECTOR_NEAR((aligned * quarter) * CVector(0, 0, 1), slider->GetOrientation() * CVector(0, 0, 1), 1e-5f);
    sds::CAlignedAttached still(Xml("<Slider Distance=\"2\" Orientation=\"1, 0, 0, 0\" />"), slider, At(1), At(1));
    still.Update(m_Frame);
    EXPECT_VECTOR_NEAR(CVector(1, 0, 0), slider->GetPos(), 1e-6f);

    EXPECT_THROW(sds::CAlignedAttached(Xml("<Slider Distance=\"1\" />"), slider, At(0), At(1)), xml::CNoNodeException);
    EXPECT_THROW(sds::CAlignedAttached(Xml("<Slider Distance=\"\" Orientation=\"1,0,0,0\" />"), slider, At(0), At(1)),
                 xml::CBadValueException);
}

// Under a moved and turned parent the object still lands on the point in the
// world with its top to the anchor. A lean of the anchor to any side of
// straight above tilts it a little and never swings it round its height.
TEST_F(AttachmentPointTest, AnAlignedPointPlacesItsObjectThroughItsParentWithoutSwinging)
{
    const CGfxObjPtr rig = Object({10, 1000, -4});
    CQuaternion heading;
    heading.FromAngleAxis(1.2f, CVector::UNIT_Y);
    rig->SetOrientation(heading);
    rig->UpdateTransform();
    const CGfxObjPtr slider = Object(CVector::ZERO);
    rig->AddChild(slider);
    const xml::CNodePtr element = Xml("<Slider Distance=\"0.36\" Orientation=\"0, 0, 0, 1\" />");
    const CAttachmentPointPtr base = At(10, 1000, -4);
    for (const CVector& lean : {CVector(0, 0, 0), CVector(0.01f, 0, 0), CVector(-0.01f, 0, 0), CVector(0, 0, 0.01f),
                                CVector(0, 0, -0.01f), CVector(0.7f, 0, 0.7f)}) {
        SCOPED_TRACE(::testing::Message() << lean.x << ", " << lean.z);
        CVector up = lean + CVector(0, 5, 0);
        const CAttachmentPointPtr canopy = At(10 + up.x, 1000 + up.y, -4 + up.z);
        up.Normalize();
        sds::CAlignedAttached point(element, slider, canopy, base);
        point.Update(m_Frame);
        slider->UpdateTransform();
        EXPECT_VECTOR_NEAR(CVector(10, 1000, -4) + up * 0.36f, point.m_Pos, 1e-4f);
        EXPECT_VECTOR_NEAR(point.m_Pos, slider->GetWorldPos(), 1e-4f);
        EXPECT_VECTOR_NEAR(up, slider->GetWorldOrientation() * CVector::UNIT_Y, 1e-4f);
        // Its front keeps the parent's heading.
        EXPECT_GT((slider->GetWorldOrientation() * CVector::UNIT_X).Dot(heading * CVector::UNIT_X), 0.95f);
    }
}
