#include <gtest/gtest.h>

#include "LevelWorld.h"
#include "core/ConfigPath.h"
#include "jumper/ObjGround.h"
#include "mods/FakeJumper.h"

using namespace sds;

namespace {

// A jumper that writes its updates into the journal.
class CJournalJumper : public CFakeJumper
{
public:
    explicit CJournalJumper(CJournal& journal) : m_Journal(journal) {}
    void Update(const CTiming&) override { m_Journal.push_back("jumper update"); }

private:
    CJournal& m_Journal;
};

const std::vector<std::string> LoadLines = {"Using Mod: Drop zone loader", "Resource loader: DZGfx",
                                            "Resource loader: Physics", "Resource loader: Engine",
                                            "Drop zone is loaded"};
const std::vector<std::string> UnloadLines = {"Resource unloaded: Engine", "Resource unloaded: Physics",
                                              "Resource unloaded: DZGfx", "Done using Mod: Drop zone loader"};

bool IsLoadLine(const std::string& line)
{
    for (const char* prefix : {"Using Mod: Drop", "Resource ", "Drop zone is", "Done using Mod: Drop"})
        if (line.rfind(prefix, 0) == 0)
            return true;
    return false;
}

} // namespace

class DZLoaderModTest : public LevelTest
{
public:
    DZLoaderModTest() { SetScene(TestField); }

    std::vector<std::string> LevelLines() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : m_Log.m_Lines)
            if (IsLoadLine(line))
                lines.push_back(line);
        return lines;
    }
};

TEST_F(DZLoaderModTest, StagesLoadInOrderAndGoInReverse)
{
    LoadLevel();
    EXPECT_EQ(LoadLines, LevelLines());
    EXPECT_EQ(&m_Level->GetJumperMgr(), CJumperMgr::GetSingleton());
    ASSERT_EQ(3u, m_Level->GetLoaders().size());
    EXPECT_FALSE(CObjGround::GetRegistry().empty());

    m_Log.m_Lines.clear();
    m_Level.reset();
    EXPECT_EQ(UnloadLines, LevelLines());
    EXPECT_EQ(nullptr, CJumperMgr::GetSingleton());
    EXPECT_EQ(nullptr, CEngineLoader::GetSingleton());
    // The physics mod forgot the level's trees.
    EXPECT_TRUE(CObjGround::GetRegistry().empty());
}

TEST_F(DZLoaderModTest, OutputConfigsLogsTheDropZoneBeforeTheFirstLoader)
{
    SetConfigBool(m_App.m_Config, "Application->>OutputConfigs", true);
    LoadLevel();
    const auto first = std::find(m_Log.m_Lines.begin(), m_Log.m_Lines.end(), "Resource loader: DZGfx");
    const auto tree = std::find_if(m_Log.m_Lines.begin(), m_Log.m_Lines.end(), [](const std::string& line) {
        return line.find("<scene FullName=\"Test Field\"") != std::string::npos && line.find("<Preset>") != std::string::npos;
    });
    EXPECT_LT(tree, first);
}

TEST_F(DZLoaderModTest, BarFillsByStagesAndTheLevelReportsEachStep)
{
    LoadLevel();
    const std::vector<std::pair<std::string, float>> stages = {
        {"Creating graphical scene", 0.0f}, {"Creating physical scene", 0.6f}, {"Loading drop zone", 0.8f}};
    ASSERT_EQ(stages.size(), m_Bar.m_Stages.size());
    for (std::size_t i = 0; i < stages.size(); ++i) {
        EXPECT_EQ(stages[i].first, m_Bar.m_Stages[i].first);
        EXPECT_NEAR(stages[i].second, m_Bar.m_Stages[i].second, 1e-5f) << stages[i].first;
    }

    // The level's own steps: three simulated objects share 0.4 to 0.6, two windsocks 0.6 to 0.9.
    const std::vector<std::pair<std::string, float>> steps = {
        {"Loading target", 0.0f},
        {"Loading simulation objects", 0.4f},
        {"Loading simulation objects", 0.4667f},
        {"Loading simulation objects", 0.5333f},
        {"Loading Windsocks", 0.6f},
        {"Loading Windsocks", 0.75f},
        {"Loading music", 0.9f},
        {"Loading jumper", 0.95f}};
    const auto firstOwn = std::find_if(m_Bar.m_Steps.begin(), m_Bar.m_Steps.end(),
                                       [](const auto& step) { return step.first == "Loading target"; });
    ASSERT_EQ(steps.size(), static_cast<std::size_t>(m_Bar.m_Steps.end() - firstOwn));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].first, firstOwn[i].first);
        EXPECT_NEAR(steps[i].second, firstOwn[i].second, 1e-4f) << i;
    }
}

