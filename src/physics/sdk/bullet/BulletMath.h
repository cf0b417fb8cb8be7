#pragma once

#include <cmath>
#include <string>

#include <LinearMath/btQuaternion.h>
#include <LinearMath/btTransform.h>
#include <LinearMath/btVector3.h>

#include "core/Quaternion.h"
#include "core/Vector.h"

// Conversions between the program's types and the engine's. Quaternions are
// (w, x, y, z) on the program's side and (x, y, z, w) on the engine's.
namespace physics::sdk {

inline btVector3 ToBt(const sds::CVector& v) { return btVector3(v.x, v.y, v.z); }
inline sds::CVector FromBt(const btVector3& v) { return {float(v.x()), float(v.y()), float(v.z())}; }
inline btQuaternion ToBt(const sds::CQuaternion& q) { return btQuaternion(q.x, q.y, q.z, q.w); }
inline sds::CQuaternion FromBt(const btQuaternion& q)
{
    return {float(q.w()), float(q.x()), float(q.y()), float(q.z())};
}
inline btTransform ToBt(const sds::CVector& position, const sds::CQuaternion& orientation)
{
    return btTransform(ToBt(orientation), ToBt(position));
}

inline bool IsFinite(float value) { return std::isfinite(value); }
inline bool IsFinite(const sds::CVector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
inline bool IsFinite(const sds::CQuaternion& q)
{
    return std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z);
}
// Finite and long enough to be normalised.
inline bool IsUsableRotation(const sds::CQuaternion& q) { return IsFinite(q) && q.Norm() > 1e-12f; }

inline std::string ToText(const sds::CVector& v) { return "(" + sds::VectorToString(v) + ")"; }
inline std::string ToText(const sds::CQuaternion& q) { return "(" + sds::QuaternionToString(q) + ")"; }
inline std::string ToText(float value) { return std::to_string(value); }

} // namespace physics::sdk
