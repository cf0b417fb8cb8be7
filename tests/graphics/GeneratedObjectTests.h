#pragma once

// Ropes, triangles, dials and ribbon trails through the graphics service, run
// against every implementation (instantiated with a world type in each test
// binary). The world offers DefineTextOverlay(overlay, element).

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "support/FailureText.h"
#include "support/VectorNear.h"

#include "core/Exception.h"
#include "core/XmlFile.h"
#include "graphics/IDial.h"
#include "graphics/IGfxMgr.h"
#include "graphics/IRibbonTrail.h"

// The elements of a test instrument: a dark face seen from above by the dial's
// camera, and a needle pointing to twelve o'clock at rest.
inline xml::CNodePtr TestDialElement(const std::string& xml)
{
    return xml::LoadXmlFromMemory(xml, "dial")->GetChildren().begin()->second;
}

inline const char* TestRenderTargetXml()
{
    return "<RTT Width='64' Height='64' ZOrder='0' BgColor='0 0 0 1' NearClipDistance='0.1' "
           "FarClipDistance='10' CameraPos='0, 1.3, 0' CameraRotation='-90, 0, 0'/>";
}

inline const char* TestFaceXml()
{
    return "<Dial Material='Test/DialFace' Position='0, 0, 0' Orientation='1, 0, 0, 0' Scale='1, 1, 1'/>";
}

inline const char* TestNeedleXml()
{
    return "<Arrow Material='Test/DialNeedle' Position='0, 0.01, -0.2' Orientation='1, 0, 0, 0' "
           "Scale='0.06, 1, 0.4'/>";
}

template <class TWorld>
class GeneratedObjectTest : public ::testing::Test
{
protected:
    sds::IGfxMgr& Mgr() { return m_World.Mgr(); }

    std::shared_ptr<sds::IDial> MakeAnalogDial()
    {
        return Mgr().CreateDial(TestDialElement(TestRenderTargetXml()), TestDialElement(TestFaceXml()),
                                TestDialElement(TestNeedleXml()));
    }

    // The message of what the call throws, or "" when it throws nothing.
    template <class TCall>
    static std::string Failure(TCall call)
    {
        return FailureText(call);
    }

    TWorld m_World;
};

TYPED_TEST_SUITE_P(GeneratedObjectTest);

TYPED_TEST_P(GeneratedObjectTest, RopeHangsUnderItsParentOnManualBones)
{
    const sds::CGfxObjPtr boxes[2] = {this->Mgr().CreateBox(sds::CVector(1, 1, 1)), this->Mgr().CreateBox({1, 1, 1})};
    const sds::CGfxObjPtr parent = this->Mgr().CreateObject(">novis", nullptr);
    const sds::CGfxObjPtr rope = this->Mgr().CreateRope(4.0f, 0.02f, 4, parent);
    EXPECT_EQ("_RopeNode1", rope->GetName());
    EXPECT_EQ(parent, rope->GetParent());
    EXPECT_EQ("Rope", rope->GetSubEntityMaterialName(0));
    // The box encloses the tube, from its top down 4.
    const sds::CBoundingBox box = rope->GetBoundingBox();
    EXPECT_LE(box.m_Min.y, -4.0f);
    EXPECT_GE(box.m_Max.y, 0.0f);
    EXPECT_LE(box.m_Min.x, -0.01f);
    EXPECT_GE(box.m_Max.z, 0.01f);

    const sds::CSkeletonPtr skeleton = rope->GetSkeleton();
    ASSERT_TRUE(skeleton);
    ASSERT_EQ(6u, skeleton->GetNumJoints());
    EXPECT_EQ("RootBone", skeleton->GetJoint(0)->GetName());
    EXPECT_TRUE(skeleton->GetJoint(0)->IsRoot());
    const float expectedY[6] = {0, 0, -1, -2, -3, -1};
    for (std::uint16_t handle = 0; handle < 6; ++handle) {
        EXPECT_EQ(handle, skeleton->GetJoint(handle)->GetHandle());
        EXPECT_VECTOR_NEAR(sds::CVector(0, expectedY[handle], 0), skeleton->GetJoint(handle)->GetPos(), 1e-5f);
    }

    const sds::CGfxObjPtr second = this->Mgr().CreateRope(1.0f, 0.01f, 4, nullptr);
    EXPECT_EQ("_RopeNode2", second->GetName());
    EXPECT_EQ(this->Mgr().GetRootObject(), second->GetParent());
    EXPECT_NE(rope->GetEntityName(), second->GetEntityName());
}

