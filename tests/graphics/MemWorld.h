#pragma once

#include "graphics/memory/MemGfxMgr.h"
#include "support/ModelMeshes.h"

// The in-memory graphics with the test meshes the mesh tool also writes.
class CMemWorld
{
public:
    CMemWorld() { DefineModelMeshes(m_Mgr, meshgen::TestModels()); }

    sds::IGfxMgr& Mgr() { return m_Mgr; }
    sds::CMemGfxMgr& Memory() { return m_Mgr; }
    static const char* Name() { return "Memory"; }
    void DefineTextOverlay(const std::string& overlay, const std::string& element)
    {
        m_Mgr.DefineOverlay(overlay, {element});
    }
    void ResetScene() { m_Mgr.ResetScene(); }

private:
    sds::CMemGfxMgr m_Mgr;
};
