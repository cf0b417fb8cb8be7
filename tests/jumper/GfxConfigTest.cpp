#include <gtest/gtest.h>

#include "core/XmlException.h"
#include "jumper/AnimationRecord.h"
#include "jumper/GfxObjectConfig.h"
#include "RigWorld.h"

using sds::CQuaternion;
using sds::CVector;

typedef RigTest GfxConfigTest;

TEST_F(GfxConfigTest, AnElementPlacesItsObjectUnderItsParent)
{
    const sds::CGfxObjPtr parent = m_Gfx.CreateObject(">novis", nullptr);
    parent->SetPos({10, 0, 0});
    const sds::CGfxObjPtr plain = sds::CreateGfxObject(Xml("<Mesh Mesh=\"Riser\" />"), parent);
    EXPECT_EQ(parent, plain->GetParent());
    EXPECT_EQ(CVector(10, 0, 0), plain->GetWorldPos());
    EXPECT_EQ(CVector(1, 1, 1), plain->GetScale());
    EXPECT_EQ(CQuaternion::IDENTITY, plain->GetOrientation());

    const sds::CGfxObjPtr placed = sds::CreateGfxObject(
        Xml("<Mesh Mesh=\"Riser\" Rotation=\"0, 90, 0\" Scale=\"0.04, 1, 0.01\" Position=\"1, 2, 3\" />"), nullptr);
    EXPECT_EQ(m_Gfx.GetRootObject(), placed->GetParent());
    EXPECT_EQ(CVector(1, 2, 3), placed->GetPos());
    EXPECT_EQ(CVector(0.04f, 1, 0.01f), placed->GetScale());
    EXPECT_VECTOR_NEAR(CVector(0, 0, -1), placed->GetOrientation() * CVector(1, 0, 0), 1e-5f);

    // What cannot be read counts as 0, and so does what follows it.
    const sds::CGfxObjPtr garbled = sds::CreateGfxObject(Xml("<Mesh Mesh=\"Riser\" Position=\"1, x, 3\" />"), nullptr);
    EXPECT_EQ(CVector(1, 0, 0), garbled->GetPos());
    EXPECT_THROW(sds::CreateGfxObject(Xml("<Mesh Position=\"1, 2, 3\" />"), nullptr), xml::CNoNodeException);
}

TEST_F(GfxConfigTest, OrientationsAreReadAsUnitQuaternionsWithTheIdentityForWhatIsMissing)
{
    const struct
    {
        const char* m_Text;
        CQuaternion m_Expected;
        bool m_Complete;
    } cases[] = {
        {"2,0,0,0", CQuaternion::IDENTITY, true},
        {"0,0,0,0", CQuaternion::IDENTITY, true}, // no rotation has length 0
        {"0, 0, 3, 4", CQuaternion(0, 0, 0.6f, 0.8f), true},
        {"0,1", CQuaternion(0, 1, 0, 0), false},
        {"", CQuaternion::IDENTITY, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_Text);
        CQuaternion q(9, 9, 9, 9);
        EXPECT_EQ(c.m_Complete, sds::ParseOrientation(c.m_Text, q));
        EXPECT_EQ(c.m_Expected, q);
    }
}

TEST_F(GfxConfigTest, ARecordSetsUpItsAnimationOnce)
{
    const sds::CGfxObjPtr object = m_Gfx.CreateObject("SkeletonTest", nullptr);
    const sds::CAnimationPtr plain = sds::ReadAnimation(Xml("<Move Animation=\"Move\" Speed=\"2\" />"), object);
    EXPECT_FALSE(plain->IsEnabled());
    EXPECT_FALSE(plain->GetLoop());
    EXPECT_FALSE(plain->IsAutoUpdate());
    EXPECT_EQ(2.0f, plain->GetSpeed());
    // A second record of the same name gets the same animation, as it was set up.
    const sds::CAnimationPtr again = sds::ReadAnimation(
        Xml("<Other Animation=\"Move\" Speed=\"-3\" Enabled=\"1\" Loop=\"1\" AutoUpdate=\"1\" />"), object);
    EXPECT_EQ(plain, again);
    EXPECT_FALSE(again->IsEnabled());
    EXPECT_EQ(2.0f, again->GetSpeed());

    const sds::CAnimationPtr backwards =
        sds::ReadAnimation(Xml("<Lift Animation=\"Lift\" Speed=\"-5\" Enabled=\"ON\" Loop=\"true\" AutoUpdate=\"1\" />"),
                           object);
    EXPECT_EQ(-5.0f, backwards->GetSpeed());
    EXPECT_TRUE(backwards->IsEnabled());
    EXPECT_TRUE(backwards->GetLoop());
    EXPECT_TRUE(backwards->IsAutoUpdate());
    for (const char* off : {"0", "false", "off"}) {
        const xml::CNodePtr record = Xml(std::string("<Turn Animation=\"Turn\" Speed=\"1\" Enabled=\"") + off + "\" />");
        EXPECT_FALSE(sds::ReadAnimation(record, m_Gfx.CreateObject("SkeletonTest", nullptr))->IsEnabled()) << off;
    }
}

TEST_F(GfxConfigTest, ARecordWithoutSpeedOrNameFails)
{
    const sds::CGfxObjPtr object = m_Gfx.CreateObject("SkeletonTest", nullptr);
    const struct
    {
        const char* m_Record;
        const char* m_Missing;
    } cases[] = {{"<Move />", "'Speed'"}, {"<Move Speed=\"1\" />", "'Animation'"}, {"<Move Animation=\"Move\" />", "'Speed'"}};
    for (const auto& c : cases) {
        try {
            sds::ReadAnimation(Xml(c.m_Record), object);
            ADD_FAILURE() << c.m_Record;
        } catch (const xml::CNoNodeException& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find(c.m_Missing)) << e.what();
        }
    }
    EXPECT_THROW(sds::ReadAnimation(Xml("<Move Animation=\"Move\" Speed=\"\" />"), object), xml::CBadValueException);
}
