#include "physics/ZavuviInstancer.h"

#include "physics/PhyMgr.h"
#include "physics/PhyObj.h"
#include "physics/PhyRagDoll.h"
#include "physics/ScyPhy.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IShape.h"
#include "physics/ZavuviHooks.h"
#include "physics/ZavuviInsert.h"
#include "physics/ZavuviPhysicalObject.h"
#include "physics/zavuvi/PhysicsEntity.h"

namespace physics {

CZavuviInstancer::CZavuviInstancer()
{
    Zavuvi::CHooks hooks;
    hooks.m_Actor = [this](const std::shared_ptr<Zavuvi::PhysicalObject>& object, std::shared_ptr<CPhyObj>,
                           const Zavuvi::PhysicsActor* record, void*, int) { OnActor(object, record); };
    hooks.m_Joint = [](sdk::IJoint*, const Zavuvi::PhysicsJoint*, void*) {};
    hooks.m_Skeleton = [this](const std::shared_ptr<Zavuvi::PhysicalObject>& object, const std::string& name,
                              const Zavuvi::PhysicsModel*, void*, const std::shared_ptr<Zavuvi::SkeletonData>& skeleton,
                              const Zavuvi::Vector3&, const Zavuvi::Matrix&) { OnSkeleton(object, name, skeleton); };
    hooks.m_Model = [this](const std::shared_ptr<Zavuvi::PhysicalObject>& object, const std::string& name,
                           const Zavuvi::PhysicsModel*, int index, const std::string&) { OnModel(object, name, index); };
    hooks.m_Light = [](const std::shared_ptr<Zavuvi::PhysicalObject>&, const Zavuvi::PhysicsLight*, int) {};
    Zavuvi::SetHooks(hooks, this);
}

CZavuviInstancer::~CZavuviInstancer()
{
    Zavuvi::ClearHooks(this);
}

std::shared_ptr<Zavuvi::PhysicsEntity> CZavuviInstancer::GetFile(const std::string& path)
{
    auto cached = m_Files.find(path);
    if (cached != m_Files.end())
        return cached->second;
    // Kept only once read whole, so that a file put right is read again.
    auto entity = std::make_shared<Zavuvi::PhysicsEntity>();
    entity->Load(path);
    m_Files[path] = entity;
    return entity;
}

void CZavuviInstancer::Load(const std::string& path, const sds::CVector& position,
                            const sds::CQuaternion& orientation, const CObjectCallback& models,
                            const CObjectCallback& ragDolls, bool keepPending, const std::string& material)
{
    m_FirstPending = m_Pending.size();
    m_CurrentModelCallback = models;
    try
    {
        Insert(path, position, orientation, material);
        m_CurrentModelCallback = nullptr;
        m_CurrentFile.reset();
        for (std::size_t i = m_FirstPending; i < m_Pending.size(); ++i)
        {
            static_cast<CPhyRagDoll&>(*m_Pending[i].m_Object).InitRootName();
            if (ragDolls)
                ragDolls(m_Pending[i].m_Name, m_Pending[i].m_Object);
        }
    }
    catch (...)
    {
        // Nothing of a failed load is kept.
        m_Pending.resize(m_FirstPending);
        m_CurrentModelCallback = nullptr;
        m_CurrentFile.reset();
        throw;
    }
    if (!keepPending)
        m_Pending.clear();
}

void CZavuviInstancer::Insert(const std::string& path, const sds::CVector& position,
                              const sds::CQuaternion& orientation, const std::string& material)
{
    m_CurrentFile = GetFile(path);
    const std::shared_ptr<Zavuvi::PhysicalObject> object = Zavuvi::Insert(m_CurrentFile, position, orientation);
    if (material.empty())
        return;
    const std::uint16_t index = CPhyMgr::GetSingleton()->GetMaterialIndex(material);
    for (const auto& actor : object->m_Actors)
        if (actor && actor->GetActor())
            for (sdk::IShape* shape : actor->GetActor()->GetShapes())
                shape->SetMaterial(index);
}

std::shared_ptr<IPhyObj> CZavuviInstancer::Create(const std::string& path, const sds::CVector& position,
                                                  const sds::CQuaternion& orientation, const CObjectCallback& ragDolls)
{
    const std::size_t first = m_Pending.size();
    Load(path, position, orientation, nullptr, ragDolls, true, "");
    std::shared_ptr<IPhyObj> result = m_Pending.size() > first ? m_Pending[first].m_Object : nullptr;
    m_Pending.clear();
    return result;
}

void CZavuviInstancer::OnActor(const std::shared_ptr<Zavuvi::PhysicalObject>&, const Zavuvi::PhysicsActor* record)
{
    // Each skeleton's rag doll is among this load's entries, in skeleton order.
    if (!m_CurrentFile || record->m_SkeletonIndex < 0)
        return;
    const std::size_t entry = m_FirstPending + std::size_t(record->m_SkeletonIndex);
    if (entry < m_Pending.size())
        static_cast<CPhyRagDoll&>(*m_Pending[entry].m_Object).AddBoneName(record->m_BoneName);
}

void CZavuviInstancer::OnSkeleton(const std::shared_ptr<Zavuvi::PhysicalObject>& object, const std::string& name,
                                  const std::shared_ptr<Zavuvi::SkeletonData>& skeleton)
{
    // Insertions that this store did not start are none of its business.
    if (m_CurrentFile)
        m_Pending.push_back({name, std::make_shared<CPhyRagDoll>(m_CurrentFile, skeleton, object)});
}

void CZavuviInstancer::OnModel(const std::shared_ptr<Zavuvi::PhysicalObject>& object, const std::string& name,
                               int index)
{
    if (m_CurrentFile && m_CurrentModelCallback)
        m_CurrentModelCallback(name, std::make_shared<CScyPhy>(object, index));
}

} // namespace physics
