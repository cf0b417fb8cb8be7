#include <gtest/gtest.h>

#include "core/XmlException.h"
#include "core/XmlFile.h"
#include "editor/SceneFraming.h"
#include "support/VectorNear.h"

using namespace sds;
using namespace sds::DovuvUvozeVozediza;

namespace {

// A 4:3 window with a vertical field of view of 45 degrees, the top eighth under the console's band.
const CSideView kView{0.552285f, 0.414214f, 0.125f};

xml::CNodePtr Scene(const std::string& start, const std::string& targets)
{
    return xml::LoadXmlFromMemory("<scene><Preset><Jumper Position='" + start + "'/></Preset>" + targets +
                                      "<BoundingBox Name='Boundaries' MinCorner='-200,-2,0' MaxCorner='200,260,0'/>"
                                      "</scene>",
                                  "Test.ForceFields")
        ->GetChild("scene");
}

// Where a point of the plane z = 0 lands in the view, -1 to 1 across and up.
CVector InView(const CVector& camera, float x, float y)
{
    return CVector((x - camera.x) / (camera.z * kView.m_TanAcross), (y - camera.y) / (camera.z * kView.m_TanUp), 0);
}

} // namespace

TEST(SceneFraming, TheAreaHoldsBoundariesStartAndEveryTarget)
{
    const struct
    {
        const char* m_Start;
        const char* m_Targets;
        CVector m_Min;
        CVector m_Max;
    } cases[] = {
        {"-150,200,0", "<Target Position='150,0,0'/>", {-200, -2, 0}, {200, 260, 0}},
        {"-250,300,0", "<Target Position='150,0,0'/>", {-250, -2, 0}, {200, 300, 0}},
        {"0,100,0", "<Target Position='150,0,0'/><Target Position='320,-40,0'/>", {-200, -40, 0}, {320, 260, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.m_Start) + c.m_Targets);
        const CSceneArea area = EditedArea(Scene(c.m_Start, c.m_Targets));
        EXPECT_VECTOR_NEAR(c.m_Min, CVector(area.m_Min.x, area.m_Min.y, 0), 1e-4f);
        EXPECT_VECTOR_NEAR(c.m_Max, CVector(area.m_Max.x, area.m_Max.y, 0), 1e-4f);
    }
    EXPECT_THROW(EditedArea(Scene("0,100,0", "")), xml::CNoNodeException);
}

// The framed area fills the view below the band, within the margin, and
// nothing of it lies under the band or off the sides.
TEST(SceneFraming, TheFramedAreaFillsTheViewBelowTheBand)
{
    const CSceneArea areas[] = {
        {{-200, -2, 0}, {200, 260, 0}},   // the shipped scenes: as high as wide for this window
        {{-1000, 0, 0}, {1000, 100, 0}},  // wide and low
        {{-10, 0, 0}, {10, 600, 0}},      // narrow and high
    };
    for (const CSceneArea& area : areas) {
        const CVector camera = FramingPosition(kView, area);
        EXPECT_TRUE(ShowsWhole(kView, camera, area)) << area.m_Max.x;
        const CVector low = InView(camera, area.m_Min.x, area.m_Min.y);
        const CVector high = InView(camera, area.m_Max.x, area.m_Max.y);
        EXPECT_NEAR(-low.x, high.x, 1e-3f) << "centred across";
        EXPECT_GE(low.x, -0.9f - 1e-3f);
        EXPECT_GE(low.y, -0.9f - 1e-3f);
        EXPECT_LE(high.y, 0.75f - 0.1f + 1e-3f) << "below the band";
        // One direction touches its margins.
        EXPECT_TRUE(std::abs(high.x - 0.9f) < 1e-3f || std::abs(low.y + 0.9f) < 1e-3f) << area.m_Max.x;
    }
    // The shipped scenes' saved view at (0, 120, 320) shows three of the four sides.
    const CSceneArea shipped = areas[0];
    EXPECT_FALSE(ShowsWhole(kView, CVector(0, 120, 320), shipped));
}

TEST(SceneFraming, TheSavedViewStaysWhenItShowsTheWholeArea)
{
    const CSceneArea area{{-200, -2, 0}, {200, 260, 0}};
    const CVector framed = FramingPosition(kView, area);
    const struct
    {
        const char* m_What;
        CVector m_Saved;
        CVector m_Expected;
    } cases[] = {
        {"further out", CVector(10, 160, 700), CVector(10, 160, 700)},
        {"too near", CVector(0, 120, 320), framed},
        {"aside", CVector(300, 150, 500), framed},
        {"behind the plane", CVector(0, 150, -700), framed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_What);
        EXPECT_VECTOR_NEAR(c.m_Expected, StartingPosition(kView, c.m_Saved, area), 1e-3f);
    }
    // A camera that reports no field of view keeps the saved position.
    EXPECT_VECTOR_NEAR(CVector(0, 120, 320), StartingPosition(CSideView(), CVector(0, 120, 320), area), 1e-6f);
}