TEST_F(DZLoaderModTest, LoadersUpdateBeforeJumpersAndRestartInTheirOrder)
{
    LoadLevel();
    m_Level->GetJumperMgr().Clear();
    m_Level->GetJumperMgr().AddToUpdateList(std::make_shared<CJournalJumper>(m_Journal));
    m_Journal.clear();
    m_Level->Update(m_Frame);
    EXPECT_EQ((CJournal{"DZGfx update", "jumper update"}), m_Journal);

    // The level's restart records the jump of its jumper after the zone has restarted.
    m_Journal.clear();
    m_Level->Restart();
    EXPECT_EQ((CJournal{"DZGfx restart", "record jump"}), m_Journal);
}

TEST_F(DZLoaderModTest, AFailingStageLeavesNothingAndTheNextLoadWorks)
{
    struct CCase
    {
        const char* name;
        std::function<void(DZLoaderModTest&)> spoil;
        std::vector<std::string> unloaded;
    };
    const std::vector<CCase> cases = {
        {"zone graphics", [](DZLoaderModTest& t) { t.m_Gfx.m_FailZone = true; }, {}},
        {"no preset", [](DZLoaderModTest& t) { t.Scene()->RemoveChild(t.Scene()->GetChild("Preset")); },
         {"Resource unloaded: DZGfx"}},
        {"a simulated object of a missing file",
         [](DZLoaderModTest& t) { t.Scene()->GetChild("SimObj")->GetAttribute("File")->SetValue("../data/physics/None.phs"); },
         {"Resource unloaded: Engine", "Resource unloaded: Physics", "Resource unloaded: DZGfx"}},
        {"a jumper of an unknown input type",
         [](DZLoaderModTest& t) {
             t.Scene()->GetChild("Preset")->GetChildById("Info", "Input type", "Name,Id")->SetValue("Expert");
         },
         {"Resource unloaded: Engine", "Resource unloaded: Physics", "Resource unloaded: DZGfx"}},
        {"a camera script missing after the jumper was made",
         [](DZLoaderModTest& t) {
             const xml::CNodePtr scripts = t.m_App.m_Config->GetChild("Camera")->GetChild("Scripts");
             scripts->RemoveChild(scripts->GetChildById("Camera", "4", "Name,Id"));
         },
         {"Resource unloaded: Engine", "Resource unloaded: Physics", "Resource unloaded: DZGfx"}},
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.name);
        SetScene(TestField);
        m_Gfx.m_FailZone = false;
        test.spoil(*this);
        m_Log.m_Lines.clear();
        m_Host.m_Recorded.clear();
        try {
            LoadLevel();
            ADD_FAILURE() << "loaded";
        } catch (const std::exception& e) {
            // The message box names the drop zone and its file before the reason.
            EXPECT_EQ(0u, std::string(e.what()).find("Test Field (test.dz) cannot be loaded.\n")) << e.what();
        }
        EXPECT_EQ(test.unloaded, LinesStartingWith("Resource unloaded: "));
        // A level that never loaded was never jumped.
        EXPECT_TRUE(m_Host.m_Recorded.empty());
        EXPECT_EQ(nullptr, CJumperMgr::GetSingleton());
        EXPECT_EQ(nullptr, CEngineLoader::GetSingleton());
        EXPECT_TRUE(CObjGround::GetRegistry().empty());
        // Neither the music nor the aircraft's engine goes on.
        for (const std::shared_ptr<CFakeSound>& sound : m_Sound.m_Sounds)
            EXPECT_FALSE(sound->IsPlaying());
        for (const auto& engines : m_Sound.m_Templates)
            for (const auto& engine : engines->m_Sounds)
                EXPECT_FALSE(engine->IsPlaying());

        SetScene(TestField);
        m_Gfx.m_FailZone = false;
        m_App.m_Config = LoadDefaultConfig();
        ASSERT_NO_THROW(LoadLevel());
        EXPECT_EQ(1u, Jumpers().size());
        m_Level.reset();
    }
}
