#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <memory>

#include "core/Exception.h"
#include "core/Helpers.h"
#include "graphics/IJoint.h"

namespace sds {

typedef std::shared_ptr<IJoint> CJointPtr;

// The bones of a graphic object as joints, by handle (index i is handle i) and by name.
class ISkeleton
{
public:
    virtual ~ISkeleton() = default;

    void AddJoint(const CJointPtr& joint)
    {
        m_Joints.push_back(joint);
        m_JointsByName[joint->GetName()] = joint;
    }

    std::size_t GetNumJoints() const { return m_Joints.size(); }

    // An index past the end throws "Joint does not exist: " and the index.
    CJointPtr GetJoint(std::uint16_t index) const
    {
        if (index >= m_Joints.size())
            throw CException("Joint does not exist: " + ToString(static_cast<unsigned int>(index)));
        return m_Joints[index];
    }

    // An unknown name throws "Joint does not exist: " and the name.
    CJointPtr GetJoint(const std::string& name) const
    {
        const auto found = m_JointsByName.find(name);
        if (found == m_JointsByName.end())
            throw CException("Joint does not exist: " + name);
        return found->second;
    }

    bool HasJoint(const std::string& name) const { return m_JointsByName.count(name) != 0; }

    const std::vector<CJointPtr>& GetJoints() const { return m_Joints; }

private:
    std::vector<CJointPtr> m_Joints;
    std::map<std::string, CJointPtr> m_JointsByName;
};

typedef std::shared_ptr<ISkeleton> CSkeletonPtr;

} // namespace sds
