#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "jumper/Trajectory.h"
#include "support/CapturingLogMgr.h"
#include "support/MessageCapture.h"
#include "support/TempDir.h"
#include "support/VectorNear.h"

using sds::CTiming;
using sds::CTrajectory;
using sds::CVector;

namespace {

class TrajectoryTest : public ::testing::Test
{
protected:
    static CTrajectory Make(float sampleTime = 0.5f, float maxPathError = 0.25f, const std::string& file = "")
    {
        return CTrajectory("Test", maxPathError, sampleTime, 2.0f, "1, 1, 1, 1", "UnitArrow", file);
    }
    // Frames of `elapsed` seconds moving `step` metres along x, from frame 1.
    static void Fly(CTrajectory& trajectory, int frames, float elapsed, float step)
    {
        for (int frame = 1; frame <= frames; ++frame) {
            const CTiming timing{elapsed, frame * elapsed};
            trajectory.AddSample(timing, CVector(step * frame, 0, 0), CVector(step / elapsed, 0, 0));
        }
    }
    std::string Write(const std::string& name, const std::string& text) const
    {
        const std::string path = m_Dir.File(name);
        std::ofstream(path) << text;
        return path;
    }

    CMessageCapture m_Quiet;
    CCapturingLogMgr m_Log;
    CTempDir m_Dir;
};

} // namespace

TEST_F(TrajectoryTest, ADueSampleIsTakenOnTheFirstFramePastTheSampleTime)
{
    CTrajectory trajectory = Make();
    Fly(trajectory, 8, 0.25f, 1.0f);
    // Two frames after a sample the time to the next is exactly 0: not yet due.
    ASSERT_EQ(3u, trajectory.GetPoints().size());
    EXPECT_EQ(CVector(1, 0, 0), trajectory.GetPoints()[0].Pos);
    EXPECT_EQ(CVector(4, 0, 0), trajectory.GetPoints()[1].Pos);
    EXPECT_EQ(CVector(7, 0, 0), trajectory.GetPoints()[2].Pos);
    EXPECT_EQ(1.75f, trajectory.GetPoints()[2].Time);
    EXPECT_EQ(CVector(4, 0, 0), trajectory.GetPoints()[2].Velocity);
}

TEST_F(TrajectoryTest, ABodyAtRestIsRecordedOnce)
{
    CTrajectory trajectory = Make();
    Fly(trajectory, 20, 0.25f, 0.0f);
    EXPECT_EQ(1u, trajectory.GetPoints().size());
}

TEST_F(TrajectoryTest, ASavedTrajectoryLoadsBackToSixDigitsWithItsColour)
{
    CTrajectory flown("Flown", 0.0f, 0.1f, 2.0f, "0.2, 0.4, 0.6, 1", "UnitArrow", "");
    flown.AddSample({0.5f, 12.345678f}, CVector(1234.5678f, -0.000123456f, 3), CVector(-7.654321f, 0, 1e-7f));
    flown.AddSample({0.5f, 12.845678f}, CVector(1300, 900.5f, -2), CVector(1, 2, 3));
    const std::string file = m_Dir.File("Jump_1.trajectory");
    flown.Save(file);

    CTrajectory loaded = Make();
    Fly(loaded, 1, 0.25f, 1.0f); // samples already there stay in front
    loaded.Load(file);
    ASSERT_EQ(3u, loaded.GetPoints().size());
    EXPECT_EQ("0.2, 0.4, 0.6, 1", loaded.GetMeshColor());
    for (std::size_t i = 0; i < 2; ++i) {
        const CTrajectory::CSample& a = flown.GetPoints()[i];
        const CTrajectory::CSample& b = loaded.GetPoints()[i + 1];
        EXPECT_VECTOR_NEAR(a.Pos, b.Pos, std::abs(a.Pos.x) * 1e-5f + 1e-9f);
        EXPECT_VECTOR_NEAR(a.Velocity, b.Velocity, 1e-5f);
        EXPECT_NEAR(a.Time, b.Time, 1e-4f);
    }
    EXPECT_NEAR(-0.000123456f, loaded.GetPoints()[1].Pos.y, 1e-10f);
    EXPECT_FALSE(m_Log.HasContaining("Error"));
}

TEST_F(TrajectoryTest, AnEmptyTrajectorySavesOnlyItsColour)
{
    const std::string file = m_Dir.File("Empty.trajectory");
    Make().Save(file);
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, text.find("<Trajectory Color=\"1, 1, 1, 1\""));
    EXPECT_EQ(std::string::npos, text.find("Point"));
}

TEST_F(TrajectoryTest, FaultyFilesAreLoggedAndKeepWhatWasReadBeforeTheFault)
{
    const struct
    {
        const char* m_Name;
        const char* m_Text;
        std::size_t m_Kept;
    } cases[] = {
        {"another root", "<?xml version=\"1.0\" ?><Jump Color=\"1, 1, 1, 1\" />", 0},
        {"truncated", "<?xml version=\"1.0\" ?><Trajectory Color=\"1, 1, 1, 1\"><Point Pos=\"1,2,3\"", 0},
        {"no colour", "<Trajectory><Point Pos=\"1,2,3\" Velocity=\"0,0,0\" Time=\"1\" /></Trajectory>", 0},
        {"a point without a time",
         "<Trajectory Color=\"1, 1, 1, 1\"><Point Pos=\"1,2,3\" Velocity=\"0,0,0\" Time=\"1\" />"
         "<Point Pos=\"4,5,6\" Velocity=\"0,0,0\" /></Trajectory>",
         1},
        {"a point without a position",
         "<Trajectory Color=\"1, 1, 1, 1\"><Point Velocity=\"0,0,0\" Time=\"1\" /></Trajectory>", 0},
        {"an empty time", "<Trajectory Color=\"1, 1, 1, 1\"><Point Pos=\"1,2,3\" Velocity=\"0,0,0\" Time=\"\" /></Trajectory>",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_Name);
        m_Log.m_Lines.clear();
        const std::string file = Write("bad.trajectory", c.m_Text);
        CTrajectory trajectory = Make();
        EXPECT_NO_THROW(trajectory.Load(file));
        EXPECT_EQ(c.m_Kept, trajectory.GetPoints().size());
        EXPECT_TRUE(m_Log.Has("Error: Incorrect format of trajectory in " + file));
    }
}

