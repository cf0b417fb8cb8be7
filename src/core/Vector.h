#pragma once

#include <string>

namespace sds {

// Three floats x, y, z; lengths in metres, y up.
class CVector
{
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr CVector() = default;
    constexpr CVector(float ax, float ay, float az) : x(ax), y(ay), z(az) {}

    static const CVector ZERO;
    static const CVector UNIT_X;
    static const CVector UNIT_Y;
    static const CVector UNIT_Z;
    static const CVector NEGATIVE_UNIT_X;
    static const CVector NEGATIVE_UNIT_Y;
    static const CVector NEGATIVE_UNIT_Z;
    static const CVector UNIT_SCALE;
    static const CVector MAX_NEGATIVE;
    static const CVector MAX_POSITIVE;

    float Length() const;
    float Dot(const CVector& other) const { return x * other.x + y * other.y + z * other.z; }
    // Inline: the flight model and the line set call it many times a frame.
    CVector Cross(const CVector& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    // Divides by the length in place; a vector of length exactly 0 is left as it is.
    void Normalize();
    bool IsZero() const { return x == 0.0f && y == 0.0f && z == 0.0f; }
    // No component is infinite or NaN.
    bool IsFinite() const;

    // Reads three numbers separated by any one non-blank character; unread
    // components are 0. False when the text did not hold all three.
    bool ParseVector3(const std::string& text);

    CVector operator+(const CVector& o) const { return {x + o.x, y + o.y, z + o.z}; }
    CVector operator-(const CVector& o) const { return {x - o.x, y - o.y, z - o.z}; }
    CVector operator*(const CVector& o) const { return {x * o.x, y * o.y, z * o.z}; }
    CVector operator/(const CVector& o) const { return {x / o.x, y / o.y, z / o.z}; }
    CVector operator*(float s) const { return {x * s, y * s, z * s}; }
    CVector operator/(float s) const { return {x / s, y / s, z / s}; }
    CVector operator-() const { return {-x, -y, -z}; }
    CVector& operator+=(const CVector& o) { x += o.x; y += o.y; z += o.z; return *this; }
    CVector& operator-=(const CVector& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    CVector& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    bool operator==(const CVector& o) const { return x == o.x && y == o.y && z == o.z; }
    // Unordered components (a NaN on either side) count as unequal.
    bool operator!=(const CVector& o) const { return !(*this == o); }
};

inline CVector operator*(float s, const CVector& v) { return v * s; }

// "x,y,z" with six significant digits and no blanks.
std::string VectorToString(const CVector& v);

} // namespace sds

namespace xml {

// Three numbers separated by any one non-blank character; what cannot be read is 0.
sds::CVector ParseVector(const std::string& text);

} // namespace xml
