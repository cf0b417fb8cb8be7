#include "core/Quaternion.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/Helpers.h"

namespace sds {

namespace {

constexpr float kDegreesPerRadian = 57.29578f;

} // namespace

const CQuaternion CQuaternion::ZERO(0.0f, 0.0f, 0.0f, 0.0f);
const CQuaternion CQuaternion::IDENTITY(1.0f, 0.0f, 0.0f, 0.0f);

void CQuaternion::FromAngleAxis(float angleRadians, const CVector& axis)
{
    const float half = 0.5f * angleRadians;
    const float s = std::sin(half);
    w = std::cos(half);
    x = axis.x * s;
    y = axis.y * s;
    z = axis.z * s;
}

void CQuaternion::MultiplyQuaternion(const CQuaternion& q)
{
    *this = *this * q;
}

float CQuaternion::NormaliseQuaternion()
{
    const float s = Norm();
    if (!(s > 0.0f)) {
        *this = IDENTITY;
        return s;
    }
    const float inv = 1.0f / std::sqrt(s);
    w *= inv;
    x *= inv;
    y *= inv;
    z *= inv;
    return s;
}

CQuaternion CQuaternion::Inverse() const
{
    const float s = Norm();
    if (!(s > 0.0f))
        return ZERO;
    const float inv = 1.0f / s;
    return {w * inv, -x * inv, -y * inv, -z * inv};
}

float CQuaternion::GetRoll() const
{
    return std::atan2(2.0f * (x * y + w * z), w * w + x * x - y * y - z * z) * kDegreesPerRadian;
}

float CQuaternion::GetPitch() const
{
    return std::atan2(2.0f * (y * z + w * x), w * w - x * x - y * y + z * z) * kDegreesPerRadian;
}

float CQuaternion::GetYaw() const
{
    // Rounding can push the argument just past ±1 for an unnormalised input.
    const float s = std::clamp(-2.0f * (x * z - w * y), -1.0f, 1.0f);
    return std::asin(s) * kDegreesPerRadian;
}

std::string QuaternionToString(const CQuaternion& q)
{
    std::ostringstream out;
    out << q.w << "," << q.x << "," << q.y << "," << q.z;
    return out.str();
}

CQuaternion ParseQuaternionValue(const std::string& text)
{
    float values[4] = {1.0f, 0.0f, 0.0f, 0.0f};
    ReadSeparatedFloats(text, values, 4);
    return {values[0], values[1], values[2], values[3]};
}

CQuaternion GetRotationTo(const CVector& from, const CVector& to, const CVector& fallbackAxis)
{
    static const float kPi = 4.0f * std::atan(1.0f);

    CVector a = from;
    CVector b = to;
    a.Normalize();
    b.Normalize();
    const float d = a.Dot(b);
    if (d >= 1.0f)
        return CQuaternion::IDENTITY;

    if (d < 1e-6f - 1.0f) {
        CVector axis = fallbackAxis;
        if (!(fallbackAxis != CVector::ZERO)) {
            axis = CVector::UNIT_X.Cross(from);
            if (axis.Length() < 1e-12f)
                axis = CVector::UNIT_Y.Cross(from);
            axis.Normalize();
        }
        CQuaternion result;
        result.FromAngleAxis(kPi, axis);
        return result;
    }

    const float s = std::sqrt((1.0f + d) * 2.0f);
    const CVector c = a.Cross(b);
    CQuaternion result(s * 0.5f, c.x / s, c.y / s, c.z / s);
    result.NormaliseQuaternion();
    return result;
}

bool CFourFloats::ParseQuaternion(const std::string& text)
{
    return ReadSeparatedFloats(text, v, 4) == 4;
}

} // namespace sds
