#pragma once

#include "graphics/memory/MemGfxMgr.h"
#include "support/HudOverlays.h"
#include "support/ModelMeshes.h"

// What a level's objects need of the in-memory graphics: the project's model
// meshes, the surface objects' meshes, a wind sock with its three bones, the
// jumper's material templates and the digital altimeter's read-out overlay.
inline void DefineLevelMeshes(sds::CMemGfxMgr& gfx)
{
    DefineModelMeshes(gfx, ProjectModels());
    for (const char* mesh : {"Target", "ForceFieldTarget", "TrafficCone", "Barrel", "Tree"})
        gfx.DefineMesh(mesh, sds::mem::CMeshDesc());
    sds::mem::CMeshDesc windSock;
    windSock.m_Bones = {{"Mast", -1, sds::CVector::ZERO, sds::CQuaternion::IDENTITY},
                        {"Twist", 0, sds::CVector(0, 5, 0), sds::CQuaternion::IDENTITY},
                        {"Tail", 1, sds::CVector(-0.25f, 0, 0), sds::CQuaternion::IDENTITY}};
    gfx.DefineMesh("WindSock", windSock);
    for (const char* material : {"Jumper_Simple", "Jumper_Shaders"})
        gfx.DefineMaterial(material, sds::mem::CMaterial());
    DefineScriptOverlays(gfx, "general/Altimeters.overlay");
}
