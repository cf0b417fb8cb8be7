#include "physics/ScyPhy.h"

#include "physics/sdk/IActor.h"
#include "physics/ZavuviPhysicalObject.h"

namespace physics {

CScyPhy::CScyPhy(std::shared_ptr<Zavuvi::PhysicalObject> object, int modelIndex)
    : m_Object(std::move(object)), m_ModelIndex(modelIndex)
{
}

sds::CVector CScyPhy::GetPos() const
{
    const Zavuvi::ModelInstance& model = m_Object->m_Models.at(std::size_t(m_ModelIndex));
    const sdk::IActor* actor = model.m_Actor ? model.m_Actor->GetActor() : nullptr;
    if (!actor)
        return model.m_Position;
    return actor->GetGlobalPosition() + actor->GetGlobalOrientation() * model.m_RelativePosition;
}

sds::CQuaternion CScyPhy::GetOrientation() const
{
    const Zavuvi::ModelInstance& model = m_Object->m_Models.at(std::size_t(m_ModelIndex));
    const sdk::IActor* actor = model.m_Actor ? model.m_Actor->GetActor() : nullptr;
    if (!actor)
        return model.m_Rotation.ToQuaternion();
    return (Zavuvi::Matrix::FromQuaternion(actor->GetGlobalOrientation()) * model.m_RelativeRotation).ToQuaternion();
}

void CScyPhy::SetOrientation(const sds::CQuaternion& orientation)
{
    Zavuvi::ModelInstance& model = m_Object->m_Models.at(std::size_t(m_ModelIndex));
    sds::CQuaternion q = orientation;
    q.NormaliseQuaternion();
    if (sdk::IActor* actor = model.m_Actor ? model.m_Actor->GetActor() : nullptr)
        actor->SetGlobalOrientation(q);
    else
        model.m_Rotation = Zavuvi::Matrix::FromQuaternion(q);
}

void CScyPhy::SetPos(const sds::CVector& position)
{
    Zavuvi::ModelInstance& model = m_Object->m_Models.at(std::size_t(m_ModelIndex));
    if (sdk::IActor* actor = model.m_Actor ? model.m_Actor->GetActor() : nullptr)
        actor->SetGlobalPosition(position);
    else
        model.m_Position = position;
}

} // namespace physics
