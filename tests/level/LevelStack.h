#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/XmlFile.h"
#include "graphics/ILoadingProgressBar.h"
#include "jumper/EquipmentManager.h"
#include "jumper/IJumpEndDisplay.h"
#include "level/DZLoaderMod.h"
#include "mods/ILevelHost.h"
#include "mods/PhyEnabledMod.h"
#include "scene/DropZoneLevel.h"
#include "sound/DummySndMgr.h"

// A level loaded as the program loads it, over the graphics manager that is
// installed: the physics mod as the game mode makes it before the level, the
// shipped equipment, no sound, and a game mode that only counts recorded
// jumps. The drop zone's scene gets the shared jump preset (JumpPreset.xml)
// as the drop-zone menu writes it. Paths are those of the run tree's bin
// folder. Used by the level's display tests and by bench_zone.
class CLevelStack : public sds::ILevelHost, public sds::IJumpEndDisplay
{
public:
    // A bar that shows nothing.
    class CSilentBar : public sds::ILoadingProgressBar
    {
    public:
        void SetProgress(const std::string&, float) override {}
        void SetStepProgress(const std::string&, float) override {}
        void Show() override {}
    };

    CLevelStack() : m_Equipment(xml::LoadXmlFile("../conf/equipment.xml")->GetChild("Equipment")) {}
    ~CLevelStack() override { Unload(); }

    // The drop-zone file (default: the shipped "Home Field") with the jump
    // preset in its scene; `edit` may change the scene afterwards.
    void SetDropZone(const std::string& file = "../data/Skorvel/HomeField.dz",
                     const std::function<void(const xml::CNodePtr& scene)>& edit = {})
    {
        const xml::CNodePtr tree = xml::LoadXmlFile(file);
        const xml::CNodePtr scene = tree->GetChild("scene");
        xml::CNode::Clone(xml::LoadXmlFile(SDS_SOURCE_DIR "/tests/level/JumpPreset.xml")->GetChild("Preset"),
                          scene.get());
        if (edit)
            edit(scene);
        m_DZ = std::make_shared<sds::CDropZoneLevel>(tree, file);
    }

    // The three stages: the physics mod first, then the drop-zone loader.
    sds::CDZLoaderMod& Load()
    {
        if (!m_Physics)
            m_Physics = std::make_unique<sds::CPhyEnabledMod>(
                xml::LoadXmlFile("../data/physics/physics.xml")->GetChild("Physics"),
                xml::LoadXmlFile("../conf/materials.conf")->GetChild("Materials"));
        sds::CLevelContext context;
        context.Host = this;
        m_Level = std::make_unique<sds::CDZLoaderMod>(*m_DZ, m_Bar, context);
        return *m_Level;
    }

    // As the game mode leaves a level: the loader, then the physics mod.
    void Unload()
    {
        m_Level.reset();
        m_Physics.reset();
    }

    sds::CDZLoaderMod* Level() const { return m_Level.get(); }
    sds::CPhyEnabledMod* Physics() const { return m_Physics.get(); }
    int RecordedJumps() const { return m_RecordedJumps; }

    const std::shared_ptr<sds::CDropZoneLevel>& GetDropZone() const override { return m_DZ; }
    bool IsEditing() const override { return false; }
    void RecordJump(const sds::IJumper&) override { ++m_RecordedJumps; }
    const sds::CCollisionJudgeFactory& GetCollisionJudgeFactory() const override { return m_Judges; }
    sds::IJumpEndDisplay& GetJumpEndDisplay() override { return *this; }
    void ShowTrajectory(bool, const std::string&) override {}
    bool ShowsLandingComment() const override { return false; }
    void ShowCenterMessage(const std::string&) override {}

private:
    sds::CEquipmentManager m_Equipment;
    sds::CDummySndMgr m_Sound;
    CSilentBar m_Bar;
    sds::CCollisionJudgeFactory m_Judges;
    std::shared_ptr<sds::CDropZoneLevel> m_DZ;
    std::unique_ptr<sds::CPhyEnabledMod> m_Physics;
    std::unique_ptr<sds::CDZLoaderMod> m_Level;
    int m_RecordedJumps = 0;
};
