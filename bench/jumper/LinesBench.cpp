// One frame of the default line set on the real graphics: the shipped rig
// opened under its canopy, its lines' update (points, 96 segments) timed on
// their own. Run under a display (xvfb-run); prints its figure last:
//   line_set_frame_us=<median microseconds per update>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <vector>

#include "graphics/ogre/OgreGfxMgr.h"
#include "jumper/Container.h"
#include "jumper/EquipmentManager.h"
#include "jumper/Jumper.h"
#include "jumper/SuspensionLines.h"
#include "physics/PhyMgr.h"
#include "physics/flight/PhyJumper.h"
#include "support/CapturingLogMgr.h"
#include "support/DiskResourceMgr.h"
#include "support/FakeApplication.h"
#include "support/MessageCapture.h"
#include "support/OgreTestEnvironment.h"

namespace {

xml::CNodePtr Load(const std::string& path, const std::string& root)
{
    return xml::LoadXmlFile(path)->GetChild(root);
}

} // namespace

int main()
{
    if (chdir(SDS_RUN_DIR "/bin") != 0) {
        std::cerr << "cannot enter the run tree " SDS_RUN_DIR "/bin\n";
        return 1;
    }
    CMessageCapture quiet;
    CCapturingLogMgr log;
    CDiskResourceMgr resources;
    COgreTestEnvironment& env = COgreTestEnvironment::Get();
    {
        CFakeApplication app(Load("../conf/conf.xml", "sds"));
        wrappers::COgreGfxMgr gfx(env.m_Window, env.m_Level, &app);
        sds::CEquipmentManager equipment(Load("../conf/equipment.xml", "Equipment"));
        const std::shared_ptr<physics::CPhyMgr> world = physics::CPhyMgr::Create(
            Load("../data/physics/physics.xml", "Physics"), Load("../conf/materials.conf", "Materials"));
        world->SetLogCallbacks([](const std::string&) {}, [](const std::string&) {}, [](const std::string&) {});
        world->SetJumperFactory(&physics::CPhyJumper::Create);
        {
            const xml::CNodePtr config = xml::CNode::Clone(app.m_Config->GetChild("Jumper"));
            sds::CJumper jumper("Jumper", false, 0, config, nullptr, sds::CVector(0, 1000, 0),
                                sds::CQuaternion::IDENTITY, 80.0f, 20.0f, "", "", true, false);
            jumper.Update(sds::CTiming{0.02f, 0.02f});
            const sds::CContainerPtr rig = jumper.GetContainer();
            rig->CreateBridleLine();
            rig->CreateLines();
            rig->BeginInflation();
            rig->GetCanopy()->StartFullFlight();
            // The slider on the rig, where the lines carry it.
            rig->GetGfxObj()->AddChild(rig->GetSlider()->GetGfxObj());
            rig->GetSlider()->ResetToContainer();
            rig->GetCanopy()->GetGfxObj()->SetPos(sds::CVector(0, 3.4f, 0));
            sds::CSuspensionLines& lines = *std::static_pointer_cast<sds::CContainer>(rig)->GetSuspensionLines();

            const int updates = 2000;
            std::vector<double> runs;
            sds::CTiming timing{0.02f, 0.0f};
            for (int run = 0; run < 9; ++run) {
                const auto start = std::chrono::steady_clock::now();
                for (int i = 0; i < updates; ++i) {
                    timing.m_Global += timing.m_Elapsed;
                    lines.Update(timing);
                }
                const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
                runs.push_back(spent.count() / updates);
            }
            std::sort(runs.begin(), runs.end());
            std::cout << "segments=" << lines.GetUpperSegments().size() + lines.GetRiserSegments().size() +
                                            lines.GetLowerSegments().size()
                      << "\n";
            std::cout << "line_set_frame_us=" << runs[runs.size() / 2] << std::endl;
        }
    }
    env.TearDown();
    return 0;
}
