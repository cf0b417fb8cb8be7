#include "graphics/TrajectoryDisplay.h"

#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/Quaternion.h"
#include "graphics/IGfxMgr.h"

namespace sds {

void CTrajectoryDisplay::BuildTrajectoryMesh()
{
    if (m_Points.empty())
        return;
    IGfxMgr* gfx = IGfxMgr::GetSingleton();
    SDS_ASSERT(gfx && "The graphics manager must exist");

    m_StaticGeometry = gfx->CreateStaticGeometry(MakeUniqueName(m_NamePrefix));
    m_MeshObject = gfx->CreateMeshObject(m_MeshName);
    const CGfxObjPtr& mesh = m_MeshObject;
    mesh->SetMaterial(mesh->GetSubEntityMaterialName(0), true);
    CFourFloats colour;
    colour.ParseQuaternion(m_Colour);
    mesh->SetSubEntityColour(0, colour);

    m_BoundingBox.Reset(m_Points.front());
    for (std::size_t i = 0; i + 2 < m_Points.size(); ++i) {
        const CVector segment = m_Points[i + 1] - m_Points[i];
        const CQuaternion orientation = GetRotationTo(CVector::UNIT_Y, segment);
        m_StaticGeometry->AddObject(mesh, m_Points[i], orientation,
                                    CVector(m_MeshScale, segment.Length(), m_MeshScale));
        m_BoundingBox.Merge(m_Points[i + 1]);
    }
    m_StaticGeometry->Build();
}

} // namespace sds