TYPED_TEST_P(GeneratedObjectTest, RopeBoundsFollowItsBones)
{
    const sds::CGfxObjPtr rope = this->Mgr().CreateRope(4.0f, 0.02f, 4, nullptr);
    const sds::CJointPtr last = rope->GetSkeleton()->GetJoint(4);
    last->SetPos(sds::CVector(3, -10, 0));
    rope->UpdateAnimation();
    const sds::CBoundingBox box = rope->GetBoundingBox();
    EXPECT_LE(box.m_Min.y, -10.0f);
    EXPECT_GE(box.m_Max.x, 3.0f);
    EXPECT_GE(box.m_Max.y, 0.0f);
    // Animations never move a rope's bones.
    EXPECT_VECTOR_NEAR(sds::CVector(3, -10, 0), last->GetPos(), 1e-5f);
}

TYPED_TEST_P(GeneratedObjectTest, BadRopesAreRefusedAndLeaveNothing)
{
    const sds::CGfxObjPtr parent = this->Mgr().CreateObject(">novis", nullptr);
    EXPECT_EQ("A rope has from 1 to 16383 segments, not 0",
              this->Failure([&] { this->Mgr().CreateRope(4.0f, 0.02f, 0, parent); }));
    EXPECT_NE("", this->Failure([&] { this->Mgr().CreateRope(4.0f, 0.02f, 20000, parent); }));
    EXPECT_NE("", this->Failure([&] { this->Mgr().CreateRope(std::nanf(""), 0.02f, 4, parent); }));
    EXPECT_NE("", this->Failure([&] { this->Mgr().CreateRope(4.0f, -1.0f, 4, parent); }));
    EXPECT_EQ(0, parent->GetNumChildren());

    // Ropes come and go under their parent.
    for (int i = 0; i < 20; ++i)
        this->Mgr().CreateRope(2.0f, 0.02f, 8, parent);
    EXPECT_EQ(0, parent->GetNumChildren());
}

TYPED_TEST_P(GeneratedObjectTest, TrianglesHaveTheirOwnColouredMaterial)
{
    sds::CFourFloats red, blue;
    red.ParseQuaternion("1,0,0,1");
    blue.ParseQuaternion("0,0,1,1");
    const sds::CGfxObjPtr first =
        this->Mgr().CreateTriangle(sds::CVector(0, 0, 0), sds::CVector(2, 0, 0), sds::CVector(0, 3, 1), red);
    const sds::CGfxObjPtr second =
        this->Mgr().CreateTriangle(sds::CVector(0, 0, 0), sds::CVector(1, 0, 0), sds::CVector(1, 1, 0), blue);
    EXPECT_EQ("_TriangleNode1", first->GetName());
    EXPECT_EQ("_TriangleNode2", second->GetName());
    EXPECT_EQ(this->Mgr().GetRootObject(), first->GetParent());
    EXPECT_NE(first->GetEntityName(), second->GetEntityName());
    EXPECT_NE(first->GetSubEntityMaterialName(0), second->GetSubEntityMaterialName(0));
    EXPECT_NE("Triangle", first->GetSubEntityMaterialName(0));

    const sds::CBoundingBox box = first->GetBoundingBox();
    EXPECT_VECTOR_NEAR(sds::CVector(0, 0, 0), box.m_Min, 1e-6f);
    EXPECT_VECTOR_NEAR(sds::CVector(2, 3, 1), box.m_Max, 1e-6f);

    // Corners on one line are a mark too.
    EXPECT_TRUE(this->Mgr().CreateTriangle(sds::CVector(0, 0, 0), sds::CVector(1, 1, 1), sds::CVector(2, 2, 2), red));
}

