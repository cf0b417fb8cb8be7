// Time of one frame of the force visualisation: the physics world steps the
// probes through the scene's force fields, then the visualisation moves the
// particles and their trails and renews those that expired. Headline figures
// last, one name=value a line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "core/ILogMgr.h"
#include "core/XmlFile.h"
#include "forcefields/ForceFieldScene.h"
#include "forcefields/ForceVisualization.h"
#include "graphics/memory/MemGfxMgr.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"

namespace {

class CQuietLog : public sds::ILogMgr
{
public:
    void LogMessage(const std::string&) override {}
    void LogError(const std::string& text) override { std::fprintf(stderr, "Error: %s\n", text.c_str()); }
    void LogWarning(const std::string&) override {}
};

xml::CNodePtr Root(const std::string& path)
{
    return xml::LoadXmlFile(std::string(SDS_SOURCE_DIR) + "/" + path)->GetChildren().begin()->second;
}

} // namespace

int main()
{
    CQuietLog log;
    sds::CMemGfxMgr gfx;
    gfx.SetAllowUnknownMeshes(true);
    auto world = physics::CPhyMgr::Create(Root("data/physics/physics.xml"), Root("conf/materials.conf"));
    const xml::CNodePtr scene = Root("data/DovuvUvozeVozediza/Rotor.ForceFields");
    xml::ForEachChild(*scene->GetChild("Preset")->GetChild("Wind"), "Region", [&world](const xml::CNodePtr& region) {
        world->GetWindMgr().GetRegions().push_back(world->GetWindMgr().CreateRegion(region));
    });

    const xml::CNodePtr boundaries = sds::DovuvUvozeVozediza::GetBoundaries(scene);
    sds::CBoundingBox area;
    area.Reset(boundaries->GetAttribute("MinCorner")->GetValue<sds::CVector>());
    area.Merge(boundaries->GetAttribute("MaxCorner")->GetValue<sds::CVector>());
    const xml::CNodePtr visualization = scene->GetChild("ForceFieldVisualization");
    const int particles = sds::CForceVisualization::ParticleCount(400.0f, 1.0f);
    sds::CForceVisualization vis(*world, particles, visualization->GetChild("Trail"), area,
                                 visualization->GetAttribute("TimeToLive")->GetValue<sds::CVector>(),
                                 boundaries->GetChild("Mesh"));

    sds::CTiming timing;
    timing.m_Elapsed = 1.0f / 60.0f;
    const int kFrames = 1200; // 20 s of flight: every first particle has been renewed
    std::vector<double> micros;
    micros.reserve(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        timing.m_Global += timing.m_Elapsed;
        const auto start = std::chrono::steady_clock::now();
        // As the level does each frame: the physics step, then the wind regions' scripts are told the time.
        world->Update(timing);
        world->GetWindMgr().Update(timing);
        vis.Update(timing);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    double sum = 0.0;
    for (double m : micros)
        sum += m;
    std::printf("frames=%d particles=%zu\n", kFrames, vis.GetParticles().size());
    std::printf("forcevis_frame_mean_us=%.0f\n", sum / kFrames);
    std::printf("forcevis_frame_median_us=%.0f\n", micros[kFrames / 2]);
    std::printf("forcevis_frame_p99_us=%.0f\n", micros[kFrames * 99 / 100]);
    return 0;
}
