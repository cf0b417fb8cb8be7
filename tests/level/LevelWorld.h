#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LevelMeshes.h"
#include "core/XmlFile.h"
#include "graphics/memory/MemFader.h"
#include "graphics/memory/MemGfxMgr.h"
#include "graphics/memory/MemLoadingProgressBar.h"
#include "jumper/EquipmentManager.h"
#include "jumper/IJumpEndDisplay.h"
#include "jumper/IJumper.h"
#include "jumper/JumperMgr.h"
#include "level/DZLoaderMod.h"
#include "level/EngineLoader.h"
#include "mods/ILevelHost.h"
#include "mods/PhyEnabledMod.h"
#include "scene/DropZoneLevel.h"
#include "support/CapturingLogMgr.h"
#include "support/DefaultConfig.h"
#include "support/DiskResourceMgr.h"
#include "support/FakeApplication.h"
#include "support/FakeSndMgr.h"
#include "support/MessageCapture.h"

// What the level's parts did, in order.
typedef std::vector<std::string> CJournal;

// The zone graphics' loader as the level sees it: it names itself, reports
// once on the bar and writes its updates and restarts into the journal.
class CJournalLoader : public sds::ILevelResourceLoader
{
public:
    CJournalLoader(const std::string& name, CJournal& journal) : ILevelResourceLoader(name), m_Journal(journal) {}
    void Update(const sds::CTiming&) override { m_Journal.push_back(GetName() + " update"); }
    void Restart() override { m_Journal.push_back(GetName() + " restart"); }

private:
    CJournal& m_Journal;
};

// The in-memory graphics whose zone loading makes the camera, as the drop
// zone's graphics do, or fails on request.
class CLevelGfx : public sds::CMemGfxMgr
{
public:
    explicit CLevelGfx(CJournal& journal) : m_Journal(journal) {}
    std::shared_ptr<sds::ILevelResourceLoader> LoadZone(const xml::CNodePtr&,
                                                        const sds::LoadingProgressCallback& progress) override
    {
        if (m_FailZone)
            throw std::runtime_error("The zone's terrain cannot be read");
        if (!GetCamera())
            CreateCamera();
        progress("Loading terrain", 0.5f);
        return std::make_shared<CJournalLoader>("DZGfx", m_Journal);
    }
    void GetSurfaceObjectsAround(const sds::CVector& point, float reach, float, const sds::CIsBaked&) override
    {
        m_SurfaceQueries.push_back({point, reach});
    }

    bool m_FailZone = false;
    std::vector<std::pair<sds::CVector, float>> m_SurfaceQueries;

private:
    CJournal& m_Journal;
};

// The loading bar, remembering where it stood at each stage and each step.
class CRecordingBar : public sds::CMemLoadingProgressBar
{
public:
    void SetProgress(const std::string& message, float share) override
    {
        CMemLoadingProgressBar::SetProgress(message, share);
        m_Stages.push_back({message, m_Progress});
    }
    void SetStepProgress(const std::string& message, float fraction) override
    {
        CMemLoadingProgressBar::SetStepProgress(message, fraction);
        m_Steps.push_back({message, fraction});
    }

    std::vector<std::pair<std::string, float>> m_Stages;
    std::vector<std::pair<std::string, float>> m_Steps;
};

// The game mode as the level sees it.
class CFakeHost : public sds::ILevelHost, public sds::IJumpEndDisplay
{
public:
    explicit CFakeHost(CJournal& journal) : m_Journal(journal) {}
    const std::shared_ptr<sds::CDropZoneLevel>& GetDropZone() const override { return m_DZ; }
    bool IsEditing() const override { return m_Editing; }
    void RecordJump(const sds::IJumper& jumper) override
    {
        m_Journal.push_back("record jump");
        m_Recorded.push_back(&jumper);
        std::vector<const sds::IJumper*> jumpers;
        for (const auto& each : sds::CJumperMgr::GetSingleton()->GetJumpers())
            jumpers.push_back(each.get());
        m_JumpersAtRecord.push_back(jumpers);
    }
    const sds::CCollisionJudgeFactory& GetCollisionJudgeFactory() const override { return m_Judges; }
    sds::IJumpEndDisplay& GetJumpEndDisplay() override { return *this; }
    void ShowTrajectory(bool, const std::string&) override {}
    bool ShowsLandingComment() const override { return true; }
    void ShowCenterMessage(const std::string&) override {}

    std::shared_ptr<sds::CDropZoneLevel> m_DZ;
    bool m_Editing = false;
    sds::CCollisionJudgeFactory m_Judges;
    std::vector<const sds::IJumper*> m_Recorded;
    // The level's jumpers when each jump was recorded.
    std::vector<std::vector<const sds::IJumper*>> m_JumpersAtRecord;

private:
    CJournal& m_Journal;
};