TYPED_TEST_P(GeneratedObjectTest, DialsHaveTheirOwnMaterials)
{
    const auto first = this->MakeAnalogDial();
    const auto second = this->MakeAnalogDial();
    EXPECT_NE(first->GetMaterialName(), second->GetMaterialName());
    EXPECT_EQ(0u, first->GetMaterialName().find("RttMat"));
    first->SetValue(90.0f);
    first->SetText("kept only");

    this->m_World.DefineTextOverlay("Test/DigitalDial", "Test/DigitalDial/Value");
    const auto digital =
        this->Mgr().CreateDial(TestDialElement("<RTT Width='64' Height='32' ZOrder='0' BgColor='0 0 0' "
                                               "NearClipDistance='1' FarClipDistance='10' CameraPos='0,0,0' "
                                               "CameraRotation='0,0,0'/>"),
                               TestDialElement("<Dial Overlay='Test/DigitalDial' Value='Test/DigitalDial/Value'/>"),
                               TestDialElement("<Arrow/>"));
    digital->SetValue(45.0f);
    digital->SetText("4050");
    const sds::COverlayedPtr overlay = this->Mgr().CreateOverlayed("Test/DigitalDial");
    EXPECT_EQ("4050", overlay->GetElement("Test/DigitalDial/Value")->GetCaption());
    EXPECT_NE(first->GetMaterialName(), digital->GetMaterialName());
}

TYPED_TEST_P(GeneratedObjectTest, BadDialsFailNamingWhatIsWrong)
{
    this->m_World.DefineTextOverlay("Test/DigitalDial", "Test/DigitalDial/Value");
    const xml::CNodePtr target = TestDialElement(TestRenderTargetXml());
    const xml::CNodePtr face = TestDialElement(TestFaceXml());
    const xml::CNodePtr needle = TestDialElement(TestNeedleXml());
    struct Case
    {
        std::string renderTarget, dial;
        const char* part;
    };
    const std::string rtt = TestRenderTargetXml();
    auto without = [](std::string xml, const std::string& attribute) {
        const std::size_t start = xml.find(" " + attribute + "=");
        const std::size_t end = xml.find('\'', xml.find('\'', start) + 1);
        return xml.erase(start, end - start + 1);
    };
    const Case cases[] = {
        {without(rtt, "Width"), TestFaceXml(), "does not have an attribute 'Width'"},
        {without(rtt, "CameraRotation"), TestFaceXml(), "does not have an attribute 'CameraRotation'"},
        {rtt, without(TestFaceXml(), "Material"), "does not have an attribute 'Material'"},
        {"<RTT Width='0' Height='64' ZOrder='0' BgColor='0 0 0 1' NearClipDistance='0.1' FarClipDistance='10' "
         "CameraPos='0,0,0' CameraRotation='0,0,0'/>",
         TestFaceXml(), "Width must be from 1 to 4096, not 0"},
        {"<RTT Width='64' Height='64' ZOrder='0' BgColor='' NearClipDistance='0.1' FarClipDistance='10' "
         "CameraPos='0,0,0' CameraRotation='0,0,0'/>",
         TestFaceXml(), "BgColor has an empty value"},
        {"<RTT Width='64' Height='64' ZOrder='0' BgColor='1 1 1' NearClipDistance='0' FarClipDistance='10' "
         "CameraPos='0,0,0' CameraRotation='0,0,0'/>",
         TestFaceXml(), "the near one above 0"},
        {rtt, "<Dial Value='Test/DigitalDial/Value'/>", "does not have an attribute 'Overlay'"},
        {rtt, "<Dial Overlay='Test/DigitalDial'/>", "does not have an attribute 'Value'"},
        {rtt, "<Dial Overlay='NoSuchOverlay' Value='Test/DigitalDial/Value'/>", "Overlay 'NoSuchOverlay' was not found"},
        {rtt, "<Dial Overlay='Test/DigitalDial' Value='NoSuchElement'/>", "Overlay element 'NoSuchElement' was not found"},
    };
    for (const Case& c : cases) {
        const std::string failure = this->Failure([&] {
            this->Mgr().CreateDial(TestDialElement(c.renderTarget), TestDialElement(c.dial), needle);
        });
        EXPECT_NE(std::string::npos, failure.find(c.part)) << failure << " / " << c.part;
    }
    EXPECT_NE(std::string::npos, this->Failure([&] {
                                         this->Mgr().CreateDial(target, face, TestDialElement("<Arrow/>"));
                                     }).find("does not have an attribute"));
}

