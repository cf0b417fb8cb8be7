#include "physics/PhyResourceLoader.h"

#include "physics/PhyMgr.h"
#include "physics/WindMgr.h"

namespace physics {

CPhyResourceLoader::CPhyResourceLoader(const xml::CNodePtr& physics, CWindMgr& windMgr, CPhyMgr& world)
    : sds::ILevelResourceLoader("Physics"),
      m_World(world.GetSerial()),
      m_WindMgr(&windMgr),
      m_Wind(physics->GetChild("Wind"))
{
    world.SetDropZoneElevation(
        physics->GetChildById("Info", "Drop zone elevation", "Name,Id")->GetValue<float>());
    m_WindMgr->LoadRegions(m_Wind);
}

CPhyResourceLoader::~CPhyResourceLoader()
{
    // A loader that a newer one has replaced leaves the newer one's regions alone.
    const CPhyMgr* world = CPhyMgr::GetLiveWorld(m_World);
    const CPhyResourceLoader* current = world ? world->GetResourceLoader() : nullptr;
    if (world && (!current || current == this))
        m_WindMgr->GetRegions().clear();
}

CWindMgr* CPhyResourceLoader::GetWindMgr() const
{
    return CPhyMgr::GetLiveWorld(m_World) ? m_WindMgr : nullptr;
}

void CPhyResourceLoader::Update(const sds::CTiming& timing)
{
    if (CWindMgr* windMgr = GetWindMgr())
        windMgr->Update(timing);
}

void CPhyResourceLoader::Restart()
{
    if (CWindMgr* windMgr = GetWindMgr())
        windMgr->LoadRegions(m_Wind);
}

} // namespace physics
