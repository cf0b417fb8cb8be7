#pragma once

#include <string>

#include "core/Vector.h"

namespace sds {

// A rotation of four floats w, x, y, z; the identity is (1,0,0,0).
class CQuaternion
{
public:
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr CQuaternion() = default;
    constexpr CQuaternion(float aw, float ax, float ay, float az) : w(aw), x(ax), y(ay), z(az) {}

    static const CQuaternion ZERO;
    static const CQuaternion IDENTITY;

    // w = cos(angle/2), xyz = axis * sin(angle/2); the axis is used as given.
    void FromAngleAxis(float angleRadians, const CVector& axis);
    // this = this * q (Hamilton product).
    void MultiplyQuaternion(const CQuaternion& q);
    // Scales to unit length and returns the sum of squares as it was; a sum not
    // above 0 (or NaN) gives the identity.
    float NormaliseQuaternion();

    float Norm() const { return w * w + x * x + y * y + z * z; }
    // The inverse rotation; ZERO when the norm is not above 0.
    CQuaternion Inverse() const;
    // Euler angles in degrees.
    float GetRoll() const;
    float GetPitch() const;
    float GetYaw() const;

    CQuaternion operator+(const CQuaternion& q) const { return {w + q.w, x + q.x, y + q.y, z + q.z}; }
    CQuaternion operator-(const CQuaternion& q) const { return {w - q.w, x - q.x, y - q.y, z - q.z}; }
    // Inline, as the vector operations: the physics sync and the line set
    // turn and combine orientations many times a frame.
    CQuaternion operator*(const CQuaternion& q) const
    {
        return {w * q.w - x * q.x - y * q.y - z * q.z, w * q.x + x * q.w + y * q.z - z * q.y,
                w * q.y + y * q.w + z * q.x - x * q.z, w * q.z + z * q.w + x * q.y - y * q.x};
    }
    CQuaternion operator*(float s) const { return {w * s, x * s, y * s, z * s}; }
    // The vector rotated by this quaternion.
    CVector operator*(const CVector& v) const
    {
        const CVector axis(x, y, z);
        const CVector uv = axis.Cross(v);
        const CVector uuv = axis.Cross(uv);
        return v + uv * (2.0f * w) + uuv * 2.0f;
    }
    CQuaternion operator-() const { return {-w, -x, -y, -z}; }
    bool operator==(const CQuaternion& q) const { return w == q.w && x == q.x && y == q.y && z == q.z; }
    bool operator!=(const CQuaternion& q) const { return !(*this == q); }
};

// "w,x,y,z" with six significant digits and no blanks.
std::string QuaternionToString(const CQuaternion& q);

// Starts at the identity and reads w, x, y, z separated by any one non-blank
// character; parts the text lacks keep their identity values.
CQuaternion ParseQuaternionValue(const std::string& text);

// The shortest rotation turning direction `from` onto direction `to`. For opposite
// directions the half turn is about `fallbackAxis` unless that is ZERO.
CQuaternion GetRotationTo(const CVector& from, const CVector& to, const CVector& fallbackAxis = CVector::ZERO);

// Four floats kept in the order they stand in the text (a colour r, g, b, a).
struct CFourFloats
{
    float v[4] = {0.0f, 0.0f, 0.0f, 1.0f};

    // Reads four numbers separated by any one non-blank character; parts the
    // text lacks keep (0,0,0,1). False when the text did not hold all four.
    bool ParseQuaternion(const std::string& text);
};

} // namespace sds
