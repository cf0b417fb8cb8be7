#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Quaternion.h"
#include "core/Vector.h"

namespace Zavuvi {
class PhysicalObject;
class PhysicsEntity;
struct PhysicsActor;
struct PhysicsModel;
struct SkeletonData;
}

namespace physics {

class CPhyObj;
class CPhyRagDoll;
class IPhyObj;

// The physics world's store of physics-editor files. It reads each file once,
// inserts it into the scene at a pose, and reports what the file holds: a rag
// doll for every skeleton, and, when asked, an object for every model that an
// actor carries.
class CZavuviInstancer
{
public:
    typedef std::function<void(const std::string&, const std::shared_ptr<IPhyObj>&)> CObjectCallback;

    CZavuviInstancer();
    ~CZavuviInstancer();
    CZavuviInstancer(const CZavuviInstancer&) = delete;
    CZavuviInstancer& operator=(const CZavuviInstancer&) = delete;

    // Inserts the file at `path` (read from disk on its first successful load)
    // and hands each model's object to `models` and each skeleton's rag doll to
    // `ragDolls` (either may be empty). `material`, unless empty, names the
    // physical material of every shape. A file that cannot be read, or that the
    // scene refuses, throws; nothing of it stays.
    void Load(const std::string& path, const sds::CVector& position, const sds::CQuaternion& orientation,
              const CObjectCallback& models, const CObjectCallback& ragDolls, bool keepPending,
              const std::string& material);
    // Load without models; the rag doll of the file's first skeleton, or none
    // when the file has no skeleton.
    std::shared_ptr<IPhyObj> Create(const std::string& path, const sds::CVector& position,
                                    const sds::CQuaternion& orientation, const CObjectCallback& ragDolls);

    // The files read so far, by path.
    std::size_t GetFileCount() const { return m_Files.size(); }

private:
    struct CPending
    {
        std::string m_Name;
        std::shared_ptr<IPhyObj> m_Object;
    };

    std::shared_ptr<Zavuvi::PhysicsEntity> GetFile(const std::string& path);
    void Insert(const std::string& path, const sds::CVector& position, const sds::CQuaternion& orientation,
                const std::string& material);
    // The hooks every insertion calls.
    void OnActor(const std::shared_ptr<Zavuvi::PhysicalObject>& object, const Zavuvi::PhysicsActor* record);
    void OnSkeleton(const std::shared_ptr<Zavuvi::PhysicalObject>& object, const std::string& name,
                    const std::shared_ptr<Zavuvi::SkeletonData>& skeleton);
    void OnModel(const std::shared_ptr<Zavuvi::PhysicalObject>& object, const std::string& name, int index);

    std::vector<CPending> m_Pending;
    std::map<std::string, std::shared_ptr<Zavuvi::PhysicsEntity>> m_Files;
    std::shared_ptr<Zavuvi::PhysicsEntity> m_CurrentFile;
    CObjectCallback m_CurrentModelCallback;
    // Where the current load's own entries begin in the pending list.
    std::size_t m_FirstPending = 0;
};

} // namespace physics
