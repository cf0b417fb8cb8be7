#include "physics/flight/CurveDocument.h"

#include <functional>

#include "core/Exception.h"
#include "physics/flight/BezierFunc.h"

using sds::CBezierFunc;
using sds::CVector;

namespace {

const CBezierFunc::CFilter kAll = [](float) { return true; };

CBezierFunc Curve(const std::string& path, const std::string& min = "0,0,0", const std::string& max = "1,0,1")
{
    return CBezierFunc(CurveConfig(), CurveDocument(path, min, max), kAll);
}

std::string MessageOf(const std::function<void()>& call)
{
    try
    {
        call();
    }
    catch (const std::exception& e)
    {
        return e.what();
    }
    return "";
}

} // namespace

TEST(Curve, StraightPathMapsOntoItsAxesAndClampsOutside)
{
    CBezierFunc rising = Curve(kDiagonal);
    EXPECT_NEAR(0.5f, rising.GetValue(0.5f), 1e-3f);
    EXPECT_FLOAT_EQ(0.5f, rising.GetLastValue());
    EXPECT_FLOAT_EQ(0.0f, rising.GetValue(-1.0f));
    EXPECT_FLOAT_EQ(1.0f, rising.GetValue(2.0f));
    EXPECT_EQ(4u, rising.GetPoints().size());

    // A negative top: the value falls as the drawn curve rises.
    CBezierFunc falling = Curve(kDiagonal, "0,0,0", "1,0, -0.07");
    EXPECT_NEAR(0.0f, falling.GetValue(0.0f), 1e-6f);
    EXPECT_NEAR(-0.07f, falling.GetValue(1.0f), 1e-6f);
    EXPECT_NEAR(-0.035f, falling.GetValue(0.5f), 1e-4f);

    // Axes that do not start at zero.
    CBezierFunc shifted = Curve(kDiagonal, "-1,0,2", "1,0,4");
    EXPECT_NEAR(3.0f, shifted.GetValue(0.0f), 1e-3f);
    EXPECT_NEAR(2.0f, shifted.GetValue(-1.0f), 1e-6f);
}

TEST(Curve, EmptyCurvesGiveZero)
{
    CBezierFunc none;
    EXPECT_FLOAT_EQ(0.0f, none.GetValue(0.7f));
    EXPECT_FLOAT_EQ(0.0f, none.GetLastValue());

    CBezierFunc closedMove = Curve("M 50,50 z");
    EXPECT_TRUE(closedMove.GetTable().empty());
    EXPECT_FLOAT_EQ(0.0f, closedMove.GetValue(0.5f));
}

TEST(Curve, EqualXKeepsTheSampleNearerTheStart)
{
    // A vertical segment at x = 0 from y = 100 (the start) to y = 0.
    CBezierFunc step = Curve("M 0,100 C 0,67 0,33 0,0 z");
    ASSERT_EQ(1u, step.GetTable().size());
    EXPECT_FLOAT_EQ(0.0f, step.GetTable().begin()->first);
    EXPECT_NEAR(0.0f, step.GetTable().begin()->second, 1e-6f);
}

TEST(Curve, FilterChoosesTheSamples)
{
    CBezierFunc upper(CurveConfig(), CurveDocument(kDiagonal), [](float x) { return x >= 0.5f; });
    EXPECT_GE(upper.GetTable().begin()->first, 0.5f);
    EXPECT_NEAR(0.5f, upper.GetValue(0.0f), 1e-3f);
    EXPECT_THROW(CBezierFunc(CurveConfig(), CurveDocument(kDiagonal), nullptr), std::bad_function_call);
}

TEST(Curve, PathDataThatCannotBeReadIsRefused)
{
    const char* const bad[] = {
        "M 0,100 C 33,67 67,33 100,0   ", // trailing blanks, no "z"
        "M 0,100",                        // a lone move
        "M 0,100 C 33,67 67,33 z",        // a short segment
        "M 0,100 C 33,67 67,33 100,0 C 1,2 z", // a segment cut short
        "M 0,100 C 33,67 67,33 100,0 Z",  // only a lower-case close
        "",
    };
    for (const char* data : bad)
        EXPECT_EQ("Incorrect Points attribute for format", MessageOf([&] { Curve(data); })) << data;

    std::vector<CVector> points;
    CBezierFunc::ParsePoints("M 1,2 C 3,4 5,6 7,8 c 9,10 11,12 13,-1.5e1", points);
    ASSERT_EQ(7u, points.size());
    EXPECT_VECTOR_NEAR(CVector(13, 0, -15), points.back(), 1e-6f);
}

TEST(Curve, MissingPartsAndBadAxesAreReported)
{
    EXPECT_THROW(CBezierFunc(Xml("<Input Axes=\"Box\" />"), CurveDocument(kDiagonal), kAll), xml::CNoNodeException);
    EXPECT_THROW(CBezierFunc(Xml("<Input Curve=\"Curve\" Axes=\"Nowhere\" />"), CurveDocument(kDiagonal), kAll),
                 xml::CNoNodeException);
    EXPECT_THROW(CBezierFunc(Xml("<Input Curve=\"Missing\" Axes=\"Box\" />"), CurveDocument(kDiagonal), kAll),
                 xml::CNoNodeException);
    EXPECT_THROW(sds::FindSvgPath(CurveDocument(kDiagonal), "Grid", "Box"), xml::CNoNodeException);

    EXPECT_EQ("Axes 'Box': \"Max\" is not three numbers", MessageOf([] { Curve(kDiagonal, "0,0,0", "1,0"); }));
    EXPECT_EQ("Axes 'Box': \"Min\" is not three numbers", MessageOf([] { Curve(kDiagonal, "a,b,c", "1,0,1"); }));
    const char* const flat[] = {"M 0,0 C 0,0 100,0 100,0 z", "M 0,0 C 0,0 0,50 0,100 z"};
    for (const char* axes : flat)
        EXPECT_EQ("Axes 'Box' have no width or height",
                  MessageOf([&] { CBezierFunc(CurveConfig(), CurveDocument(kDiagonal, "0,0,0", "1,0,1", axes), kAll); }))
            << axes;
}
