#pragma once

#include <map>
#include <memory>
#include <string>

#include "physics/ZavuviActor.h"
#include "physics/zavuvi/Matrix.h"

namespace Zavuvi {

// The bones of one skeleton model of an inserted file, by bone name.
struct SkeletonData
{
    // The bone's actor; throws CException "No bone found: <name>" for a name
    // the skeleton does not have.
    const ZavuviActor& GetBone(const std::string& name) const;
    bool HasBone(const std::string& name) const { return m_Bones.count(name) != 0; }

    Vector3 GetBonePosition(const std::string& name) const;
    Matrix GetBoneOrientation(const std::string& name) const;
    // Sets the bone's world orientation, then its world position.
    void SetBonePose(const std::string& name, const Matrix& rotation, const Vector3& position);

    int m_Index = -1; // among the file's skeleton models
    std::map<std::string, std::shared_ptr<ZavuviActor>> m_Bones;
    // The file position of the bone that drives the skeleton.
    Vector3 m_RootPosition;
    std::shared_ptr<ZavuviActor> m_RootActor;
};

} // namespace Zavuvi