// The drop zone "Test Field": its scene without its preset. The preset is added from JumpPreset.xml.
const char* const TestField = R"(<scene FullName="Test Field">
  <Target File="../data/physics/Target.phs" Position="100, 0, 50" Material="Target"/>
  <SimObj File="../data/physics/TrafficCone.phs" Position="80, 0, 40"/>
  <SimObj File="../data/physics/Barrel.phs" Position="130, 0, 70"/>
  <SimObj File="../data/physics/Barrel.phs" Position="140, 0, 70"/>
  <WindSock File="../data/physics/WindSock.phs" Position="170, 0, 5"/>
  <WindSock File="../data/physics/WindSock.phs" Position="-150, 0, 200"/>
  <Tree Pos="-60, 0, 160" Scale="1.1, 1.1, 1.1"/>
  <Tree Pos="380, 2, 40" Scale="2, 2, 2"/>
  <Airplane/>
  <Stream Name="Rain" File="../data/sounds/rain.ogg" Loop="1"/>
  <Stream Name="BgMusic" File="../data/sounds/wind.ogg" Loop="1"/>
</scene>)";

// Every service a level needs, over fakes and the in-memory graphics, with the
// shipped configuration, physics and equipment, and the level's physics mod.
class LevelTest : public ::testing::Test
{
public:
    LevelTest()
        : m_App(LoadDefaultConfig()), m_Gfx(m_Journal), m_Fader([] { return std::uint64_t(0); }),
          m_Equipment(Load("../conf/equipment.xml", "Equipment")), m_Host(m_Journal)
    {
        DefineLevelMeshes(m_Gfx);
        m_Context.Host = &m_Host;
    }

    ~LevelTest() override
    {
        m_Level.reset();
        m_Physics.reset();
    }

    static xml::CNodePtr Load(const std::string& path, const std::string& root)
    {
        CMessageCapture quiet;
        return xml::LoadXmlFile(path)->GetChild(root);
    }
    static xml::CNodePtr Xml(const std::string& text)
    {
        CMessageCapture quiet;
        return xml::LoadXmlFromMemory(text, "test")->GetChildren().begin()->second;
    }
    static xml::CNodePtr Preset() { return Load(SDS_SOURCE_DIR "/tests/level/JumpPreset.xml", "Preset"); }

    // The drop zone of the scene text with the shared preset, which `edit` may change first.
    void SetScene(const std::string& scene,
                  const std::function<void(const xml::CNodePtr& scene)>& edit = std::function<void(const xml::CNodePtr&)>())
    {
        CMessageCapture quiet;
        const xml::CNodePtr tree = xml::LoadXmlFromMemory(scene, "test");
        const xml::CNodePtr sceneNode = tree->GetChild("scene");
        xml::CNode::Clone(Preset(), sceneNode.get());
        if (edit)
            edit(sceneNode);
        m_Host.m_DZ = std::make_shared<sds::CDropZoneLevel>(tree, "test.dz");
    }
    // The working tree's scene, which the level reads.
    xml::CNodePtr Scene() const { return m_Host.m_DZ->GetWorkingTree()->GetChild("scene"); }

    // The physics mod, as the game mode makes it before the level.
    void StartPhysics()
    {
        if (!m_Physics)
            m_Physics = std::make_unique<sds::CPhyEnabledMod>(Load("../data/physics/physics.xml", "Physics"),
                                                              Load("../conf/materials.conf", "Materials"));
    }
    sds::CDZLoaderMod& LoadLevel()
    {
        StartPhysics();
        m_Level = std::make_unique<sds::CDZLoaderMod>(*m_Host.m_DZ, m_Bar, m_Context);
        return *m_Level;
    }
    sds::CEngineLoader& Loader() const { return m_Level->GetEngineLoader(); }
    const sds::CJumperMgr::CJumpers& Jumpers() const { return m_Level->GetJumperMgr().GetJumpers(); }
    sds::CMemCamera& Camera() const { return *m_Gfx.GetMemCamera(); }

    // The log lines from the first that starts with `from`.
    std::vector<std::string> LinesStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> lines;
        for (const std::string& line : m_Log.m_Lines)
            if (line.compare(0, prefix.size(), prefix) == 0)
                lines.push_back(line);
        return lines;
    }

    CMessageCapture m_Quiet;
    CCapturingLogMgr m_Log;
    CDiskResourceMgr m_Resources;
    CFakeApplication m_App;
    CJournal m_Journal;
    CLevelGfx m_Gfx;
    sds::CMemFader m_Fader;
    CFakeSndMgr m_Sound;
    sds::CEquipmentManager m_Equipment;
    CFakeHost m_Host;
    CRecordingBar m_Bar;
    sds::CLevelContext m_Context;
    std::unique_ptr<sds::CPhyEnabledMod> m_Physics;
    std::unique_ptr<sds::CDZLoaderMod> m_Level;
    sds::CTiming m_Frame{0.02f, 0.0f};
};