TEST_F(TrajectoryTest, FilesThatCannotBeOpenedAreLogged)
{
    const std::string missing = m_Dir.File("missing.trajectory");
    CTrajectory trajectory = Make(0.5f, 0.25f, missing); // the viewer loads in the constructor
    EXPECT_TRUE(trajectory.GetPoints().empty());
    EXPECT_TRUE(m_Log.Has("Error: Could not load trajectory into " + missing));

    const std::string unwritable = m_Dir.File("no/such/folder/Jump_1.trajectory");
    trajectory.Save(unwritable);
    EXPECT_TRUE(m_Log.Has("Error: Could not save trajectory into " + unwritable));
}

TEST_F(TrajectoryTest, StatisticsSumUpTheCanopyRideFromTheCanopysOpening)
{
    CTrajectory empty = Make();
    EXPECT_EQ(0.0f, empty.GetDuration());
    EXPECT_EQ(0.0f, empty.GetPathLength());
    EXPECT_EQ(CVector::ZERO, empty.GetAverageVelocity());

    // The aircraft's ride and the free fall are on the path, not in the figures.
    CTrajectory trajectory = Make(0.0f, 0.0f);
    trajectory.AddSample({1.0f, 2.0f}, CVector(-900, 1000, 0), CVector(60, 0, 0));
    trajectory.AddSample({1.0f, 6.0f}, CVector(0, 600, 0), CVector(5, -50, 0));
    EXPECT_EQ(0.0f, trajectory.GetDuration()) << "no canopy yet";
    EXPECT_EQ(0.0f, trajectory.GetPathLength());
    EXPECT_EQ(CVector::ZERO, trajectory.GetAverageVelocity());
    trajectory.StartCanopyRide();
    trajectory.AddSample({1.0f, 10.0f}, CVector(0, 100, 0), CVector(3, -5, 0));
    EXPECT_EQ(0.0f, trajectory.GetDuration());
    EXPECT_EQ(CVector(3, -5, 0), trajectory.GetAverageVelocity());
    trajectory.StartCanopyRide(); // once open, it stays open from the first time
    trajectory.AddSample({1.0f, 12.0f}, CVector(3, 96, 0), CVector(-3, -7, 8));
    trajectory.AddSample({1.0f, 14.5f}, CVector(3, 96, 12), CVector(0, -6, 4));
    EXPECT_EQ(5u, trajectory.GetPoints().size()) << "the whole path is kept";
    EXPECT_EQ(4.5f, trajectory.GetDuration());
    EXPECT_EQ(17.0f, trajectory.GetPathLength());
    EXPECT_EQ(CVector(0, -6, 4), trajectory.GetAverageVelocity());

    const xml::CNodePtr info = trajectory.GetInfo();
    EXPECT_EQ("TrajectoryInfo", info->GetName());
    const struct
    {
        const char* m_Name;
        const char* m_Units;
        float m_Value;
    } expected[] = {{"Canopy ride time", "Time", 4.5f},
                    {"Canopy ride distance traveled", "Distance", 17.0f},
                    {"Canopy ride average vertical speed", "Speed", 6.0f},
                    {"Canopy ride average horizontal speed", "Speed", 4.0f}};
    auto entry = info->GetChildrenBegin("Info");
    for (const auto& e : expected) {
        ASSERT_NE(info->GetChildrenEnd("Info"), entry);
        EXPECT_EQ(e.m_Name, entry->second->GetAttribute("Name")->GetValue());
        EXPECT_EQ(e.m_Units, entry->second->GetAttribute("Units")->GetValue());
        EXPECT_FLOAT_EQ(e.m_Value, entry->second->GetValue<float>());
        ++entry;
    }
}

TEST_F(TrajectoryTest, TheCanopysOpeningIsSampledOnTheNextFrame)
{
    // A sample was just taken: the next is 0.5 s away and the body moves
    // less than the path error a frame; the opening is recorded at once.
    CTrajectory trajectory = Make(0.5f, 0.25f);
    trajectory.AddSample({0.1f, 1.0f}, CVector(0, 500, 0), CVector(0, -50, 0));
    trajectory.StartCanopyRide();
    trajectory.AddSample({0.1f, 1.1f}, CVector(0, 499.9f, 0), CVector(0, -5, 0));
    ASSERT_EQ(2u, trajectory.GetPoints().size());
    EXPECT_EQ(1.1f, trajectory.GetPoints()[1].Time);
    trajectory.AddSample({0.1f, 1.2f}, CVector(0, 499.4f, 0), CVector(0, -5, 0));
    EXPECT_EQ(2u, trajectory.GetPoints().size()) << "then the usual rule";
    EXPECT_EQ(CVector(0, -5, 0), trajectory.GetAverageVelocity());
}
