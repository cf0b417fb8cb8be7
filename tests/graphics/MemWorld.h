#pragma once

#include "graphics/memory/MemGfxMgr.h"

// The in-memory graphics with the test meshes the mesh tool also writes.
class CMemWorld
{
public:
    CMemWorld() { m_Mgr.DefineMesh("SkeletonTest", SkeletonTestMesh()); }

    sds::IGfxMgr& Mgr() { return m_Mgr; }
    sds::CMemGfxMgr& Memory() { return m_Mgr; }
    static const char* Name() { return "Memory"; }
    void DefineTextOverlay(const std::string& overlay, const std::string& element)
    {
        m_Mgr.DefineOverlay(overlay, {element});
    }
    void ResetScene() { m_Mgr.ResetScene(); }

    // Root, Arm (1 up from Root) and Hand (1 up from Arm); "Move" 2 s takes the
    // Arm 2 along +X, "Lift" 4 s takes it 4 along +Z, "Turn" 1 s turns the Hand
    // a quarter about Y, "Still" has length 0.
    static sds::mem::CMeshDesc SkeletonTestMesh()
    {
        using namespace sds::mem;
        CMeshDesc mesh;
        mesh.m_SubEntityMaterials = {"Dravonkel/Default"};
        mesh.m_Bones = {{"Root", -1, {0, 0, 0}, {}}, {"Arm", 0, {0, 1, 0}, {}}, {"Hand", 1, {0, 1, 0}, {}}};
        auto track = [](std::uint16_t bone, float end, const sds::CVector& translate, const sds::CQuaternion& rotate) {
            CTrack t;
            t.m_Bone = bone;
            t.m_KeyFrames = {{0.0f, {}, {}}, {end, translate, rotate}};
            return t;
        };
        sds::CQuaternion quarter;
        quarter.FromAngleAxis(1.5707963f, sds::CVector::UNIT_Y);
        mesh.m_Animations = {{"Move", 2.0f, {track(1, 2.0f, {2, 0, 0}, {})}},
                             {"Lift", 4.0f, {track(1, 4.0f, {0, 0, 4}, {})}},
                             {"Turn", 1.0f, {track(2, 1.0f, {}, quarter)}},
                             {"Still", 0.0f, {}}};
        return mesh;
    }

private:
    sds::CMemGfxMgr m_Mgr;
};
