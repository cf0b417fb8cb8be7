#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/UnitConverter.h"
#include "graphics/memory/MemDial.h"
#include "graphics/memory/MemOverlayElement.h"
#include "jumper/AltimasterIII.h"
#include "jumper/DigitalAltimeter.h"
#include "RigWorld.h"
#include "support/FailureText.h"

using sds::CAltimeterPtr;
using sds::CGfxObjPtr;

// The shipped altimeter models on the project's jumper body, altitude 0 at
// 1000 m.
class AltimeterTest : public RigTest
{
protected:
    static constexpr float kReference = 1000.0f;

    AltimeterTest() : m_Body(m_Gfx.CreateObject("Body", nullptr))
    {
        m_Gfx.DefineOverlay("Altimeter/Digital", {"Altimeter/Digital/Value"});
    }

    static xml::CNodePtr Worn(const std::string& model, const std::string& place)
    {
        return Xml("<Altimeter Model='" + model + "' Attachment='" + place + "'/>");
    }
    CAltimeterPtr Make(const std::string& model, const std::string& place = "Chest")
    {
        return m_Equipment.CreateAltimeter(Worn(model, place), m_Body, kReference);
    }
    // The first altimeter model with "Parameters" changed.
    xml::CNodePtr ModelWith(const std::string& name, const std::string& key, const std::string& value)
    {
        const xml::CNodePtr model = xml::CNode::Clone(Model("Altimeter", name));
        model->GetChild("Parameters")->GetAttribute(key)->SetValue(value);
        return model;
    }
    xml::CNodePtr Chest(const xml::CNodePtr& model) { return model->GetChild("Attachments")->GetChild("Chest"); }
    void StandAt(float altitude) { m_Body->SetPos({0, kReference + altitude, 0}); }
    static sds::CMemDial& DialOf(const CAltimeterPtr& altimeter)
    {
        return dynamic_cast<sds::CMemDial&>(
            *dynamic_cast<sds::CAltimeter&>(*altimeter).GetDial());
    }

    CGfxObjPtr m_Body;
};

TEST_F(AltimeterTest, ManagerListsTheModelsAndRefusesUnknownOnes)
{
    EXPECT_EQ((std::vector<std::string>{"AltimasterIII (feet)", "Neptune"}), m_Equipment.GetAltimeterNames());
    EXPECT_THROW(m_Equipment.GetNames("Parachute"), xml::CNoNodeException);

    EXPECT_NE(std::string::npos, FailureText([&] { Make("Altimaster"); }).find("with unique identifier 'Altimaster'"));
    // The type is compared exactly.
    const xml::CNodePtr lower = xml::CNode::Clone(Model("Altimeter", "Neptune"), m_Equipment.GetEquipment().get());
    lower->GetAttribute("Name")->SetValue("Lower");
    lower->GetAttribute("Type")->SetValue("analog");
    m_Equipment.GetEquipment()->AddChild(lower);
    EXPECT_EQ("!\"Unknown type of the Altimeter\"", FailureText([&] { Make("Lower"); }));
    EXPECT_EQ("Joint does not exist: Wrist", FailureText([&] {
                  const xml::CNodePtr model = xml::CNode::Clone(Model("Altimeter", "Neptune"));
                  Chest(model)->GetChild("Attachment")->GetAttribute("Joint")->SetValue("Wrist");
                  sds::CDigitalAltimeter(model, Chest(model), m_Body, 0.0f);
              }));
}

TEST_F(AltimeterTest, NeedleTurnsOnceAcrossTheSpan)
{
    const CAltimeterPtr altimeter = Make("AltimasterIII (feet)");
    sds::CMemDial& dial = DialOf(altimeter);
    EXPECT_FALSE(dial.IsDigital());
    const struct
    {
        float altitude, degrees;
    } cases[] = {{914.5f, -90.0f}, {3658.0f, -360.0f}, {0.0f, 0.0f}, {-182.9f, 18.0f}};
    for (const auto& c : cases) {
        StandAt(c.altitude);
        altimeter->Update(m_Frame);
        EXPECT_NEAR(c.altitude, altimeter->GetAltitude(), 1e-3f);
        EXPECT_NEAR(c.degrees, dial.m_Value, 1e-3f) << c.altitude;
    }
    // A new reference height moves the zero, not the span.
    altimeter->SetReferenceHeight(kReference - 914.5f);
    StandAt(0.0f);
    altimeter->Update(m_Frame);
    EXPECT_NEAR(-90.0f, dial.m_Value, 1e-3f);

    // A face without a span leaves the needle at rest.
    const xml::CNodePtr flat = ModelWith("AltimasterIII (feet)", "MaxAltitude", "0");
    sds::CAltimasterIII still(flat, Chest(flat), m_Body, kReference);
    StandAt(500.0f);
    still.Update(m_Frame);
    EXPECT_EQ(0.0f, still.GetNeedleAngle());
}

