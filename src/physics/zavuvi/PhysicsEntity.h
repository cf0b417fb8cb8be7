#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "physics/zavuvi/PhysicsRecords.h"

namespace Zavuvi {

// A physics-editor file read into memory: version 1.0 to 1.4, little-endian,
// read-only once loaded and shared by every object inserted from it.
class PhysicsEntity
{
public:
    // Empty, version 1.4.
    PhysicsEntity() = default;

    // Reads the file. Throws CException "Could not open file: <path>" when it
    // cannot be opened, and a CException naming the file and the byte offset
    // when it is cut short or holds a count, a length or an index that cannot
    // be right. The entity is left empty then.
    void Load(const std::string& path);
    // The same for bytes already in memory; `name` stands for the file in messages.
    void LoadFromMemory(const std::uint8_t* data, std::size_t size, const std::string& name);

    // The path it was read from, or the name given for bytes in memory.
    std::string m_FileName;
    float m_Version = kVersion14;
    std::vector<PhysicsActor> m_Actors;
    std::vector<PhysicsJoint> m_Joints;
    std::vector<PhysicsJointEx> m_JointsEx;
    std::vector<PhysicsModel> m_SkeletonModels;
    std::vector<PhysicsShape> m_FreeShapes;
    std::vector<PhysicsModel> m_FreeModels;
    std::vector<PhysicsLight> m_FreeLights;
};

} // namespace Zavuvi
