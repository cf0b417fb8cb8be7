#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Zavuvi {
class PhysicsEntity;
}

namespace phsgen {

// The bytes of a physics-editor file of `version` (1.0 to 1.4) holding the
// entity: the fields a version lacks are left out, so 1.0 and 1.1 files lose
// the names and 1.0 to 1.3 files the skeletons. The entity's own m_Version is
// not used. Throws std::invalid_argument for a name longer than its field.
std::vector<std::uint8_t> WritePhysicsFile(const Zavuvi::PhysicsEntity& entity, float version);

// Writes those bytes to a file; throws std::runtime_error when it cannot.
void SavePhysicsFile(const Zavuvi::PhysicsEntity& entity, float version, const std::string& path);

} // namespace phsgen