TEST_F(AltimeterTest, ReadoutRoundsUpToTensOfTheDisplayUnit)
{
    const CAltimeterPtr altimeter = Make("Neptune", "Hand");
    sds::CMemDial& dial = DialOf(altimeter);
    ASSERT_TRUE(dial.IsDigital());
    // Without a unit converter the read-out is in metres.
    const struct
    {
        float altitude;
        const char* text;
    } metric[] = {// Just below the reference it reads 0, never "-0".
                  {-0.5f, "   0"},   {-5.0f, "   0"},   {-9.9f, "   0"},   {-10.0f, " -10"},
                  {1234.2f, "1240"}, {1230.0f, "1230"}, {1230.01f, "1240"}};
    for (const auto& c : metric) {
        StandAt(c.altitude);
        altimeter->Update(m_Frame);
        EXPECT_EQ(c.text, dial.m_Text) << c.altitude;
    }
    EXPECT_EQ("1240", m_Gfx.FindOverlayElement("Altimeter/Digital/Value")->GetCaption());

    // The shipped units are imperial: converted first, then rounded to tens of feet.
    const sds::CUnitConverter units(LoadShipped("../conf/conf.xml", "sds")->GetChild("UnitConverter"));
    const struct
    {
        float altitude;
        const char* text;
    } imperial[] = {{1234.2f, "4050"}, {3.048f, "  10"}, {3.0f, "  10"}, {0.0f, "   0"}};
    for (const auto& c : imperial) {
        StandAt(c.altitude);
        altimeter->Update(m_Frame);
        EXPECT_EQ(c.text, dial.m_Text) << c.altitude;
    }
}

TEST_F(AltimeterTest, FormatFromTheFileMustBeOneBoundedFloatConversion)
{
    const struct
    {
        const char* format;
        bool safe;
    } cases[] = {{"%4.0f", true},   {"%+08.1e m", true}, {"%g%%", true}, {"alt %-6.2f ft", true},
                 {"%s", false},     {"%n", false},       {"%f%f", false}, {"%d", false},
                 {"", false},       {"100%", false},     {"%999f", false}, {"%4.64f", false},
                 {"%%", false},     {"%lf", false},      {"%*f", false},  {"%1$f", false}};
    for (const auto& c : cases)
        EXPECT_EQ(c.safe, sds::CDigitalAltimeter::IsSafeFormat(c.format)) << c.format;

    const xml::CNodePtr model = ModelWith("Neptune", "Format", "%s ft");
    sds::CDigitalAltimeter altimeter(model, Chest(model), m_Body, kReference);
    EXPECT_TRUE(m_Log.HasContaining("'%s ft'"));
    StandAt(1230.0f);
    EXPECT_EQ("1230", altimeter.GetReadout());
}

TEST_F(AltimeterTest, CaseFacesShowTheirOwnDialUntilTheAltimeterGoes)
{
    CGfxObjPtr chestCase, handCase;
    std::string chestMaterial, handMaterial;
    {
        const CAltimeterPtr chest = Make("AltimasterIII (feet)", "Chest");
        const CAltimeterPtr hand = Make("Neptune", "Hand");
        chestMaterial = chest->GetCaption();
        handMaterial = hand->GetCaption();
        EXPECT_NE(chestMaterial, handMaterial);
        EXPECT_EQ(chestMaterial, DialOf(chest).GetMaterialName());
        chestCase = dynamic_cast<sds::CAltimeter&>(*chest).GetCase();
        handCase = dynamic_cast<sds::CAltimeter&>(*hand).GetCase();
        for (const auto& shown : {std::make_pair(chestCase, chestMaterial), std::make_pair(handCase, handMaterial)}) {
            std::vector<std::string> materials;
            for (std::uint16_t i = 0; i < shown.first->GetNumSubEntities(); ++i)
                materials.push_back(shown.first->GetSubEntityMaterialName(i));
            EXPECT_EQ((std::vector<std::string>{"Dravonkel/AltimeterCase", shown.second}), materials);
        }
        // The chest case rides on the body.
        const sds::CVector before = chestCase->GetWorldPos();
        m_Body->SetPos({0, kReference, 0});
        m_Body->UpdateTransform();
        EXPECT_NEAR(kReference, chestCase->GetWorldPos().y - before.y, 1e-3f);
    }
    EXPECT_EQ("AltimeterFace", chestCase->GetSubEntityMaterialName(1));
    EXPECT_EQ("AltimeterFace", handCase->GetSubEntityMaterialName(1));
}