TYPED_TEST_P(GeneratedObjectTest, TrailsFollowObjectsWithNodes)
{
    const sds::CGfxObjPtr anchor = this->Mgr().GetRootObject();
    const sds::CGfxObjPtr jumper = this->Mgr().CreateObject("Cube", nullptr);
    const auto trail = this->Mgr().CreateRibbonTrail(
        TestDialElement("<Trail NumberOfChains='2'><Chain Index='1' InitialColor='1 0.5 0' ColorChange='0 0 0 0.5' "
                        "InitialWidth='0.3' WidthChange='0.1'/></Trail>"),
        anchor);
    trail->AddObject(jumper);
    EXPECT_EQ(1.0f, trail->GetInitialColour().v[0]);
    trail->SetInitialColour(0, sds::CFourFloats());
    EXPECT_EQ(0.0f, trail->GetInitialColour().v[0]);
    trail->SetIntensity(0.5f);
    EXPECT_EQ("The ribbon trail has no chain 2, only 2", this->Failure([&] { trail->SetInitialWidth(2, 1.0f); }));
    trail->RemoveObject(jumper);

    // An object without a node of its own cannot be followed.
    const sds::CGfxObjPtr loose = this->Mgr().CreateMeshObject("Cube");
    const std::string expected =
        "A ribbon trail needs a scene node, and the object '" + loose->GetName() + "' has none";
    EXPECT_EQ(expected, this->Failure([&] { trail->AddObject(loose); }));
    EXPECT_EQ(expected, this->Failure([&] {
                  this->Mgr().CreateRibbonTrail(TestDialElement("<Trail/>"), loose);
              }));
}

TYPED_TEST_P(GeneratedObjectTest, BadTrailsFailNamingWhatIsWrong)
{
    const sds::CGfxObjPtr anchor = this->Mgr().GetRootObject();
    struct Case
    {
        const char* xml;
        const char* part;
    };
    const Case cases[] = {
        {"<Trail NumberOfChains='0'/>", "NumberOfChains must be from 1 to 256, not 0"},
        {"<Trail MaxElements='-1'/>", "MaxElements must be from 1 to 4096, not -1"},
        {"<Trail TrailLength='0'/>", "TrailLength must be from 1"},
        {"<Trail><Chain Index='1' InitialColor='1 1 1' ColorChange='0 0 0 0' InitialWidth='1' WidthChange='0'/></Trail>",
         "Index must be from 0 to 0, not 1"},
        {"<Trail><Chain Index='0' ColorChange='0 0 0 0' InitialWidth='1' WidthChange='0'/></Trail>",
         "does not have an attribute 'InitialColor'"},
        {"<Trail><Chain Index='0' InitialColor='' ColorChange='0 0 0 0' InitialWidth='1' WidthChange='0'/></Trail>",
         "InitialColor has an empty value"},
        {"<Trail><Chain Index='0' InitialColor='red' ColorChange='0 0 0 0' InitialWidth='1' WidthChange='0'/></Trail>",
         "is no colour"},
    };
    for (const Case& c : cases) {
        const std::string failure =
            this->Failure([&] { this->Mgr().CreateRibbonTrail(TestDialElement(c.xml), anchor); });
        EXPECT_NE(std::string::npos, failure.find(c.part)) << failure << " / " << c.part;
    }
}

TYPED_TEST_P(GeneratedObjectTest, ObjectsOutlivingASceneResetTouchNothing)
{
    this->m_World.DefineTextOverlay("Test/DigitalDial", "Test/DigitalDial/Value");
    sds::CGfxObjPtr rope = this->Mgr().CreateRope(4.0f, 0.02f, 4, nullptr);
    sds::CGfxObjPtr triangle = this->Mgr().CreateTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, sds::CFourFloats());
    auto dial = this->MakeAnalogDial();
    auto trail = this->Mgr().CreateRibbonTrail(TestDialElement("<Trail HeadMaterial='BaseWhite'/>"),
                                               this->Mgr().GetRootObject());
    trail->AddObject(rope);
    this->m_World.ResetScene();

    dial->SetValue(30.0f);
    dial->SetText("after");
    trail->SetIntensity(0.5f);
    trail->SetInitialColour(0, sds::CFourFloats());
    rope.reset();
    triangle.reset();
    dial.reset();
    trail.reset();
    // The new scene is whole.
    EXPECT_EQ("_RopeNode2", this->Mgr().CreateRope(1.0f, 0.02f, 2, nullptr)->GetName());
}

REGISTER_TYPED_TEST_SUITE_P(GeneratedObjectTest, RopeHangsUnderItsParentOnManualBones, RopeBoundsFollowItsBones,
                            BadRopesAreRefusedAndLeaveNothing, TrianglesHaveTheirOwnColouredMaterial,
                            DialsHaveTheirOwnMaterials, BadDialsFailNamingWhatIsWrong, TrailsFollowObjectsWithNodes,
                            BadTrailsFailNamingWhatIsWrong, ObjectsOutlivingASceneResetTouchNothing);
