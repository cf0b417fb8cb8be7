#include "graphics/memory/MemStaticGeometry.h"

#include "graphics/memory/MemGfxObj.h"

namespace sds {

void CMemStaticGeometry::AddObject(const CGfxObjPtr& object, const CVector& position,
                                   const CQuaternion& orientation, const CVector& scale)
{
    m_Placements.push_back({object->GetEntityName(), position, orientation, scale});
}

void CMemStaticGeometry::AddObjectAndDetach(const CGfxObjPtr& object, const CVector& position,
                                            const CQuaternion& orientation, const CVector& scale)
{
    CMemGfxObj& memObject = static_cast<CMemGfxObj&>(*object);
    if (mem::CNode* node = memObject.GetNode()) {
        m_Placements.push_back({object->GetEntityName(), node->m_Pos, node->m_Orientation, node->m_Scale});
        if (node->m_Parent)
            node->m_Parent->RemoveChild(node);
    } else if (memObject.GetEntity() && !memObject.GetEntity()->m_Node) {
        AddObject(object, position, orientation, scale);
    }
}

void CMemStaticGeometry::AddMesh(const std::string& meshName, const CVector& position,
                                 const CQuaternion& orientation, const CVector& scale)
{
    m_Placements.push_back({meshName, position, orientation, scale});
}

} // namespace sds
