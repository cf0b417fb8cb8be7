#include "core/Vector.h"

#include <cmath>
#include <limits>
#include <sstream>

#include "core/Helpers.h"

namespace sds {

namespace {
constexpr float kMax = std::numeric_limits<float>::max();
}

const CVector CVector::ZERO(0.0f, 0.0f, 0.0f);
const CVector CVector::UNIT_X(1.0f, 0.0f, 0.0f);
const CVector CVector::UNIT_Y(0.0f, 1.0f, 0.0f);
const CVector CVector::UNIT_Z(0.0f, 0.0f, 1.0f);
const CVector CVector::NEGATIVE_UNIT_X(-1.0f, 0.0f, 0.0f);
const CVector CVector::NEGATIVE_UNIT_Y(0.0f, -1.0f, 0.0f);
const CVector CVector::NEGATIVE_UNIT_Z(0.0f, 0.0f, -1.0f);
const CVector CVector::UNIT_SCALE(1.0f, 1.0f, 1.0f);
const CVector CVector::MAX_NEGATIVE(-kMax, -kMax, -kMax);
const CVector CVector::MAX_POSITIVE(kMax, kMax, kMax);

bool CVector::IsFinite() const { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

float CVector::Length() const
{
    return std::sqrt(x * x + y * y + z * z);
}

void CVector::Normalize()
{
    const float length = Length();
    if (length == 0.0f)
        return;
    x /= length;
    y /= length;
    z /= length;
}

bool CVector::ParseVector3(const std::string& text)
{
    float values[3] = {0.0f, 0.0f, 0.0f};
    const bool complete = ReadSeparatedFloats(text, values, 3) == 3;
    *this = CVector(values[0], values[1], values[2]);
    return complete;
}

std::string VectorToString(const CVector& v)
{
    std::ostringstream out;
    out << v.x << "," << v.y << "," << v.z;
    return out.str();
}

} // namespace sds

namespace xml {

sds::CVector ParseVector(const std::string& text)
{
    sds::CVector result;
    result.ParseVector3(text);
    return result;
}

} // namespace xml
