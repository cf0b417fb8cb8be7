#include "jumper/SimObj.h"

#include "physics/IPhyObj.h"

namespace sds {

CSimObj::CSimObj(const CGfxObjPtr& gfxObj, const std::shared_ptr<physics::IPhyObj>& phyObj)
    : CVisObj(gfxObj), m_PhyObj(phyObj)
{
    SyncTransform();
}

CSimObj::~CSimObj()
{
    m_PhyObj.reset();
    m_GfxObj.reset();
}

void CSimObj::Update(const CTiming& timing)
{
    SyncTransform();
    CVisObj::Update(timing);
}

void CSimObj::SyncTransform()
{
    if (m_GfxDriven) {
        m_PhyObj->SetPos(m_GfxObj->GetPos());
        m_PhyObj->SetOrientation(m_GfxObj->GetOrientation());
    } else {
        m_GfxObj->SetPos(m_PhyObj->GetPos());
        m_GfxObj->SetOrientation(m_PhyObj->GetOrientation());
    }
}

} // namespace sds
