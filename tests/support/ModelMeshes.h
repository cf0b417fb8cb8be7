#pragma once

#include <string>
#include <vector>

#include "graphics/memory/MemGfxMgr.h"
#include "meshgen/Models.h"

// The models the mesh tool writes, as the in-memory graphics takes them: the
// same descriptions, so that a headless test sees the meshes the program loads.
inline sds::mem::CMeshDesc ToMemMesh(const meshgen::CMeshModel& model)
{
    sds::mem::CMeshDesc mesh;
    mesh.m_Box = model.Bounds();
    mesh.m_SubEntityMaterials.clear();
    for (const meshgen::CSubMesh& sub : model.m_SubMeshes)
        mesh.m_SubEntityMaterials.push_back(sub.m_Material);
    for (const meshgen::CBone& bone : model.m_Bones)
        mesh.m_Bones.push_back({bone.m_Name, bone.m_Parent, bone.m_Pos, bone.m_Orientation});
    for (const meshgen::CAnimation& animation : model.m_Animations) {
        sds::mem::CAnimationDesc desc;
        desc.m_Name = animation.m_Name;
        desc.m_Length = animation.m_Length;
        for (const meshgen::CTrack& track : animation.m_Tracks) {
            sds::mem::CTrack memTrack;
            memTrack.m_Bone = track.m_Bone;
            for (const meshgen::CKeyFrame& key : track.m_KeyFrames)
                memTrack.m_KeyFrames.push_back({key.m_Time, key.m_Translate, key.m_Rotate});
            desc.m_Tracks.push_back(memTrack);
        }
        mesh.m_Animations.push_back(desc);
    }
    return mesh;
}

// The folder of the rag dolls' physics sources, whose bone lists the models take.
inline std::string PhysicsSourcesDir()
{
    return std::string(SDS_SOURCE_DIR) + "/tools/phsgen/models";
}

// The program's models, made once per test binary.
inline const std::vector<meshgen::CMeshModel>& ProjectModels()
{
    static const std::vector<meshgen::CMeshModel> models = meshgen::ProjectModels(PhysicsSourcesDir());
    return models;
}

inline void DefineModelMeshes(sds::CMemGfxMgr& mgr, const std::vector<meshgen::CMeshModel>& models)
{
    for (const meshgen::CMeshModel& model : models)
        mgr.DefineMesh(model.m_Name, ToMemMesh(model));
}
