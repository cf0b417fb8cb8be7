#include <gtest/gtest.h>

#include <cmath>

#include "core/Helpers.h"
#include "core/Quaternion.h"
#include "core/Vector.h"

using sds::CQuaternion;
using sds::CVector;

TEST(Vector, TextForms)
{
    EXPECT_EQ("1,0.5,-2", sds::VectorToString(CVector(1, 0.5f, -2)));
    EXPECT_EQ("0.333333,1e+06,0", sds::VectorToString(CVector(1.0f / 3, 1e6f, 0)));

    CVector v;
    EXPECT_TRUE(v.ParseVector3("1;2;3"));
    EXPECT_EQ(CVector(1, 2, 3), v);
    EXPECT_FALSE(v.ParseVector3("4,5"));
    EXPECT_EQ(CVector(4, 5, 0), v);
    EXPECT_FALSE(v.ParseVector3("x"));
    EXPECT_EQ(CVector::ZERO, v);
    EXPECT_EQ(CVector(7, 0, 0), xml::ParseVector("7,a,9"));

    sds::CFourFloats colour;
    EXPECT_FALSE(colour.ParseQuaternion("0.1,0.2,0.3"));
    EXPECT_FLOAT_EQ(0.3f, colour.v[2]);
    EXPECT_FLOAT_EQ(1.0f, colour.v[3]);
}

TEST(Vector, NormalizeAndCompare)
{
    CVector zero;
    zero.Normalize();
    EXPECT_EQ(CVector::ZERO, zero);
    CVector v(3, 0, 4);
    v.Normalize();
    EXPECT_FLOAT_EQ(1.0f, v.Length());
    const CVector nan(std::nanf(""), 0, 0);
    EXPECT_TRUE(nan != nan);
    EXPECT_EQ(CVector(0, 0, 1), CVector::UNIT_X.Cross(CVector::UNIT_Y));
}

TEST(Quaternion, NormaliseAndRotate)
{
    CQuaternion q(0, 0, 0, 0);
    EXPECT_FLOAT_EQ(0.0f, q.NormaliseQuaternion());
    EXPECT_EQ(CQuaternion::IDENTITY, q);

    CQuaternion quarter;
    quarter.FromAngleAxis(std::acos(-1.0f) / 2, CVector::UNIT_Y);
    const CVector rotated = quarter * CVector::UNIT_X;
    EXPECT_NEAR(0.0f, rotated.x, 1e-6f);
    EXPECT_NEAR(-1.0f, rotated.z, 1e-6f);
    EXPECT_FLOAT_EQ(0.0f, CQuaternion::IDENTITY.GetYaw());
    // A slightly unnormalised quaternion must not give NaN.
    EXPECT_FALSE(std::isnan(CQuaternion(0.7072f, 0, 0.7072f, 0).GetYaw()));
}

TEST(Quaternion, RotationTo)
{
    const CQuaternion half = sds::GetRotationTo(CVector::UNIT_Y, CVector::NEGATIVE_UNIT_Y);
    EXPECT_NEAR(0.0f, half.w, 1e-6f);
    EXPECT_NEAR(1.0f, half.z, 1e-6f);
    EXPECT_EQ(CQuaternion::IDENTITY, sds::GetRotationTo(CVector::UNIT_Y, CVector(0, 2, 0)));

    const CQuaternion aroundX = sds::GetRotationTo(CVector::UNIT_Y, CVector::NEGATIVE_UNIT_Y, CVector::UNIT_X);
    EXPECT_NEAR(1.0f, aroundX.x, 1e-6f);

    const CVector to(1, 1, 0);
    const CVector turned = sds::GetRotationTo(CVector::UNIT_Y, to) * CVector::UNIT_Y;
    EXPECT_NEAR(std::sqrt(0.5f), turned.x, 1e-6f);
    EXPECT_NEAR(std::sqrt(0.5f), turned.y, 1e-6f);
}

TEST(Helpers, SplitAndNames)
{
    EXPECT_EQ((std::vector<std::string>{"Name", "", "Id"}), sds::SplitAtAnyOf("Name, Id", ", "));
    EXPECT_EQ((std::vector<std::string>{"a", "", "b"}), sds::SplitAtAnyOf("a,,b,", ","));
    EXPECT_TRUE(sds::SplitAtAnyOf("", ",").empty());
    EXPECT_EQ((std::vector<std::string>{"A", "B", ">C"}), sds::SplitString("A->B->>C", "->"));
    EXPECT_EQ((std::vector<std::string>{"", "x"}), sds::SplitString("->x", "->"));

    const std::string first = sds::MakeUniqueName("Obj");
    const std::string second = sds::MakeUniqueName("Obj");
    const int n = std::stoi(first.substr(4));
    EXPECT_EQ("Obj_" + std::to_string(n + 1), second);

    for (int i = 0; i < 1000; ++i) {
        const float r = sds::GetRandomUnit();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
    EXPECT_EQ("1", sds::ToString(true));
    EXPECT_EQ("0.1", sds::ToString(0.1f));
}
